// The VESSEL operations (first cut: every operation present so modules link; filled in step by step).
#include "Orbitersdk.h"

VESSEL::VESSEL(OBJHANDLE hVessel, int fmodel) : vessel(static_cast<Vessel *>(hVessel)), flightmodel(static_cast<short>(fmodel)), version(0) {}
OBJHANDLE VESSEL::GetHandle() const { return {}; }
char * VESSEL::GetName() const { return {}; }
char * VESSEL::GetClassName() const { return {}; }
void VESSEL::SetEnableFocus(bool) const {}
double VESSEL::GetSize() const { return {}; }
void VESSEL::SetSize(double) const {}
double VESSEL::GetEmptyMass() const { return {}; }
void VESSEL::SetEmptyMass(double) const {}
double VESSEL::GetMass() const { return {}; }
void VESSEL::SetTouchdownPoints(const VECTOR3 &, const VECTOR3 &, const VECTOR3 &) const {}
void VESSEL::SetTouchdownPoints(const TOUCHDOWNVTX *, DWORD) const {}
void VESSEL::SetSurfaceFrictionCoeff(double, double) const {}
void VESSEL::GetPMI(VECTOR3 &) const {}
void VESSEL::SetPMI(const VECTOR3 &) const {}
void VESSEL::GetCrossSections(VECTOR3 &) const {}
void VESSEL::SetCrossSections(const VECTOR3 &) const {}
void VESSEL::GetCameraOffset(VECTOR3 &) const {}
void VESSEL::SetCameraOffset(const VECTOR3 &) const {}
void VESSEL::SetCW(double, double, double, double) const {}
void VESSEL::GetRotDrag(VECTOR3 &) const {}
void VESSEL::SetRotDrag(const VECTOR3 &) const {}
void VESSEL::SetPitchMomentScale(double) const {}
double VESSEL::GetPitchMomentScale() const { return {}; }
void VESSEL::SetYawMomentScale(double) const {}
double VESSEL::GetYawMomentScale() const { return {}; }
void VESSEL::SetBankMomentScale(double) const {}
void VESSEL::SetLiftCoeffFunc(LiftCoeffFunc) const {}
PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double, double, double) const { return {}; }
void VESSEL::DelPropellantResource(PROPELLANT_HANDLE &) const {}
void VESSEL::ClearPropellantResources() const {}
DWORD VESSEL::GetPropellantCount() const { return {}; }
PROPELLANT_HANDLE VESSEL::GetPropellantHandleByIndex(DWORD) const { return {}; }
double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE) const { return {}; }
void VESSEL::SetPropellantMaxMass(PROPELLANT_HANDLE, double) const {}
double VESSEL::GetPropellantMass(PROPELLANT_HANDLE) const { return {}; }
void VESSEL::SetPropellantMass(PROPELLANT_HANDLE, double) const {}
double VESSEL::GetPropellantEfficiency(PROPELLANT_HANDLE) const { return {}; }
double VESSEL::GetPropellantFlowrate(PROPELLANT_HANDLE) const { return {}; }
double VESSEL::GetTotalPropellantMass() const { return {}; }
double VESSEL::GetFuelMass() const { return {}; }
double VESSEL::GetMaxFuelMass() const { return {}; }
void VESSEL::SetDefaultPropellantResource(PROPELLANT_HANDLE) const {}
void VESSEL::SetISP(double) const {}
double VESSEL::GetISP() const { return {}; }
THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3 &, const VECTOR3 &, double, PROPELLANT_HANDLE, double, double, double) const { return {}; }
bool VESSEL::DelThruster(THRUSTER_HANDLE &) const { return {}; }
void VESSEL::ClearThrusterDefinitions() const {}
DWORD VESSEL::GetThrusterCount() const { return {}; }
THRUSTER_HANDLE VESSEL::GetThrusterHandleByIndex(DWORD) const { return {}; }
PROPELLANT_HANDLE VESSEL::GetThrusterResource(THRUSTER_HANDLE) const { return {}; }
void VESSEL::SetThrusterResource(THRUSTER_HANDLE, PROPELLANT_HANDLE) const {}
void VESSEL::GetThrusterRef(THRUSTER_HANDLE, VECTOR3 &) const {}
void VESSEL::SetThrusterRef(THRUSTER_HANDLE, const VECTOR3 &) const {}
void VESSEL::GetThrusterDir(THRUSTER_HANDLE, VECTOR3 &) const {}
void VESSEL::SetThrusterDir(THRUSTER_HANDLE, const VECTOR3 &) const {}
double VESSEL::GetThrusterMax0(THRUSTER_HANDLE) const { return {}; }
void VESSEL::SetThrusterMax0(THRUSTER_HANDLE, double) const {}
double VESSEL::GetThrusterMax(THRUSTER_HANDLE) const { return {}; }
double VESSEL::GetThrusterIsp0(THRUSTER_HANDLE) const { return {}; }
double VESSEL::GetThrusterIsp(THRUSTER_HANDLE) const { return {}; }
void VESSEL::SetThrusterIsp(THRUSTER_HANDLE, double, double, double) const {}
double VESSEL::GetThrusterLevel(THRUSTER_HANDLE) const { return {}; }
void VESSEL::SetThrusterLevel(THRUSTER_HANDLE, double) const {}
void VESSEL::IncThrusterLevel(THRUSTER_HANDLE, double) const {}
void VESSEL::SetThrusterLevel_SingleStep(THRUSTER_HANDLE, double) const {}
void VESSEL::GetThrusterMoment(THRUSTER_HANDLE, VECTOR3 &, VECTOR3 &) const {}
THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE *, int, THGROUP_TYPE) const { return {}; }
bool VESSEL::DelThrusterGroup(THGROUP_HANDLE &, THGROUP_TYPE, bool) const { return {}; }
bool VESSEL::DelThrusterGroup(THGROUP_TYPE, bool) const { return {}; }
THGROUP_HANDLE VESSEL::GetThrusterGroupHandle(THGROUP_TYPE) const { return {}; }
THGROUP_HANDLE VESSEL::GetUserThrusterGroupHandleByIndex(DWORD) const { return {}; }
DWORD VESSEL::GetGroupThrusterCount(THGROUP_HANDLE) const { return {}; }
DWORD VESSEL::GetGroupThrusterCount(THGROUP_TYPE) const { return {}; }
THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_HANDLE, DWORD) const { return {}; }
THRUSTER_HANDLE VESSEL::GetGroupThruster(THGROUP_TYPE, DWORD) const { return {}; }
void VESSEL::SetThrusterGroupLevel(THGROUP_HANDLE, double) const {}
void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE, double) const {}
void VESSEL::IncThrusterGroupLevel(THGROUP_HANDLE, double) const {}
void VESSEL::IncThrusterGroupLevel(THGROUP_TYPE, double) const {}
double VESSEL::GetThrusterGroupLevel(THGROUP_HANDLE) const { return {}; }
double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE) const { return {}; }
double VESSEL::GetEngineLevel(ENGINETYPE) const { return {}; }
void VESSEL::SetEngineLevel(ENGINETYPE, double) const {}
void VESSEL::SetAttitudeRotLevel(const VECTOR3 &) const {}
void VESSEL::SetAttitudeLinLevel(const VECTOR3 &) const {}
UINT VESSEL::AddExhaust(THRUSTER_HANDLE, double, double, SURFHANDLE) const { return {}; }
UINT VESSEL::AddExhaust(THRUSTER_HANDLE, double, double, double, SURFHANDLE) const { return {}; }
UINT VESSEL::AddExhaust(THRUSTER_HANDLE, double, double, const VECTOR3 &, const VECTOR3 &, SURFHANDLE) const { return {}; }
UINT VESSEL::AddExhaust(EXHAUSTSPEC *) const { return {}; }
bool VESSEL::DelExhaust(UINT) const { return {}; }
DWORD VESSEL::GetExhaustCount() const { return {}; }
PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE, PARTICLESTREAMSPEC *) const { return {}; }
PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE, const VECTOR3 &, PARTICLESTREAMSPEC *) const { return {}; }
PSTREAM_HANDLE VESSEL::AddParticleStream(PARTICLESTREAMSPEC *, const VECTOR3 &, const VECTOR3 &, double *) const { return {}; }
bool VESSEL::DelExhaustStream(PSTREAM_HANDLE) const { return {}; }
void VESSEL::AddForce(const VECTOR3 &, const VECTOR3 &) const {}
double VESSEL::GetAltitude() const { return {}; }
double VESSEL::GetAltitude(AltitudeMode, int *) { return {}; }
double VESSEL::GetAirspeed() const { return {}; }
double VESSEL::GetGroundspeed() const { return {}; }
bool VESSEL::GetAirspeedVector(REFFRAME, VECTOR3 &) const { return {}; }
bool VESSEL::GetHorizonAirspeedVector(VECTOR3 &) const { return {}; }
bool VESSEL::GetShipAirspeedVector(VECTOR3 &) const { return {}; }
double VESSEL::GetDynPressure() const { return {}; }
double VESSEL::GetMachNumber() const { return {}; }
double VESSEL::GetAtmTemperature() const { return {}; }
double VESSEL::GetAtmDensity() const { return {}; }
double VESSEL::GetAtmPressure() const { return {}; }
double VESSEL::GetBank() const { return {}; }
double VESSEL::GetPitch() const { return {}; }
double VESSEL::GetYaw() const { return {}; }
double VESSEL::GetAOA() const { return {}; }
double VESSEL::GetSlipAngle() const { return {}; }
bool VESSEL::GroundContact() const { return {}; }
DWORD VESSEL::GetFlightStatus() const { return {}; }
OBJHANDLE VESSEL::GetEquPos(double &, double &, double &) const { return {}; }
OBJHANDLE VESSEL::GetSurfaceRef() const { return {}; }
OBJHANDLE VESSEL::GetGravityRef() const { return {}; }
void VESSEL::GetGlobalPos(VECTOR3 &) const {}
void VESSEL::GetGlobalVel(VECTOR3 &) const {}
void VESSEL::GetRelativePos(OBJHANDLE, VECTOR3 &) const {}
void VESSEL::GetRelativeVel(OBJHANDLE, VECTOR3 &) const {}
void VESSEL::GetAngularVel(VECTOR3 &) const {}
void VESSEL::SetAngularVel(const VECTOR3 &) const {}
void VESSEL::GetGlobalOrientation(VECTOR3 &) const {}
void VESSEL::SetGlobalOrientation(const VECTOR3 &) const {}
void VESSEL::GetRotationMatrix(MATRIX3 &) const {}
void VESSEL::SetRotationMatrix(const MATRIX3 &) const {}
void VESSEL::GetForceVector(VECTOR3 &) const {}
void VESSEL::GetThrustVector(VECTOR3 &) const {}
void VESSEL::GetTorqueVector(VECTOR3 &) const {}
void VESSEL::Local2Global(const VECTOR3 &, VECTOR3 &) const {}
void VESSEL::Global2Local(const VECTOR3 &, VECTOR3 &) const {}
void VESSEL::Local2Rel(const VECTOR3 &, VECTOR3 &) const {}
void VESSEL::HorizonRot(const VECTOR3 &, VECTOR3 &) const {}
void VESSEL::HorizonInvRot(const VECTOR3 &, VECTOR3 &) const {}
void VESSEL::GetStatus(VESSELSTATUS &) const {}
void VESSEL::GetStatusEx(void *) const {}
void VESSEL::DefSetState(const VESSELSTATUS *) const {}
void VESSEL::DefSetStateEx(const void *) const {}
void VESSEL::ParseScenarioLine(char *, VESSELSTATUS *) const {}
void VESSEL::ParseScenarioLineEx(char *, void *) const {}
void VESSEL::SaveDefaultState(FILEHANDLE) const {}
UINT VESSEL::AddMesh(const char *, const VECTOR3 *) const { return {}; }
UINT VESSEL::AddMesh(MESHHANDLE, const VECTOR3 *) const { return {}; }
UINT VESSEL::InsertMesh(const char *, UINT, const VECTOR3 *) const { return {}; }
bool VESSEL::DelMesh(UINT, bool) const { return {}; }
void VESSEL::ClearMeshes() const {}
UINT VESSEL::GetMeshCount() const { return {}; }
void VESSEL::SetMeshVisibilityMode(UINT, WORD) const {}
WORD VESSEL::GetMeshVisibilityMode(UINT) const { return {}; }
// The vessel interface: class VESSEL (the host's operations on one vessel) and class VESSEL2 (the callbacks a
// vessel module overrides). Names, types, parameter order and the VESSEL2 slot order are the simulator's own;
// never reorder or insert VESSEL2 virtuals, modules depend on the table layout.
#pragma once

#include "OrbiterAPI.h"

class Vessel; // the host's own vessel object

typedef struct {
    VECTOR3 pos;      // touchdown point, vessel frame [m]
    double stiffness; // suspension stiffness [N/m]
    double damping;   // suspension damping [N s/m]
    double mu;        // lateral friction coefficient
    double mu_lng;    // longitudinal friction coefficient (first three points only)
} TOUCHDOWNVTX;

#define FRAME_ECL 0
#define FRAME_EQU 1

class OAPIFUNC VESSEL {
public:
    VESSEL(OBJHANDLE hVessel, int fmodel = 1);

    int Version() const { return version; }
    int GetFlightModel() const;

    // Identity
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers" // the simulator declares these handles const
    const OBJHANDLE GetHandle() const;
#pragma GCC diagnostic pop
    char* GetName() const;
    char* GetClassName() const;
    void SetEnableFocus(bool enable) const;

    // Physical properties
    double GetSize() const;
    void SetSize(double size) const;
    double GetEmptyMass() const;
    void SetEmptyMass(double m) const;
    double GetMass() const;
    void SetTouchdownPoints(const VECTOR3& pt1, const VECTOR3& pt2, const VECTOR3& pt3) const;
    void SetTouchdownPoints(const TOUCHDOWNVTX* tdvtx, DWORD ntdvtx) const;
    void SetSurfaceFrictionCoeff(double mu_lng, double mu_lat) const;
    void GetPMI(VECTOR3& pmi) const;
    void SetPMI(const VECTOR3& pmi) const;
    void GetCrossSections(VECTOR3& cs) const;
    void SetCrossSections(const VECTOR3& cs) const;
    void GetCameraOffset(VECTOR3& co) const;
    void SetCameraOffset(const VECTOR3& co) const;

    // Legacy aerodynamics (vessels without airfoils)
    void SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const;
    void GetRotDrag(VECTOR3& rd) const;
    void SetRotDrag(const VECTOR3& rd) const;
    void SetPitchMomentScale(double scale) const;
    double GetPitchMomentScale() const;
    void SetYawMomentScale(double scale) const;
    double GetYawMomentScale() const;
    void SetBankMomentScale(double scale) const; // obsolete: sets the yaw moment scale
    void SetLiftCoeffFunc(LiftCoeffFunc lcf) const;

    // Propellant resources
    PROPELLANT_HANDLE CreatePropellantResource(double maxmass, double mass = -1.0,
                                               double efficiency = 1.0) const;
    void DelPropellantResource(PROPELLANT_HANDLE& ph) const;
    void ClearPropellantResources() const;
    DWORD GetPropellantCount() const;
    PROPELLANT_HANDLE GetPropellantHandleByIndex(DWORD idx) const;
    double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;
    void SetPropellantMaxMass(PROPELLANT_HANDLE ph, double maxmass) const;
    double GetPropellantMass(PROPELLANT_HANDLE ph) const;
    void SetPropellantMass(PROPELLANT_HANDLE ph, double mass) const;
    double GetPropellantEfficiency(PROPELLANT_HANDLE ph) const;
    double GetPropellantFlowrate(PROPELLANT_HANDLE ph) const;
    double GetTotalPropellantMass() const;
    double GetFuelMass() const;
    double GetMaxFuelMass() const;
    void SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const;
    void SetISP(double isp) const;
    double GetISP() const;

    // Thrusters and thruster groups
    THRUSTER_HANDLE CreateThruster(const VECTOR3& pos, const VECTOR3& dir, double maxth0,
                                   PROPELLANT_HANDLE hp = NULL, double isp0 = 0.0, double isp_ref = 0.0,
                                   double p_ref = 101.4e3) const;
    bool DelThruster(THRUSTER_HANDLE& th) const;
    void ClearThrusterDefinitions() const;
    DWORD GetThrusterCount() const;
    THRUSTER_HANDLE GetThrusterHandleByIndex(DWORD idx) const;
    PROPELLANT_HANDLE GetThrusterResource(THRUSTER_HANDLE th) const;
    void SetThrusterResource(THRUSTER_HANDLE th, PROPELLANT_HANDLE ph) const;
    void GetThrusterRef(THRUSTER_HANDLE th, VECTOR3& pos) const;
    void SetThrusterRef(THRUSTER_HANDLE th, const VECTOR3& pos) const;
    void GetThrusterDir(THRUSTER_HANDLE th, VECTOR3& dir) const;
    void SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3& dir) const;
    double GetThrusterMax0(THRUSTER_HANDLE th) const;
    void SetThrusterMax0(THRUSTER_HANDLE th, double maxth0) const;
    double GetThrusterMax(THRUSTER_HANDLE th) const;
    double GetThrusterMax(THRUSTER_HANDLE th, double p_ref) const;
    double GetThrusterIsp0(THRUSTER_HANDLE th) const;
    double GetThrusterIsp(THRUSTER_HANDLE th) const;
    double GetThrusterIsp(THRUSTER_HANDLE th, double p_ref) const;
    void SetThrusterIsp(THRUSTER_HANDLE th, double isp) const; // the same Isp at every pressure
    void SetThrusterIsp(THRUSTER_HANDLE th, double isp0, double isp_ref, double p_ref = 101.4e3) const;
    double GetThrusterLevel(THRUSTER_HANDLE th) const;
    void SetThrusterLevel(THRUSTER_HANDLE th, double level) const;
    void IncThrusterLevel(THRUSTER_HANDLE th, double dlevel) const;
    void SetThrusterLevel_SingleStep(THRUSTER_HANDLE th, double level) const;
    void GetThrusterMoment(THRUSTER_HANDLE th, VECTOR3& F, VECTOR3& T) const;
    THGROUP_HANDLE CreateThrusterGroup(THRUSTER_HANDLE* th, int nth, THGROUP_TYPE thgt) const;
    bool DelThrusterGroup(THGROUP_HANDLE& thg, THGROUP_TYPE thgt, bool delth = false) const;
    bool DelThrusterGroup(THGROUP_HANDLE thg, bool delth = false) const;
    bool DelThrusterGroup(THGROUP_TYPE thgt, bool delth = false) const;
    THGROUP_HANDLE GetThrusterGroupHandle(THGROUP_TYPE thgt) const;
    THGROUP_HANDLE GetUserThrusterGroupHandleByIndex(DWORD idx) const;
    DWORD GetGroupThrusterCount(THGROUP_HANDLE thg) const;
    DWORD GetGroupThrusterCount(THGROUP_TYPE thgt) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_HANDLE thg, DWORD idx) const;
    THRUSTER_HANDLE GetGroupThruster(THGROUP_TYPE thgt, DWORD idx) const;
    void SetThrusterGroupLevel(THGROUP_HANDLE thg, double level) const;
    void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;
    void IncThrusterGroupLevel(THGROUP_HANDLE thg, double dlevel) const;
    void IncThrusterGroupLevel(THGROUP_TYPE thgt, double dlevel) const;
    double GetThrusterGroupLevel(THGROUP_HANDLE thg) const;
    double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
    double GetEngineLevel(ENGINETYPE eng) const;             // obsolete
    void SetEngineLevel(ENGINETYPE eng, double level) const; // obsolete
    void SetAttitudeRotLevel(const VECTOR3& th) const;
    void SetAttitudeRotLevel(int axis, double th) const;
    void SetAttitudeLinLevel(const VECTOR3& th) const;
    void SetAttitudeLinLevel(int axis, double th) const;

    // Exhaust flames and particle streams (recorded, not drawn)
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE tex = 0) const;
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, double lofs, SURFHANDLE tex = 0) const;
    UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3& pos, const VECTOR3& dir,
                    SURFHANDLE tex = 0) const;
    UINT AddExhaust(EXHAUSTSPEC* spec);
    bool DelExhaust(UINT idx) const;
    DWORD GetExhaustCount() const;
    PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC* pss = 0) const;
    PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3& pos,
                                    PARTICLESTREAMSPEC* pss = 0) const;
    PSTREAM_HANDLE AddParticleStream(PARTICLESTREAMSPEC* pss, const VECTOR3& pos, const VECTOR3& dir,
                                     double* lvl) const;
    bool DelExhaustStream(PSTREAM_HANDLE ch) const;

    // Forces
    void AddForce(const VECTOR3& F, const VECTOR3& r) const;

    // Flight state
    double GetAltitude() const;
    double GetAltitude(AltitudeMode mode, int* reslvl = 0);
    double GetAirspeed() const;
    double GetGroundspeed() const;
    bool GetAirspeedVector(REFFRAME frame, VECTOR3& v) const;
    bool GetHorizonAirspeedVector(VECTOR3& v) const; // obsolete
    bool GetShipAirspeedVector(VECTOR3& v) const;    // obsolete
    double GetDynPressure() const;
    double GetMachNumber() const;
    double GetAtmTemperature() const;
    double GetAtmDensity() const;
    double GetAtmPressure() const;
    double GetBank() const;
    double GetPitch() const;
    double GetYaw() const; // the heading, as oapiGetHeading gives it
    double GetAOA() const;
    double GetSlipAngle() const;
    bool GroundContact() const;
    DWORD GetFlightStatus() const; // bit 0 landed, bit 1 docked
    OBJHANDLE GetEquPos(double& longitude, double& latitude, double& radius) const;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
    const OBJHANDLE GetSurfaceRef() const;
    const OBJHANDLE GetGravityRef() const;
#pragma GCC diagnostic pop
    void GetGlobalPos(VECTOR3& pos) const;
    void GetGlobalVel(VECTOR3& vel) const;
    void GetRelativePos(OBJHANDLE hRef, VECTOR3& pos) const;
    void GetRelativeVel(OBJHANDLE hRef, VECTOR3& vel) const;
    void GetAngularVel(VECTOR3& avel) const;
    void SetAngularVel(const VECTOR3& avel) const;
    void GetGlobalOrientation(VECTOR3& arot) const;
    void SetGlobalOrientation(const VECTOR3& arot) const;
    void GetRotationMatrix(MATRIX3& R) const;
    void SetRotationMatrix(const MATRIX3& R) const;
    bool GetForceVector(VECTOR3& F) const;
    bool GetThrustVector(VECTOR3& T) const;
    bool GetTorqueVector(VECTOR3& M) const;
    void Local2Global(const VECTOR3& local, VECTOR3& global) const;
    void Global2Local(const VECTOR3& global, VECTOR3& local) const;
    void Local2Rel(const VECTOR3& local, VECTOR3& rel) const;
    void HorizonRot(const VECTOR3& loc, VECTOR3& hor) const;
    void HorizonInvRot(const VECTOR3& hor, VECTOR3& loc) const;

    // State records and the default scenario lines
    void GetStatus(VESSELSTATUS& status) const;
    void GetStatusEx(void* status) const; // caller sets ->version = 2 and the VS_*LIST flags
    void DefSetState(const VESSELSTATUS* status) const;
    void DefSetStateEx(const void* status) const;
    void ParseScenarioLine(char* line, VESSELSTATUS* status) const; // obsolete
    void ParseScenarioLineEx(char* line, void* status) const;
    void SaveDefaultState(FILEHANDLE scn) const; // obsolete: writes the host's default lines

    // Meshes (recorded, not drawn)
    UINT AddMesh(const char* meshname, const VECTOR3* ofs = 0) const;
    UINT AddMesh(MESHHANDLE hMesh, const VECTOR3* ofs = 0) const;
    UINT InsertMesh(const char* meshname, UINT idx, const VECTOR3* ofs = 0) const;
    UINT InsertMesh(MESHHANDLE hMesh, UINT idx, const VECTOR3* ofs = 0) const;
    bool DelMesh(UINT idx, bool retain_anim = false) const;
    void ClearMeshes() const;
    void ClearMeshes(bool retain_anim) const;
    UINT GetMeshCount() const;
    void SetMeshVisibilityMode(UINT idx, WORD mode) const;
    WORD GetMeshVisibilityMode(UINT idx) const;

protected:
    Vessel* vessel;
    short flightmodel;
    short version;
};

class OAPIFUNC VESSEL2 : public VESSEL {
public:
    VESSEL2(OBJHANDLE hVessel, int fmodel = 1);

    virtual void clbkSetClassCaps(FILEHANDLE cfg);
    virtual void clbkSaveState(FILEHANDLE scn);
    virtual void clbkLoadStateEx(FILEHANDLE scn, void* status);
    virtual void clbkSetStateEx(const void* status);
    virtual void clbkPostCreation();
    virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel);
    virtual void clbkPreStep(double simt, double simdt, double mjd);
    virtual void clbkPostStep(double simt, double simdt, double mjd);
    virtual bool clbkPlaybackEvent(double simt, double event_t, const char* event_type, const char* event);
    virtual void clbkVisualCreated(VISHANDLE vis, int refcount);
    virtual void clbkVisualDestroyed(VISHANDLE vis, int refcount);
    virtual void clbkDrawHUD(int mode, const HUDPAINTSPEC* hps, HDC hDC);
    virtual void clbkRCSMode(int mode);
    virtual void clbkADCtrlMode(DWORD mode);
    virtual void clbkHUDMode(int mode);
    virtual void clbkMFDMode(int mfd, int mode);
    virtual void clbkNavMode(int mode, bool active);
    virtual void clbkDockEvent(int dock, OBJHANDLE mate);
    virtual void clbkAnimate(double simt);
    virtual int clbkConsumeDirectKey(char* kstate);
    virtual int clbkConsumeBufferedKey(DWORD key, bool down, char* kstate);
    virtual bool clbkLoadGenericCockpit();
    virtual bool clbkLoadPanel(int id);
    virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my);
    virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf);
    virtual bool clbkLoadVC(int id);
    virtual bool clbkVCMouseEvent(int id, int event, VECTOR3& p);
    virtual bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf);
};

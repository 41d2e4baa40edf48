// The oapi* functions (first cut).
#include "Orbitersdk.h"

double oapiGetSimTime() { return {}; }
double oapiGetSimStep() { return {}; }
double oapiGetSimMJD() { return {}; }
double oapiGetSysTime() { return {}; }
OBJHANDLE oapiGetObjectByName(const char *) { return {}; }
OBJHANDLE oapiGetGbodyByName(const char *) { return {}; }
DWORD oapiGetGbodyCount() { return {}; }
OBJHANDLE oapiGetGbodyByIndex(int) { return {}; }
double oapiGetSize(OBJHANDLE) { return {}; }
double oapiGetMass(OBJHANDLE) { return {}; }
void oapiGetGlobalPos(OBJHANDLE, VECTOR3 *) {}
void oapiGetGlobalVel(OBJHANDLE, VECTOR3 *) {}
void oapiGetRelativePos(OBJHANDLE, OBJHANDLE, VECTOR3 *) {}
void oapiGetRelativeVel(OBJHANDLE, OBJHANDLE, VECTOR3 *) {}
double oapiGetPlanetPeriod(OBJHANDLE) { return {}; }
OBJHANDLE oapiCreateVessel(const char *, const char *, const VESSELSTATUS &) { return {}; }
OBJHANDLE oapiCreateVesselEx(const char *, const char *, const void *) { return {}; }
bool oapiDeleteVessel(OBJHANDLE, OBJHANDLE) { return {}; }
VESSEL * oapiGetVesselInterface(OBJHANDLE) { return {}; }
DWORD oapiGetVesselCount() { return {}; }
OBJHANDLE oapiGetVesselByIndex(int) { return {}; }
OBJHANDLE oapiGetVesselByName(const char *) { return {}; }
bool oapiIsVessel(OBJHANDLE) { return {}; }
OBJHANDLE oapiGetFocusObject() { return {}; }
OBJHANDLE oapiSetFocusObject(OBJHANDLE) { return {}; }
VESSEL * oapiGetFocusInterface() { return {}; }
BOOL oapiGetHeading(OBJHANDLE, double *) { return {}; }
BOOL oapiGetPitch(OBJHANDLE, double *) { return {}; }
BOOL oapiGetBank(OBJHANDLE, double *) { return {}; }
BOOL oapiGetEquPos(OBJHANDLE, double *, double *, double *) { return {}; }
BOOL oapiGetAltitude(OBJHANDLE, double *) { return {}; }
BOOL oapiGetAltitude(OBJHANDLE, AltitudeMode, double *) { return {}; }
BOOL oapiGetAirspeed(OBJHANDLE, double *) { return {}; }
BOOL oapiGetAirspeedVector(OBJHANDLE, REFFRAME, VECTOR3 *) { return {}; }
BOOL oapiGetAtm(OBJHANDLE, ATMPARAM *) { return {}; }
char * oapiDebugString() { return {}; }
void oapiDebugString(const char *) {}
MESHHANDLE oapiLoadMeshGlobal(const char *) { return {}; }
MESHHANDLE oapiLoadMeshGlobal(const char *, LoadMeshClbkFunc) { return {}; }
MESHHANDLE oapiLoadMesh(const char *) { return {}; }
void oapiDeleteMesh(MESHHANDLE) {}
SURFHANDLE oapiRegisterExhaustTexture(const char *) { return {}; }
SURFHANDLE oapiRegisterParticleTexture(const char *) { return {}; }
FILEHANDLE oapiOpenFile(const char *, FileAccessMode, PathRoot) { return {}; }
void oapiCloseFile(FILEHANDLE, FileAccessMode) {}
bool oapiReadScenario_nextline(FILEHANDLE, char *&) { return {}; }
void oapiWriteScenario_string(FILEHANDLE, const char *, const char *) {}
void oapiWriteScenario_int(FILEHANDLE, const char *, int) {}
void oapiWriteScenario_float(FILEHANDLE, const char *, double) {}
void oapiWriteScenario_vec(FILEHANDLE, const char *, const VECTOR3 &) {}
void oapiWriteLine(FILEHANDLE, const char *) {}
bool oapiReadItem_string(FILEHANDLE, const char *, char *) { return {}; }
bool oapiReadItem_float(FILEHANDLE, const char *, double &) { return {}; }
bool oapiReadItem_int(FILEHANDLE, const char *, int &) { return {}; }
bool oapiReadItem_bool(FILEHANDLE, const char *, bool &) { return {}; }
bool oapiReadItem_vec(FILEHANDLE, const char *, VECTOR3 &) { return {}; }
void oapiWriteItem_string(FILEHANDLE, const char *, const char *) {}
void oapiWriteItem_float(FILEHANDLE, const char *, double) {}
void oapiWriteItem_int(FILEHANDLE, const char *, int) {}
void oapiWriteItem_bool(FILEHANDLE, const char *, bool) {}
void oapiWriteItem_vec(FILEHANDLE, const char *, const VECTOR3 &) {}
void oapiWriteLog(const char *) {}
int oapiGetOrbiterVersion() { return {}; }
int oapiGetModuleVersion() { return {}; }
int Date2Int(const char *) { return {}; }
void InitLib(HINSTANCE) {}
void ExitLib(HINSTANCE) {}
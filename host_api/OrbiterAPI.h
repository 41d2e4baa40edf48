// The simulator's general programming interface: platform types, handles, vectors and matrices, constants,
// enumerations, state records, the oapi* functions and the keyboard codes. Declared with the simulator's own
// names, types, const-ness, overloads and defaults (texts a module passes in are `char*`, as there), so that
// a vessel module compiles unchanged against either header set. Only what the modules and the host's tests
// use.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

// ---------------------------------------------------------------------------------------------------------
// Platform types the interface uses (Windows names; DWORD is 32 bits as on Windows)
#ifndef _WIN32
typedef std::uint32_t DWORD;
typedef std::uint16_t WORD;
typedef std::uint8_t BYTE;
typedef unsigned int UINT;
typedef int BOOL;
typedef std::int32_t LONG;
typedef void* HINSTANCE;
typedef void* HMODULE;
typedef void* HWND;
typedef void* HDC;
typedef void* HFONT;
typedef void* HBITMAP;
typedef struct tagRECT {
    LONG left, top, right, bottom;
} RECT;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#endif

// ---------------------------------------------------------------------------------------------------------
// Export macros
#ifdef _WIN32
#define DLLEXPORT __declspec(dllexport)
#define DLLIMPORT __declspec(dllimport)
#else
#define DLLEXPORT __attribute__((visibility("default")))
#define DLLIMPORT
#endif
#define DLLCLBK extern "C" DLLEXPORT
#ifdef OAPI_IMPLEMENTATION
#define OAPIFUNC DLLEXPORT
#else
#define OAPIFUNC DLLIMPORT
#endif

// ---------------------------------------------------------------------------------------------------------
// Constants
const double PI = 3.14159265358979323846;
const double PI05 = 1.57079632679489661923;
const double PI2 = 6.28318530717958647693;
const double RAD = PI / 180.0;
const double DEG = 180.0 / PI;
const double C0 = 299792458.0;
const double TAUA = 499.004783806;
const double AU = C0 * TAUA;
const double GGRAV = 6.67259e-11;
const double G = 9.81;
const double ATMP = 101.4e3;
const double ATMD = 1.293;

// ---------------------------------------------------------------------------------------------------------
// Handles
typedef void* OBJHANDLE;
typedef void* VISHANDLE;
typedef void* MESHHANDLE;
typedef void* SURFHANDLE;
typedef void* PANELHANDLE;
typedef void* FILEHANDLE;
typedef void* THRUSTER_HANDLE;
typedef void* THGROUP_HANDLE;
typedef void* PROPELLANT_HANDLE;
typedef void* PSTREAM_HANDLE;
typedef void* DOCKHANDLE;
typedef void* ATTACHMENTHANDLE;
typedef void* AIRFOILHANDLE;
typedef void* CTRLSURFHANDLE;
typedef void* NAVHANDLE;
typedef void* BEACONHANDLE;

// ---------------------------------------------------------------------------------------------------------
// Vectors and matrices
typedef union {
    double data[3];
    struct {
        double x, y, z;
    };
} VECTOR3;

typedef union { // row-major
    double data[9];
    struct {
        double m11, m12, m13, m21, m22, m23, m31, m32, m33;
    };
} MATRIX3;

typedef union {
    double data[4];
    struct {
        double x, y, z, w;
    };
} VECTOR4;

typedef union { // row-major
    double data[16];
    struct {
        double m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44;
    };
} MATRIX4;

inline VECTOR3 _V(double x, double y, double z) {
    VECTOR3 vec = {{x, y, z}};
    return vec;
}
inline void veccpy(VECTOR3& a, const VECTOR3& b) {
    a = b;
}
inline VECTOR3 operator+(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.x + b.x, a.y + b.y, a.z + b.z);
}
inline VECTOR3 operator-(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline VECTOR3 operator*(const VECTOR3& a, const double f) {
    return _V(a.x * f, a.y * f, a.z * f);
}
inline VECTOR3 operator/(const VECTOR3& a, const double f) {
    return _V(a.x / f, a.y / f, a.z / f);
}
inline VECTOR3 operator-(const VECTOR3& a) {
    return _V(-a.x, -a.y, -a.z);
}
inline VECTOR3& operator+=(VECTOR3& a, const VECTOR3& b) {
    a.x += b.x, a.y += b.y, a.z += b.z;
    return a;
}
inline VECTOR3& operator-=(VECTOR3& a, const VECTOR3& b) {
    a.x -= b.x, a.y -= b.y, a.z -= b.z;
    return a;
}
inline VECTOR3& operator*=(VECTOR3& a, const double f) {
    a.x *= f, a.y *= f, a.z *= f;
    return a;
}
inline VECTOR3& operator/=(VECTOR3& a, const double f) {
    a.x /= f, a.y /= f, a.z /= f;
    return a;
}
inline double dotp(const VECTOR3& a, const VECTOR3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline VECTOR3 crossp(const VECTOR3& a, const VECTOR3& b) {
    return _V(a.y * b.z - b.y * a.z, a.z * b.x - b.z * a.x, a.x * b.y - b.x * a.y);
}
inline double length(const VECTOR3& a) {
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}
inline double length2(const VECTOR3& a) {
    return a.x * a.x + a.y * a.y + a.z * a.z;
}
inline double dist(const VECTOR3& a, const VECTOR3& b) {
    return length(a - b);
}
inline void normalise(VECTOR3& a) {
    a /= length(a);
}
inline VECTOR3 unit(const VECTOR3& a) {
    return a / length(a);
}

inline MATRIX3 _M(double m11, double m12, double m13, double m21, double m22, double m23, double m31,
                  double m32, double m33) {
    MATRIX3 mat = {{m11, m12, m13, m21, m22, m23, m31, m32, m33}};
    return mat;
}
inline MATRIX3 identity() {
    return _M(1, 0, 0, 0, 1, 0, 0, 0, 1);
}
inline MATRIX3 outerp(const VECTOR3& a, const VECTOR3& b) {
    return _M(a.x * b.x, a.x * b.y, a.x * b.z, a.y * b.x, a.y * b.y, a.y * b.z, a.z * b.x, a.z * b.y,
              a.z * b.z);
}
inline VECTOR3 mul(const MATRIX3& A, const VECTOR3& b) {
    return _V(A.m11 * b.x + A.m12 * b.y + A.m13 * b.z, A.m21 * b.x + A.m22 * b.y + A.m23 * b.z,
              A.m31 * b.x + A.m32 * b.y + A.m33 * b.z);
}
inline VECTOR3 tmul(const MATRIX3& A, const VECTOR3& b) {
    return _V(A.m11 * b.x + A.m21 * b.y + A.m31 * b.z, A.m12 * b.x + A.m22 * b.y + A.m32 * b.z,
              A.m13 * b.x + A.m23 * b.y + A.m33 * b.z);
}
inline MATRIX3 mul(const MATRIX3& A, const MATRIX3& B) {
    return _M(A.m11 * B.m11 + A.m12 * B.m21 + A.m13 * B.m31, A.m11 * B.m12 + A.m12 * B.m22 + A.m13 * B.m32,
              A.m11 * B.m13 + A.m12 * B.m23 + A.m13 * B.m33, A.m21 * B.m11 + A.m22 * B.m21 + A.m23 * B.m31,
              A.m21 * B.m12 + A.m22 * B.m22 + A.m23 * B.m32, A.m21 * B.m13 + A.m22 * B.m23 + A.m23 * B.m33,
              A.m31 * B.m11 + A.m32 * B.m21 + A.m33 * B.m31, A.m31 * B.m12 + A.m32 * B.m22 + A.m33 * B.m32,
              A.m31 * B.m13 + A.m32 * B.m23 + A.m33 * B.m33);
}
inline MATRIX3 transp(const MATRIX3& M) {
    return _M(M.m11, M.m21, M.m31, M.m12, M.m22, M.m32, M.m13, M.m23, M.m33);
}
inline MATRIX3 rotm(const VECTOR3& axis, double angle) { // rotation by angle about a unit axis
    double c = std::cos(angle), s = std::sin(angle);
    double t = 1 - c, x = axis.x, y = axis.y, z = axis.z;
    return _M(t * x * x + c, t * x * y - z * s, t * x * z + y * s, t * x * y + z * s, t * y * y + c,
              t * y * z - x * s, t * x * z - y * s, t * y * z + x * s, t * z * z + c);
}
// A matrix and a scalar, element by element.
inline MATRIX3 operator+(const MATRIX3& A, double s) {
    MATRIX3 M;
    for (int i = 0; i < 9; i++)
        M.data[i] = A.data[i] + s;
    return M;
}
inline MATRIX3 operator-(const MATRIX3& A, double s) {
    return A + -s;
}
inline MATRIX3 operator*(const MATRIX3& A, double s) {
    MATRIX3 M;
    for (int i = 0; i < 9; i++)
        M.data[i] = A.data[i] * s;
    return M;
}
inline MATRIX3 operator/(const MATRIX3& A, double s) {
    MATRIX3 M;
    for (int i = 0; i < 9; i++)
        M.data[i] = A.data[i] / s;
    return M;
}
inline MATRIX3& operator*=(MATRIX3& A, double s) {
    return A = A * s;
}
inline MATRIX3& operator/=(MATRIX3& A, double s) {
    return A = A / s;
}

// Homogeneous 4-vectors and 4x4 matrices (row-major).
inline VECTOR4 _V(double x, double y, double z, double w) {
    VECTOR4 vec = {{x, y, z, w}};
    return vec;
}
inline VECTOR4 _V(const VECTOR3& v) {
    return _V(v.x, v.y, v.z, 1.0);
}
inline MATRIX4 _M(double m11, double m12, double m13, double m14, double m21, double m22, double m23,
                  double m24, double m31, double m32, double m33, double m34, double m41, double m42,
                  double m43, double m44) {
    MATRIX4 mat = {{m11, m12, m13, m14, m21, m22, m23, m24, m31, m32, m33, m34, m41, m42, m43, m44}};
    return mat;
}
inline MATRIX4 identity4() {
    return _M(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}
inline VECTOR4 mul(const MATRIX4& A, const VECTOR4& b) {
    VECTOR4 r;
    for (int i = 0; i < 4; i++)
        r.data[i] =
            A.data[4 * i] * b.x + A.data[4 * i + 1] * b.y + A.data[4 * i + 2] * b.z + A.data[4 * i + 3] * b.w;
    return r;
}
inline VECTOR4 mul(const VECTOR4& b, const MATRIX4& A) {
    VECTOR4 r;
    for (int j = 0; j < 4; j++)
        r.data[j] = b.x * A.data[j] + b.y * A.data[4 + j] + b.z * A.data[8 + j] + b.w * A.data[12 + j];
    return r;
}
inline MATRIX4 mul(const MATRIX4& A, const MATRIX4& B) {
    MATRIX4 M;
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) {
            double sum = 0;
            for (int k = 0; k < 4; k++)
                sum += A.data[4 * i + k] * B.data[4 * k + j];
            M.data[4 * i + j] = sum;
        }
    return M;
}

// ---------------------------------------------------------------------------------------------------------
// Enumerations and flags
enum THGROUP_TYPE {
    THGROUP_MAIN,
    THGROUP_RETRO,
    THGROUP_HOVER,
    THGROUP_ATT_PITCHUP,
    THGROUP_ATT_PITCHDOWN,
    THGROUP_ATT_YAWLEFT,
    THGROUP_ATT_YAWRIGHT,
    THGROUP_ATT_BANKLEFT,
    THGROUP_ATT_BANKRIGHT,
    THGROUP_ATT_RIGHT,
    THGROUP_ATT_LEFT,
    THGROUP_ATT_UP,
    THGROUP_ATT_DOWN,
    THGROUP_ATT_FORWARD,
    THGROUP_ATT_BACK,
    THGROUP_USER = 0x40,
    THGROUP_USER_LAST = 0xFF
};

typedef enum { ENGINE_MAIN, ENGINE_RETRO, ENGINE_HOVER, ENGINE_ATTITUDE } ENGINETYPE;
typedef enum { EXHAUST_MAIN, EXHAUST_RETRO, EXHAUST_HOVER, EXHAUST_CUSTOM } EXHAUSTTYPE;
typedef enum { FRAME_GLOBAL, FRAME_LOCAL, FRAME_REFLOCAL, FRAME_HORIZON } REFFRAME;
enum AltitudeMode { ALTMODE_MEANRAD, ALTMODE_GROUND };
typedef enum { LIFT_VERTICAL, LIFT_HORIZONTAL, FORCE_AND_MOMENT } AIRFOIL_ORIENTATION;
typedef double (*LiftCoeffFunc)(double aoa);
typedef void (*LoadMeshClbkFunc)(MESHHANDLE hMesh, bool firstload);

typedef enum { FILE_IN, FILE_OUT, FILE_APP, FILE_IN_ZEROONFAIL } FileAccessMode;
typedef enum { ROOT, CONFIG, SCENARIOS, TEXTURES, TEXTURES2, MESHES, MODULES } PathRoot;

#define MESHVIS_NEVER 0x00
#define MESHVIS_EXTERNAL 0x01
#define MESHVIS_COCKPIT 0x02
#define MESHVIS_ALWAYS 0x03
#define MESHVIS_VC 0x04
#define MESHVIS_EXTPASS 0x10

#define VS_FUELRESET 0x01
#define VS_FUELLIST 0x02
#define VS_THRUSTRESET 0x04
#define VS_THRUSTLIST 0x08
#define VS_DOCKINFOLIST 0x10

#define EXHAUST_CONSTANTLEVEL 0x0001
#define EXHAUST_CONSTANTPOS 0x0002
#define EXHAUST_CONSTANTDIR 0x0004

// ---------------------------------------------------------------------------------------------------------
// State records and particle-stream settings
typedef struct {
    VECTOR3 rpos;    // position relative to rbody, global ecliptic axes [m]
    VECTOR3 rvel;    // velocity relative to rbody, global ecliptic axes [m/s]
    VECTOR3 vrot;    // angular velocity, vessel frame [rad/s]; landed: vrot.x = CoG height
    VECTOR3 arot;    // Euler angles [rad]; landed: against the rotating planet frame
    double fuel;     // 0..1
    double eng_main; // -1..1 (negative = retro)
    double eng_hovr; // 0..1
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status;        // 0 free flight, 1 landed
    VECTOR3 vdata[10]; // landed: vdata[0] = (longitude, latitude, heading) [rad]
    double fdata[10];
    DWORD flag[10];
} VESSELSTATUS;

typedef struct {
    DWORD version; // must be 2
    DWORD flag;    // VS_* bits
    OBJHANDLE rbody;
    OBJHANDLE base;
    int port;
    int status; // 0 free flight, 1 landed
    VECTOR3 rpos;
    VECTOR3 rvel;
    VECTOR3 vrot;
    VECTOR3 arot;
    double surf_lng;
    double surf_lat;
    double surf_hdg;
    DWORD nfuel;
    struct FUELSPEC {
        DWORD idx;
        double level;
    } * fuel;
    DWORD nthruster;
    struct THRUSTSPEC {
        DWORD idx;
        double level;
    } * thruster;
    DWORD ndockinfo;
    struct DOCKINFOSPEC {
        DWORD idx;
        DWORD ridx;
        OBJHANDLE rvessel;
    } * dockinfo;
    DWORD xpdr;
} VESSELSTATUS2;

typedef struct {
    DWORD flags;
    double srcsize;
    double srcrate;
    double v0;
    double srcspread;
    double lifetime;
    double growthrate;
    double atmslowdown;
    enum LTYPE { EMISSIVE, DIFFUSE } ltype;
    enum LEVELMAP { LVL_FLAT, LVL_LIN, LVL_SQRT, LVL_PLIN, LVL_PSQRT } levelmap;
    double lmin, lmax;
    enum ATMSMAP { ATM_FLAT, ATM_PLIN, ATM_PLOG } atmsmap;
    double amin, amax;
    SURFHANDLE tex;
} PARTICLESTREAMSPEC;

typedef struct {
    THRUSTER_HANDLE th;
    double* level;
    VECTOR3* lpos;
    VECTOR3* ldir;
    double lsize, wsize;
    double lofs;
    double modulate;
    SURFHANDLE tex;
    DWORD flags;
    UINT id;
} EXHAUSTSPEC;

typedef struct {
    double T;
    double p;
    double rho;
} ATMPARAM;

typedef struct {
    double p0, rho0, R, gamma, C, O2pp, altlimit, radlimit, horizonalt;
    VECTOR3 color0;
} ATMCONST;

typedef struct {
    int W, H;
    int CX, CY;
    double Scale;
    int Markersize;
} HUDPAINTSPEC;

class VESSEL;

// ---------------------------------------------------------------------------------------------------------
// Time
OAPIFUNC double oapiGetSimTime();
OAPIFUNC double oapiGetSimStep();
OAPIFUNC double oapiGetSimMJD();
OAPIFUNC double oapiGetSysTime();

// Objects
OAPIFUNC OBJHANDLE oapiGetObjectByName(char* name);
OAPIFUNC OBJHANDLE oapiGetGbodyByName(char* name);
OAPIFUNC DWORD oapiGetGbodyCount();
OAPIFUNC OBJHANDLE oapiGetGbodyByIndex(int index);
OAPIFUNC double oapiGetSize(OBJHANDLE hObj);
OAPIFUNC double oapiGetMass(OBJHANDLE hObj);
OAPIFUNC void oapiGetGlobalPos(OBJHANDLE hObj, VECTOR3* pos);
OAPIFUNC void oapiGetGlobalVel(OBJHANDLE hObj, VECTOR3* vel);
OAPIFUNC void oapiGetRelativePos(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3* pos);
OAPIFUNC void oapiGetRelativeVel(OBJHANDLE hObj, OBJHANDLE hRef, VECTOR3* vel);
OAPIFUNC double oapiGetPlanetPeriod(OBJHANDLE hPlanet);
OAPIFUNC void oapiGetPlanetAtmParams(OBJHANDLE hPlanet, double rad,
                                     ATMPARAM* prm); // at a distance from the centre

// Vessels: creation, lookup, focus
OAPIFUNC OBJHANDLE oapiCreateVessel(const char* name, const char* classname, const VESSELSTATUS& status);
OAPIFUNC OBJHANDLE oapiCreateVesselEx(const char* name, const char* classname, const void* status);
OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget = 0);
OAPIFUNC VESSEL* oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC DWORD oapiGetVesselCount();
OAPIFUNC OBJHANDLE oapiGetVesselByIndex(int index);
OAPIFUNC OBJHANDLE oapiGetVesselByName(char* name);
OAPIFUNC bool oapiIsVessel(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetFocusObject();
OAPIFUNC OBJHANDLE oapiSetFocusObject(OBJHANDLE hVessel); // previous focus, NULL if unchanged
OAPIFUNC VESSEL* oapiGetFocusInterface();

// Attitude and position relative to the planet
OAPIFUNC BOOL oapiGetHeading(OBJHANDLE hVessel, double* heading); // 0 = north, pi/2 = east
OAPIFUNC BOOL oapiGetPitch(OBJHANDLE hVessel, double* pitch);
OAPIFUNC BOOL oapiGetBank(OBJHANDLE hVessel, double* bank);
OAPIFUNC BOOL oapiGetEquPos(OBJHANDLE hVessel, double* longitude, double* latitude, double* radius);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, double* alt);
OAPIFUNC BOOL oapiGetAltitude(OBJHANDLE hVessel, AltitudeMode mode, double* alt);
OAPIFUNC BOOL oapiGetAirspeed(OBJHANDLE hVessel, double* airspeed);
OAPIFUNC bool oapiGetAirspeedVector(OBJHANDLE hVessel, REFFRAME frame, VECTOR3* v);
OAPIFUNC BOOL oapiGetAirspeedVector(OBJHANDLE hVessel, VECTOR3* speedvec); // obsolete: horizon frame
OAPIFUNC void oapiGetAtm(OBJHANDLE hVessel, ATMPARAM* prm, OBJHANDLE* hAtmRef = 0);

// Debug output, meshes, textures
OAPIFUNC char* oapiDebugString(); // the core's char[256] on-screen line
OAPIFUNC void oapiDebugString(const char*);
OAPIFUNC MESHHANDLE oapiLoadMesh(const char* fname);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers" // the simulator declares these handles const
OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname);
OAPIFUNC const MESHHANDLE oapiLoadMeshGlobal(const char* fname, LoadMeshClbkFunc fClbk);
#pragma GCC diagnostic pop
OAPIFUNC void oapiDeleteMesh(MESHHANDLE hMesh);
OAPIFUNC SURFHANDLE oapiRegisterExhaustTexture(char* name);
OAPIFUNC SURFHANDLE oapiRegisterParticleTexture(char* name);

// Scenario and configuration files. Texts a module passes in are char*, as the simulator declares them.
OAPIFUNC FILEHANDLE oapiOpenFile(const char* fname, FileAccessMode mode, PathRoot root = ROOT);
OAPIFUNC void oapiCloseFile(FILEHANDLE file, FileAccessMode mode);
OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line);
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string);
OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i);
OAPIFUNC void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d);
OAPIFUNC void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& vec);
OAPIFUNC void oapiWriteLine(FILEHANDLE file, char* line);
OAPIFUNC bool oapiReadItem_string(FILEHANDLE f, char* item, char* string);
OAPIFUNC bool oapiReadItem_float(FILEHANDLE f, char* item, double& d);
OAPIFUNC bool oapiReadItem_int(FILEHANDLE f, char* item, int& i);
OAPIFUNC bool oapiReadItem_bool(FILEHANDLE f, char* item, bool& b);
OAPIFUNC bool oapiReadItem_vec(FILEHANDLE f, char* item, VECTOR3& vec);
OAPIFUNC void oapiWriteItem_string(FILEHANDLE f, char* item, char* string);
OAPIFUNC void oapiWriteItem_float(FILEHANDLE f, char* item, double d);
OAPIFUNC void oapiWriteItem_int(FILEHANDLE f, char* item, int i);
OAPIFUNC void oapiWriteItem_bool(FILEHANDLE f, char* item, bool b);
OAPIFUNC void oapiWriteItem_vec(FILEHANDLE f, char* item, const VECTOR3& vec);
OAPIFUNC void oapiWriteLog(char* line);

// Versions. oapiGetModuleVersion, like the module's exported GetModuleVersion and dummy, comes from the
// module library that every module links (the module's build glue), not from the host.
OAPIFUNC int oapiGetOrbiterVersion();
int oapiGetModuleVersion();

#ifdef ORBITER_MODULE
void dummy();
void calldummy() {
    dummy();
}
DLLCLBK char* ModuleDate() {
    return (char*)__DATE__;
}
#endif

// ---------------------------------------------------------------------------------------------------------
// Keyboard: DirectInput scan codes, index into the 256-byte key-state buffer (bit 7 = held)
#define OAPI_KEY_ESCAPE 0x01
#define OAPI_KEY_1 0x02
#define OAPI_KEY_2 0x03
#define OAPI_KEY_3 0x04
#define OAPI_KEY_4 0x05
#define OAPI_KEY_5 0x06
#define OAPI_KEY_6 0x07
#define OAPI_KEY_7 0x08
#define OAPI_KEY_8 0x09
#define OAPI_KEY_9 0x0A
#define OAPI_KEY_0 0x0B
#define OAPI_KEY_MINUS 0x0C
#define OAPI_KEY_EQUALS 0x0D
#define OAPI_KEY_BACK 0x0E
#define OAPI_KEY_TAB 0x0F
#define OAPI_KEY_Q 0x10
#define OAPI_KEY_W 0x11
#define OAPI_KEY_E 0x12
#define OAPI_KEY_R 0x13
#define OAPI_KEY_T 0x14
#define OAPI_KEY_Y 0x15
#define OAPI_KEY_U 0x16
#define OAPI_KEY_I 0x17
#define OAPI_KEY_O 0x18
#define OAPI_KEY_P 0x19
#define OAPI_KEY_LBRACKET 0x1A
#define OAPI_KEY_RBRACKET 0x1B
#define OAPI_KEY_RETURN 0x1C
#define OAPI_KEY_LCONTROL 0x1D
#define OAPI_KEY_A 0x1E
#define OAPI_KEY_S 0x1F
#define OAPI_KEY_D 0x20
#define OAPI_KEY_F 0x21
#define OAPI_KEY_G 0x22
#define OAPI_KEY_H 0x23
#define OAPI_KEY_J 0x24
#define OAPI_KEY_K 0x25
#define OAPI_KEY_L 0x26
#define OAPI_KEY_SEMICOLON 0x27
#define OAPI_KEY_APOSTROPHE 0x28
#define OAPI_KEY_GRAVE 0x29
#define OAPI_KEY_LSHIFT 0x2A
#define OAPI_KEY_BACKSLASH 0x2B
#define OAPI_KEY_Z 0x2C
#define OAPI_KEY_X 0x2D
#define OAPI_KEY_C 0x2E
#define OAPI_KEY_V 0x2F
#define OAPI_KEY_B 0x30
#define OAPI_KEY_N 0x31
#define OAPI_KEY_M 0x32
#define OAPI_KEY_COMMA 0x33
#define OAPI_KEY_PERIOD 0x34
#define OAPI_KEY_SLASH 0x35
#define OAPI_KEY_RSHIFT 0x36
#define OAPI_KEY_MULTIPLY 0x37
#define OAPI_KEY_LALT 0x38
#define OAPI_KEY_SPACE 0x39
#define OAPI_KEY_CAPITAL 0x3A
#define OAPI_KEY_F1 0x3B
#define OAPI_KEY_F2 0x3C
#define OAPI_KEY_F3 0x3D
#define OAPI_KEY_F4 0x3E
#define OAPI_KEY_F5 0x3F
#define OAPI_KEY_F6 0x40
#define OAPI_KEY_F7 0x41
#define OAPI_KEY_F8 0x42
#define OAPI_KEY_F9 0x43
#define OAPI_KEY_F10 0x44
#define OAPI_KEY_NUMLOCK 0x45
#define OAPI_KEY_SCROLL 0x46
#define OAPI_KEY_NUMPAD7 0x47
#define OAPI_KEY_NUMPAD8 0x48
#define OAPI_KEY_NUMPAD9 0x49
#define OAPI_KEY_SUBTRACT 0x4A
#define OAPI_KEY_NUMPAD4 0x4B
#define OAPI_KEY_NUMPAD5 0x4C
#define OAPI_KEY_NUMPAD6 0x4D
#define OAPI_KEY_ADD 0x4E
#define OAPI_KEY_NUMPAD1 0x4F
#define OAPI_KEY_NUMPAD2 0x50
#define OAPI_KEY_NUMPAD3 0x51
#define OAPI_KEY_NUMPAD0 0x52
#define OAPI_KEY_DECIMAL 0x53
#define OAPI_KEY_OEM_102 0x56
#define OAPI_KEY_F11 0x57
#define OAPI_KEY_F12 0x58
#define OAPI_KEY_NUMPADENTER 0x9C
#define OAPI_KEY_RCONTROL 0x9D
#define OAPI_KEY_DIVIDE 0xB5
#define OAPI_KEY_SYSRQ 0xB7
#define OAPI_KEY_RALT 0xB8
#define OAPI_KEY_PAUSE 0xC5
#define OAPI_KEY_HOME 0xC7
#define OAPI_KEY_UP 0xC8
#define OAPI_KEY_PRIOR 0xC9
#define OAPI_KEY_LEFT 0xCB
#define OAPI_KEY_RIGHT 0xCD
#define OAPI_KEY_END 0xCF
#define OAPI_KEY_DOWN 0xD0
#define OAPI_KEY_NEXT 0xD1
#define OAPI_KEY_INSERT 0xD2
#define OAPI_KEY_DELETE 0xD3

#define KEYDOWN(buf, key) (buf[key] & 0x80)
#define RESETKEY(buf, key) (buf[key] = 0)
#define KEYMOD_LSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_LSHIFT))
#define KEYMOD_RSHIFT(buf) (KEYDOWN(buf, OAPI_KEY_RSHIFT))
#define KEYMOD_SHIFT(buf) (KEYMOD_LSHIFT(buf) || KEYMOD_RSHIFT(buf))
#define KEYMOD_LCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_LCONTROL))
#define KEYMOD_RCONTROL(buf) (KEYDOWN(buf, OAPI_KEY_RCONTROL))
#define KEYMOD_CONTROL(buf) (KEYMOD_LCONTROL(buf) || KEYMOD_RCONTROL(buf))
#define KEYMOD_LALT(buf) (KEYDOWN(buf, OAPI_KEY_LALT))
#define KEYMOD_RALT(buf) (KEYDOWN(buf, OAPI_KEY_RALT))
#define KEYMOD_ALT(buf) (KEYMOD_LALT(buf) || KEYMOD_RALT(buf))

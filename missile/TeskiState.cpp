// The missile's scenario block: its keys written after the host's own lines, and read back in any order.
#include "MissileScenarioKeys.h"
#include "ScenarioLines.h"
#include "ScenarioText.h"
#include "Teski.h"

#include <cstdio>

namespace {

// STATEFLAGS bits.
enum : int {
    FlagCountdownRunning = 4,
    FlagLaunched = 8,
    FlagRealistic = 16,
    FlagIgnitionCommanded = 32,
    FlagEngineBurning = 64,
    FlagContrailActive = 128,
    FlagAutopilot = 512,
    FlagFailureArmed = 1024,
    FlagHeadingFixed = 2048,
    FlagBankFixed = 4096,
    FlagPitchFixed = 8192,
};

void WriteFixed13(FILEHANDLE scn, const char* key, const double* values, int n) {
    char text[3 * 400];
    std::size_t used = 0;
    for (int i = 0; i < n; ++i) {
        if (i > 0) text[used++] = ' ';
        FormatFixed(values[i], 13, text + used, sizeof text - used);
        while (text[used])
            ++used;
    }
    text[used] = '\0';
    WriteScenarioString(scn, key, text);
}

void WriteSeparator(FILEHANDLE scn) {
    WriteScenarioString(scn, "------", "");
}

VECTOR3 Vec(double a, double b, double c) {
    return _V(a, b, c);
}

} // namespace

void Teski::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    WriteSeparator(scn);
    WriteScenarioFloat(scn, "RANGE", range);
    WriteScenarioFloat(scn, "LAUNCHDELAY", launchDelay);
    WriteFixed13(scn, "LATITUDE_TARGET", &targetLatitude, 1);
    WriteFixed13(scn, "LONGITUDE_TARGET", &targetLongitude, 1);
    WriteScenarioString(scn, "TARGET", targetName);
    WriteSeparator(scn);
    const int flags = (countdownRunning ? FlagCountdownRunning : 0) | (launched ? FlagLaunched : 0) |
                      (realistic ? FlagRealistic : 0) | (ignitionCommanded ? FlagIgnitionCommanded : 0) |
                      (engineBurning ? FlagEngineBurning : 0) | (contrailActive ? FlagContrailActive : 0) |
                      (autopilot ? FlagAutopilot : 0) | (failureArmed ? FlagFailureArmed : 0) |
                      (headingFixed ? FlagHeadingFixed : 0) | (bankFixed ? FlagBankFixed : 0) |
                      (pitchFixed ? FlagPitchFixed : 0);
    WriteScenarioInt(scn, "STATEFLAGS", flags);
    WriteScenarioFloat(scn, "RELIABILITY", reliability);
    if (precise) WriteScenarioInt(scn, "PRECISE", 1); // absent for the missile as it always flew
    if (!launched) return;

    const double pos0[3] = {launchLongitude, launchLatitude, launchRadius};
    WriteFixed13(scn, "POS0", pos0, 3);
    WriteScenarioFloat(scn, "HEADING_IDEAL", headingIdeal);
    WriteScenarioFloat(scn, "HEADING_REALISTIC", headingRealistic);
    WriteScenarioVec(scn, "RVEL0", launchVelocity);
    WriteScenarioVec(scn, "COSS", launchAttitudeCos);
    WriteScenarioVec(scn, "SINS", launchAttitudeSin);
    WriteScenarioFloat(scn, "MET_MECO", metMeco);
    WriteScenarioFloat(scn, "MET", met);
    WriteScenarioFloat(scn, "MAX_ALTITUDE", maxAltitude);
    // Only when known: a flight loaded from a block saved before missiles kept the date saves as it read.
    if (launchMJD != 0.0) {
        char date[FixedNumberRoom];
        FormatFixed(launchMJD, 10, date, sizeof date); // under a millisecond, as the wreck writes it
        WriteScenarioString(scn, "MJD_LAUNCH", date);
    }
    WriteSeparator(scn);
    WriteScenarioVec(scn, "FAILDOUBLES", Vec(failTime, failPressure, failValue));
    WriteScenarioVec(scn, "CONTROLSFIXED", Vec(fixedHeading, fixedBank, fixedPitch));
    WriteScenarioString(scn, "FAILSTRING", failString);
    WriteScenarioInt(scn, "FAILIDX1", failIdx1);
    WriteScenarioInt(scn, "FAILIDX2", failIdx2);
    WriteScenarioInt(scn, "FAILTYPE", failType);
    WriteSeparator(scn);
    WriteScenarioFloat(scn, "MET_GPS", nextTrackTime);
    const int count = trackCount < 0 ? 0 : (trackCount > MaxTrackPoints ? MaxTrackPoints : trackCount);
    for (int i = 0; i < count; ++i) {
        char line[4 * 400];
        FormatTrackPoint(i, trackLongitude[i], trackLatitude[i], trackAltitude[i], trackPhase[i], line,
                         sizeof line);
        WriteScenarioString(scn, "TRACK", line);
    }
}

void Teski::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    int stateFlags = -1;
    bool readRealistic = false, readAutopilot = false, readReliability = false;
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
        if (!line) continue;
        const KeyMatch m = MatchMissileKey(line);
        const char* v = m.value;
        int i = 0;
        double d[3];
        switch (m.key) {
        case MissileKey::None:
            ParseScenarioLineEx(line, status);
            break;
        case MissileKey::Separator:
            break;
        case MissileKey::RANGE:
            ReadReal(v, range);
            break;
        case MissileKey::LAUNCHDELAY:
            ReadReal(v, launchDelay);
            break;
        case MissileKey::REALISTIC:
            if (ReadInt(v, i)) {
                realistic = i != 0;
                readRealistic = true;
            }
            break;
        case MissileKey::PRECISE:
            if (ReadInt(v, i)) precise = i != 0;
            break;
        case MissileKey::AUTOPILOT:
            if (ReadInt(v, i)) {
                autopilot = i != 0;
                readAutopilot = true;
            }
            break;
        case MissileKey::LATITUDE_TARGET:
            ReadReal(v, targetLatitude);
            break;
        case MissileKey::LONGITUDE_TARGET:
            ReadReal(v, targetLongitude);
            break;
        case MissileKey::TARGET:
            ReadName(v, targetName, sizeof targetName);
            break;
        case MissileKey::RELIABILITY:
            if (ReadReal(v, reliability)) {
                if (reliability < 0) reliability = 0;
                if (reliability > 100) reliability = 100;
                readReliability = true;
            }
            break;
        case MissileKey::STATEFLAGS:
            ReadInt(v, stateFlags);
            break;
        case MissileKey::POS0:
            if (ReadReals(v, d, 3) && Within(d, 2, MaxRadians) && Within(d + 2, 1, MaxMetres)) {
                launchLongitude = d[0];
                launchLatitude = d[1];
                launchRadius = d[2];
            }
            break;
        case MissileKey::HEADING_IDEAL:
            ReadReal(v, headingIdeal);
            break;
        case MissileKey::HEADING_REALISTIC:
            ReadReal(v, headingRealistic);
            break;
        case MissileKey::RVEL0:
            ReadReals(v, launchVelocity.data, 3);
            break;
        case MissileKey::COSS:
            ReadReals(v, launchAttitudeCos.data, 3);
            break;
        case MissileKey::SINS:
            ReadReals(v, launchAttitudeSin.data, 3);
            break;
        case MissileKey::MET_MECO:
            ReadReal(v, metMeco);
            break;
        case MissileKey::MET:
            ReadReal(v, met);
            break;
        case MissileKey::MAX_ALTITUDE:
            ReadReal(v, maxAltitude);
            break;
        case MissileKey::MJD_LAUNCH:
            ReadReal(v, launchMJD);
            break;
        case MissileKey::FAILDOUBLES:
            if (ReadReals(v, d, 3)) {
                failTime = d[0];
                failPressure = d[1];
                failValue = d[2];
            }
            break;
        case MissileKey::CONTROLSFIXED:
            if (ReadReals(v, d, 3)) {
                fixedHeading = d[0];
                fixedBank = d[1];
                fixedPitch = d[2];
            }
            break;
        case MissileKey::FAILSTRING:
            if (!ReadRest(v, failString, sizeof failString)) failString[0] = '\0';
            break;
        case MissileKey::FAILIDX1:
            ReadInt(v, failIdx1);
            break;
        case MissileKey::FAILIDX2:
            ReadInt(v, failIdx2);
            break;
        case MissileKey::FAILTYPE:
            ReadInt(v, failType);
            break;
        case MissileKey::MET_GPS:
            ReadReal(v, nextTrackTime);
            break;
        case MissileKey::TRACK: {
            int index = -1, phase = 0;
            if (ReadTrackPoint(v, index, d[0], d[1], d[2], phase) && index >= 0 && index < MaxTrackPoints &&
                Within(d, 2, MaxRadians) && Within(d + 2, 1, MaxMetres)) {
                trackLongitude[index] = d[0];
                trackLatitude[index] = d[1];
                trackAltitude[index] = d[2];
                trackPhase[index] = phase;
                trackCount = index + 1;
            }
            break;
        }
        }
    }

    if (stateFlags >= 0) {
        countdownRunning = stateFlags & FlagCountdownRunning;
        launched = stateFlags & FlagLaunched;
        ignitionCommanded = stateFlags & FlagIgnitionCommanded;
        engineBurning = stateFlags & FlagEngineBurning;
        failureArmed = stateFlags & FlagFailureArmed;
        headingFixed = stateFlags & FlagHeadingFixed;
        bankFixed = stateFlags & FlagBankFixed;
        pitchFixed = stateFlags & FlagPitchFixed;
        if (!readAutopilot) autopilot = stateFlags & FlagAutopilot;
        if (!readRealistic) realistic = stateFlags & FlagRealistic;
        // The contrail flag is not taken over: the next powered step re-creates the stream if it is due.
    }

    if (realistic) {
        SetupRealisticControls();
        ComputeBurnTime();
        SetupRealisticAero();
    } else {
        SetupSimpleControls();
        SetupSimpleAero();
        if (!readReliability) reliability = 100;
    }

    // A precise missile loaded in flight aims again from its launch record.
    if (precise && launched) AimPrecise();

    if (targetName[0] == '\0') {
        const char* name = GetName();
        std::snprintf(targetName, sizeof targetName, "%s-Target", name ? name : "");
    }

    // A missing mesh file leaves the missile without a visual; it flies all the same.
    if (const MESHHANDLE mesh = oapiLoadMeshGlobal("NGTeskR")) {
        const VECTOR3 origin = _V(0, 0, 0);
        SetMeshVisibilityMode(AddMesh(mesh, &origin), MESHVIS_ALWAYS);
    }
}

// The missile's scenario block: its keys written after the host's own lines, and read back in any order.
#include "MissileBlockKeys.h"
#include "ScenarioLines.h"
#include "ScenarioText.h"
#include "Teski.h"

#include <array>
#include <cstdio>
#include <span>

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
    WriteScenarioString(scn, MissileSeparator, "");
}

// Where the missile keeps the value of each of its keys (MissileBlockKeys.h says how it is written).
struct Field {
    MissileKey key;
    double Teski::*number = nullptr;           // Number, Fixed, Date
    bool Teski::*flag = nullptr;               // Flag
    std::int32_t Teski::*integer = nullptr;    // Integer
    VECTOR3 Teski::*vector = nullptr;          // Vector kept as one vector
    std::array<double Teski::*, 3> parts{};    // Position, or Vector kept as three numbers
    std::span<char> (*text)(Teski&) = nullptr; // Name, Text
};

const Field Fields[] = {
    {.key = MissileKey::RANGE, .number = &Teski::range},
    {.key = MissileKey::LAUNCHDELAY, .number = &Teski::launchDelay},
    {.key = MissileKey::REALISTIC, .flag = &Teski::realistic},
    {.key = MissileKey::LATITUDE_TARGET, .number = &Teski::targetLatitude},
    {.key = MissileKey::LONGITUDE_TARGET, .number = &Teski::targetLongitude},
    {.key = MissileKey::TARGET, .text = [](Teski& t) { return std::span<char>(t.targetName); }},
    {.key = MissileKey::AUTOPILOT, .flag = &Teski::autopilot},
    {.key = MissileKey::STATEFLAGS},
    {.key = MissileKey::RELIABILITY, .number = &Teski::reliability},
    {.key = MissileKey::PRECISE, .flag = &Teski::precise},
    {.key = MissileKey::POS0,
     .parts = {&Teski::launchLongitude, &Teski::launchLatitude, &Teski::launchRadius}},
    {.key = MissileKey::HEADING_IDEAL, .number = &Teski::headingIdeal},
    {.key = MissileKey::HEADING_REALISTIC, .number = &Teski::headingRealistic},
    {.key = MissileKey::RVEL0, .vector = &Teski::launchVelocity},
    {.key = MissileKey::COSS, .vector = &Teski::launchAttitudeCos},
    {.key = MissileKey::SINS, .vector = &Teski::launchAttitudeSin},
    {.key = MissileKey::MET_MECO, .number = &Teski::metMeco},
    {.key = MissileKey::MET, .number = &Teski::met},
    {.key = MissileKey::MAX_ALTITUDE, .number = &Teski::maxAltitude},
    {.key = MissileKey::MJD_LAUNCH, .number = &Teski::launchMJD},
    {.key = MissileKey::FAILDOUBLES, .parts = {&Teski::failTime, &Teski::failPressure, &Teski::failValue}},
    {.key = MissileKey::CONTROLSFIXED,
     .parts = {&Teski::fixedHeading, &Teski::fixedBank, &Teski::fixedPitch}},
    {.key = MissileKey::FAILSTRING, .text = [](Teski& t) { return std::span<char>(t.failString); }},
    {.key = MissileKey::FAILIDX1, .integer = &Teski::failIdx1},
    {.key = MissileKey::FAILIDX2, .integer = &Teski::failIdx2},
    {.key = MissileKey::FAILTYPE, .integer = &Teski::failType},
    {.key = MissileKey::MET_GPS, .number = &Teski::nextTrackTime},
    {.key = MissileKey::TRACK},
};

const Field& FieldOf(MissileKey key) {
    for (const Field& f : Fields)
        if (f.key == key) return f;
    static const Field none{.key = MissileKey::None};
    return none;
}

int StateFlagsOf(const Teski& t) {
    return (t.countdownRunning ? FlagCountdownRunning : 0) | (t.launched ? FlagLaunched : 0) |
           (t.realistic ? FlagRealistic : 0) | (t.ignitionCommanded ? FlagIgnitionCommanded : 0) |
           (t.engineBurning ? FlagEngineBurning : 0) | (t.contrailActive ? FlagContrailActive : 0) |
           (t.autopilot ? FlagAutopilot : 0) | (t.failureArmed ? FlagFailureArmed : 0) |
           (t.headingFixed ? FlagHeadingFixed : 0) | (t.bankFixed ? FlagBankFixed : 0) |
           (t.pitchFixed ? FlagPitchFixed : 0);
}

void WriteTrack(FILEHANDLE scn, const char* key, const Teski& t) {
    const int count = t.trackCount < 0 ? 0 : (t.trackCount > MaxTrackPoints ? MaxTrackPoints : t.trackCount);
    for (int i = 0; i < count; ++i) {
        char line[4 * 400];
        FormatTrackPoint(i, t.trackLongitude[i], t.trackLatitude[i], t.trackAltitude[i], t.trackPhase[i],
                         line, sizeof line);
        WriteScenarioString(scn, key, line);
    }
}

void WriteValue(FILEHANDLE scn, const MissileBlockKey& key, Teski& t) {
    const Field& f = FieldOf(key.id);
    switch (key.value) {
    case MissileValue::Number:
        WriteScenarioFloat(scn, key.name, t.*f.number);
        break;
    case MissileValue::Fixed:
        WriteFixed13(scn, key.name, &(t.*f.number), 1);
        break;
    case MissileValue::Position: {
        const double values[3] = {t.*f.parts[0], t.*f.parts[1], t.*f.parts[2]};
        WriteFixed13(scn, key.name, values, 3);
        break;
    }
    case MissileValue::Vector:
        WriteScenarioVec(scn, key.name,
                         f.vector ? t.*f.vector : _V(t.*f.parts[0], t.*f.parts[1], t.*f.parts[2]));
        break;
    case MissileValue::Flag:
        if (key.saved != MissileSaved::WhenOn || t.*f.flag)
            WriteScenarioInt(scn, key.name, t.*f.flag ? 1 : 0);
        break;
    case MissileValue::Integer:
        WriteScenarioInt(scn, key.name, t.*f.integer);
        break;
    case MissileValue::StateFlags:
        WriteScenarioInt(scn, key.name, StateFlagsOf(t));
        break;
    case MissileValue::Date:
        // Only when known: a flight loaded from a block saved before missiles kept the date saves as it read.
        if (t.*f.number != 0.0) {
            char date[FixedNumberRoom];
            FormatFixed(t.*f.number, 10, date, sizeof date); // under a millisecond, as the wreck writes it
            WriteScenarioString(scn, key.name, date);
        }
        break;
    case MissileValue::Name:
    case MissileValue::Text:
        WriteScenarioString(scn, key.name, f.text(t).data());
        break;
    case MissileValue::TrackPoint:
        WriteTrack(scn, key.name, t);
        break;
    }
}

// What a load has read besides the fields: the state bits, and which keys the state bits must not override.
struct LoadNotes {
    int stateFlags = -1;
    bool read[static_cast<int>(MissileKey::PRECISE) + 1] = {}; // PRECISE is the last key
    bool Read(MissileKey k) const { return read[static_cast<int>(k)]; }
};

// Angles in radians and distances in m beyond what the missile takes are left unread.
bool PlausiblePoint(const double* lonLatHeight) {
    return Within(lonLatHeight, 2, MaxRadians) && Within(lonLatHeight + 2, 1, MaxMetres);
}

// Reads one value into its field; false (the field as it was) when it cannot be read.
bool ReadValue(const MissileBlockKey& key, const char* v, Teski& t, LoadNotes& notes) {
    const Field& f = FieldOf(key.id);
    int i = 0;
    double d[3];
    switch (key.value) {
    case MissileValue::Number:
    case MissileValue::Fixed:
    case MissileValue::Date:
        return ReadReal(v, t.*f.number);
    case MissileValue::Position:
        if (!ReadReals(v, d, 3) || !PlausiblePoint(d)) return false;
        for (int k = 0; k < 3; ++k)
            t.*f.parts[k] = d[k];
        return true;
    case MissileValue::Vector:
        if (f.vector) return ReadReals(v, (t.*f.vector).data, 3);
        if (!ReadReals(v, d, 3)) return false;
        for (int k = 0; k < 3; ++k)
            t.*f.parts[k] = d[k];
        return true;
    case MissileValue::Flag:
        if (!ReadInt(v, i)) return false;
        t.*f.flag = i != 0;
        return true;
    case MissileValue::Integer:
        return ReadInt(v, t.*f.integer);
    case MissileValue::StateFlags:
        return ReadInt(v, notes.stateFlags);
    case MissileValue::Name: {
        const std::span<char> text = f.text(t);
        return ReadName(v, text.data(), text.size());
    }
    case MissileValue::Text: {
        // A failure text that is empty clears the one the missile had.
        const std::span<char> text = f.text(t);
        if (!ReadRest(v, text.data(), text.size())) text[0] = '\0';
        return true;
    }
    case MissileValue::TrackPoint: {
        int index = -1, phase = 0;
        if (!ReadTrackPoint(v, index, d[0], d[1], d[2], phase) || index < 0 || index >= MaxTrackPoints ||
            !PlausiblePoint(d))
            return false;
        t.trackLongitude[index] = d[0];
        t.trackLatitude[index] = d[1];
        t.trackAltitude[index] = d[2];
        t.trackPhase[index] = phase;
        t.trackCount = index + 1;
        return true;
    }
    }
    return false;
}

const MissileBlockKey* KeyOf(MissileKey id) {
    for (const MissileBlockKey& k : MissileBlockKeys)
        if (k.id == id) return &k;
    return nullptr;
}

} // namespace

void Teski::clbkSaveState(FILEHANDLE scn) {
    SaveDefaultState(scn);
    bool first = true;
    MissileSection section{};
    for (const MissileBlockKey& key : MissileBlockKeys) {
        if (key.saved == MissileSaved::Never) continue;
        if (key.saved == MissileSaved::WhileLaunched && !launched) return;
        if (first || key.section != section) WriteSeparator(scn);
        first = false;
        section = key.section;
        WriteValue(scn, key, *this);
    }
}

void Teski::clbkLoadStateEx(FILEHANDLE scn, void* status) {
    LoadNotes notes;
    char* line = nullptr;
    while (oapiReadScenario_nextline(scn, line)) {
        if (!line) continue;
        const KeyMatch m = MatchMissileKey(line);
        if (m.key == MissileKey::None) {
            ParseScenarioLineEx(line, status);
            continue;
        }
        const MissileBlockKey* key = KeyOf(m.key);
        if (key && ReadValue(*key, m.value, *this, notes)) notes.read[static_cast<int>(m.key)] = true;
    }
    if (notes.Read(MissileKey::RELIABILITY)) {
        if (reliability < 0) reliability = 0;
        if (reliability > 100) reliability = 100;
    }
    const int stateFlags = notes.stateFlags;
    const bool readRealistic = notes.Read(MissileKey::REALISTIC);
    const bool readAutopilot = notes.Read(MissileKey::AUTOPILOT);
    const bool readReliability = notes.Read(MissileKey::RELIABILITY);

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

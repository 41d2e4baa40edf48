// Writing a vessel's scenario lines. The host's writers take key and value as char*, though they only read
// them; these take the texts const (keys are literals) and hand them on, so no module casts at every line.
#pragma once

#include <Orbitersdk.h>

inline void WriteScenarioString(FILEHANDLE scn, const char* key, const char* value) {
    oapiWriteScenario_string(scn, const_cast<char*>(key), const_cast<char*>(value));
}
inline void WriteScenarioInt(FILEHANDLE scn, const char* key, int value) {
    oapiWriteScenario_int(scn, const_cast<char*>(key), value);
}
inline void WriteScenarioFloat(FILEHANDLE scn, const char* key, double value) {
    oapiWriteScenario_float(scn, const_cast<char*>(key), value);
}
inline void WriteScenarioVec(FILEHANDLE scn, const char* key, const VECTOR3& value) {
    oapiWriteScenario_vec(scn, const_cast<char*>(key), value);
}

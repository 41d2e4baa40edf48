// Included before every plug-in source when the plug-ins are built against the simulator's Linux port,
// whose SDK headers are those of 2022. The plug-ins are written for today's SDK; this header bridges the two
// declarations where the port's differ, so that no plug-in source changes for it:
//   - the port has no DWORD: its key callback, vessel count and index take and give an int;
//   - the port lacks oapiDebugString(const char*), which shows a text on the debug line; its
//     oapiDebugString() gives that line's buffer of 256 characters to write into.
#pragma once

#include <OrbiterAPI.h>

#include <cstdio>

typedef int DWORD;

inline void oapiDebugString(const char* text) {
    std::snprintf(oapiDebugString(), 256, "%s", text);
}

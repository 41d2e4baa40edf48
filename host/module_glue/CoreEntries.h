// What the host's core exports for the module glue beyond the public interface: the module's build date as a
// number, and the calls behind a module's load and unload. The module headers do not declare them, so a
// vessel module can never call them itself.
#pragma once

#include <Orbitersdk.h>

OAPIFUNC int Date2Int(char* date);        // "Apr 25 2006" -> 60425 (YYMMDD); 0 for a text that is no date
OAPIFUNC void InitLib(HINSTANCE hModule); // the module has been loaded: runs its InitModule (or opcDLLInit)
OAPIFUNC void ExitLib(HINSTANCE hModule); // the module is about to go: runs its ExitModule (or opcDLLExit)

// The header a vessel module includes: the general interface and the vessel interface.
#pragma once

#include "OrbiterAPI.h"
#include "VesselAPI.h"

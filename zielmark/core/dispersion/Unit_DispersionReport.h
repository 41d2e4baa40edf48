// The figures of a dispersion as text: a table to read, CSV for spreadsheets (one row per missile, and one
// per impact), and JSON with every figure and every impact point for scripts. Numbers are written with '.'
// whatever the locale.
#pragma once

#include "Unit_Dispersion.h"

#include <string>

namespace zm {

std::string DispersionTable(const TDispersion& d);
std::string DispersionCsv(const TDispersion& d);
std::string DispersionImpactsCsv(const TDispersion& d);
std::string DispersionJson(const TDispersion& d);

// The JSON text of a string: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& text);

} // namespace zm

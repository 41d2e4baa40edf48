// The result KML file: every flight result of the list as impact, target and launch marks and a track
// of phase-coloured line pieces, for Google Earth.
#pragma once

#include "Unit_Results.h"

#include <string>
#include <string_view>
#include <vector>

namespace zm {

// The whole document, byte for byte, for a file called `fileName` (with its ".kml").
std::string BuildGEFileText(const std::string& fileName, const std::vector<TTeskWreck>& wrecks);

// Writes the document as `fileName` into `dir` (which ends in the folder separator). The file is written to
// a temporary file beside it and renamed over it when complete, so a failed write leaves an old file whole.
// A failure's message names the file.
TResult WriteGEFile(const std::string& dir, const std::string& fileName,
                    const std::vector<TTeskWreck>& wrecks);

// FormatFixed(value, decimals) appended to out, the same bytes, without its slow long double conversions for
// the magnitudes a track has.
void AppendFixed(std::string& out, long double value, int decimals);

// A text as the KML writer inserts it: Latin-1 turned into UTF-8 when it is not valid UTF-8, characters
// that XML forbids replaced by "?", and &, < and > escaped.
std::string KmlText(std::string_view text);

} // namespace zm

// The looks both KML writers give a firing, kept once so the result file and the replay show a flight alike.
#pragma once

#include <string_view>

namespace zm {

// The colour of a track piece, by the phase code of its end point: HTML notation for the caption, KML
// (aabbggrr) for the line, and the replay's style id.
struct TPhaseColour {
    int Phase;
    std::string_view Html;
    std::string_view Kml;
    std::string_view StyleId;
};

inline constexpr TPhaseColour PhaseColours[] = {
    {1, "#CC0500", "FF0005CC", "stPhase1"}, // engine burning without contrail: red, opaque
    {2, "#CCCCCC", "CCCCCCCC", "stPhase2"}, // engine burning with contrail: grey, 80 % opaque
    {3, "#0005CC", "FFCC0500", "stPhase3"}, // engine off: blue, opaque
};

// The point marks' styles: the wreck, the target and the launch point.
inline constexpr std::string_view MarkStyles[] = {
    "<Style id=\"stWreck\"><IconStyle id=\"stIconFlag\"><Icon><href>root://icons/palette-2.png</href>"
    "<x>160</x><y>192</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
    "<Style id=\"stTarget\"><IconStyle id=\"stIconBuilding\"><Icon><href>root://icons/palette-3.png</href>"
    "<x>160</x><y>160</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
    "<Style id=\"stLaunch\"><IconStyle id=\"stIconR\"><Icon><href>root://icons/palette-5.png</href>"
    "<x>32</x><y>128</y><w>32</w><h>32</h></Icon></IconStyle></Style>",
};

} // namespace zm

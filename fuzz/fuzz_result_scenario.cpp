// The flight result scenario reader, and what the results page makes of the wrecks it read: the
// figures, the impact-area diagram and the result KML.
#include "FuzzInput.h"

#include "Unit_GEFile.h"
#include "Unit_ImpactChart.h"
#include "Unit_Results.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::WriteInput(data, size, "input.scn");
    zm::TOrbResults results;
    const zm::TResult read = zm::LoadOrbResults(path, results);
    if (read.Code == zm::TResultCode::Missing) std::abort();
    if (!read.Ok() && read.Message.empty()) std::abort();
    // A fixed-width font: 6 by 13 pixels a character.
    const zm::TTextMeasure measure = [](const std::string& text) {
        return zm::TTextSize{static_cast<int>(text.size() % 1000) * 6, 13};
    };
    for (const zm::TTeskWreck& w : results.Wrecks) {
        if (w.TrackCount < 0 || w.TrackCount > zm::TrackArraySize) std::abort();
        w.Caption();
        zm::ResultFigures(w);
        zm::BuildImpactChart(w, measure);
    }
    zm::BuildGEFileText("input.kml", results.Wrecks);
    return 0;
}

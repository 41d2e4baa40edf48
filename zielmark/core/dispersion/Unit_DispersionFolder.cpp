#include "Unit_DispersionFolder.h"

#include "Unit_DispersionKml.h"
#include "Unit_DispersionPlot.h"
#include "Unit_DispersionReport.h"
#include "Unit_Files.h"

#include <filesystem>

namespace zm {

std::string DispersionPictureName(size_t index, const std::string& missile) {
    const std::string number = std::to_string(index + 1);
    return std::string(number.size() < 2 ? "0" : "") + number + "_" + SafeFileName(missile);
}

TResultOf<std::vector<std::string>> WriteDispersionFolder(const std::string& dir, const TDispersion& d,
                                                          const std::vector<std::string>& notes) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!DirectoryExists(dir)) return TResult::Failure(dir + ": cannot create the folder");
    std::string summary = DispersionTable(d);
    for (const std::string& n : notes)
        summary += "\n" + n + "\n";
    std::vector<std::string> lines;
    SplitLines(summary, lines);
    summary = JoinLinesCrLf(lines);
    const std::pair<const char*, std::string> files[] = {
        {"summary.txt", summary},
        {"dispersion.csv", DispersionCsv(d)},
        {"impacts.csv", DispersionImpactsCsv(d)},
        {"dispersion.json", DispersionJson(d)},
        {"dispersion.kml", DispersionKml(d, "Dispersion of " + d.Plan)},
    };
    for (const auto& [name, content] : files)
        if (TResult written = WriteFileAtomic(JoinPath(dir, name), content); !written.Ok()) return written;
    TResultOf<std::vector<std::string>> svgFiles;
    for (size_t i = 0; i < d.Missiles.size(); ++i) {
        const std::string file = JoinPath(dir, DispersionPictureName(i, d.Missiles[i].Missile) + ".svg");
        if (TResult written = WriteFileAtomic(file, DispersionSvg(d.Missiles[i])); !written.Ok())
            return {written, svgFiles.Value};
        svgFiles.Value.push_back(file);
    }
    return svgFiles;
}

} // namespace zm

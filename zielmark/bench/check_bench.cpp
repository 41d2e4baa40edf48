// zielmark-bench-check [FILES] [ROUNDS]: writes FILES (default 1000) KML files of a typical size
// into a temporary folder and times the folder check over them against a bare pugixml parse of the
// same files. The best of ROUNDS (default 20) rounds counts. Goal: check <= 1.5 x bare parse.
#include "Unit_DM.h"
#include "Unit_Files.h"
#include "Unit_Functions.h"
#include "Unit_GlobalOptions.h"

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace zm;
using Clock = std::chrono::steady_clock;

namespace {

// A file as Google Earth saves it: styles, a folder of launch sites, a folder of targets, each
// placemark with a look-at and a point (about 6 KB).
std::string TypicalKml(int n) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
        "xmlns:kml=\"http://www.opengis.net/kml/2.2\" "
        "xmlns:atom=\"http://www.w3.org/2005/Atom\">\n<Document>\n"
        "\t<name>range" +
        std::to_string(n) +
        ".kml</name>\n"
        "\t<description>Exercise " +
        std::to_string(n) +
        ": launch sites and targets &amp; notes.</description>\n"
        "\t<Style "
        "id=\"s\"><IconStyle><scale>1.1</scale><Icon><href>http://maps.google.com/mapfiles/kml/pushpin/"
        "ylw-pushpin.png</href></Icon><hotSpot x=\"20\" y=\"2\" xunits=\"pixels\" "
        "yunits=\"pixels\"/></IconStyle></Style>\n";
    const auto placemark = [&](const std::string& name, double lon, double lat) {
        const std::string lo = FormatFixed(lon, 6), la = FormatFixed(lat, 6);
        s += "\t\t<Placemark>\n\t\t\t<name>" + name + "</name>\n\t\t\t<LookAt>\n\t\t\t\t<longitude>" + lo +
             "</longitude>\n\t\t\t\t<latitude>" + la +
             "</latitude>\n\t\t\t\t<altitude>0</altitude>\n\t\t\t\t<heading>0</heading>\n\t\t\t\t<tilt>0</"
             "tilt>\n"
             "\t\t\t\t<range>25000</range>\n\t\t\t\t<gx:altitudeMode>relativeToSeaFloor</"
             "gx:altitudeMode>\n\t\t\t</LookAt>\n"
             "\t\t\t<styleUrl>#s</styleUrl>\n\t\t\t<Point>\n\t\t\t\t<gx:drawOrder>1</"
             "gx:drawOrder>\n\t\t\t\t<coordinates>" +
             lo + "," + la + ",0</coordinates>\n\t\t\t</Point>\n\t\t</Placemark>\n";
    };
    s += "\t<Folder>\n\t\t<name>Launch sites</name>\n";
    for (int i = 0; i < 4; ++i)
        placemark("Tesk" + std::to_string(i), -116 + 0.1 * i, 37 + 0.01 * (n % 50));
    s += "\t</Folder>\n\t<Folder>\n\t\t<name>Targets</name>\n";
    for (int i = 0; i < 6; ++i)
        placemark("Target " + std::to_string(i), -114 - 0.3 * i, 38 + 0.2 * i);
    return s + "\t</Folder>\n</Document>\n</kml>\n";
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::printf("Usage: zielmark-bench-check [FILES] [ROUNDS]\n"
                    "Times the folder check over FILES KML files (default 1000) against a bare XML parse of "
                    "the same\n"
                    "files; the best of ROUNDS rounds (default 20) counts.\n");
        return 0;
    }
    if (argc > 3 || (argc > 1 && std::atoi(argv[1]) <= 0) || (argc > 2 && std::atoi(argv[2]) <= 0)) {
        std::fprintf(stderr, "Usage: zielmark-bench-check [FILES] [ROUNDS] (whole numbers above 0)\n");
        return 2;
    }
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::string folder = (std::filesystem::temp_directory_path() / "zielmark-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    folder = IncludeTrailingPathDelimiter(folder);
    const std::string src = folder + "src/", scn = folder + "Scenarios/", res = folder + "results/";
    for (const auto& d : {src, scn, res})
        std::filesystem::create_directories(d);
    size_t bytes = 0;
    for (int i = 0; i < files; ++i) {
        const std::string text = TypicalKml(i);
        bytes += text.size();
        std::ofstream(src + "range" + std::to_string(i) + ".kml", std::ios::binary) << text;
    }
    DModule().TransformDir = ProgramDir();
    const std::vector<TFolderEntry> entries = ListFolderFiles(src, ".kml");

    double bestParse = 1e9, bestCheck = 1e9;
    size_t listed = 0;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        size_t parsed = 0;
        for (const auto& e : entries) {
            pugi::xml_document doc;
            parsed += static_cast<bool>(doc.load_file((src + e.Name).c_str()));
        }
        bestParse = std::min(bestParse, Seconds(Clock::now() - t0));
        if (parsed != entries.size())
            std::fprintf(stderr, "bare parse failed on %zu files\n", entries.size() - parsed);

        TGlobalOptions options;
        options.SrcWptDir = src;
        options.OrbScnDir = scn;
        options.FltResDir = res;
        t0 = Clock::now();
        options.CheckFolders();
        bestCheck = std::min(bestCheck, Seconds(Clock::now() - t0));
        listed = options.SrcKmlFiles.size();
    }
    if (!std::getenv("ZIELMARK_BENCH_KEEP"))
        std::filesystem::remove_all(folder);
    else
        std::printf("kept %s\n", folder.c_str());

    const double ratio = bestCheck / bestParse;
    std::printf("files: %d of %zu bytes on average, %zu listed as source files\n", files, bytes / files,
                listed);
    std::printf("bare pugixml parse: %8.2f ms\n", bestParse * 1000);
    std::printf("folder check:       %8.2f ms\n", bestCheck * 1000);
    std::printf("ratio: %.2f (goal <= 1.50): %s\n", ratio, ratio <= 1.5 ? "met" : "NOT met");
    return listed == static_cast<size_t>(files) ? 0 : 1;
}

// zielmark-bench-results [WRECKS]: the results of a current state with WRECKS wrecks (default 5,000), each
// with a track of 310 points as a flight of a few minutes leaves: writes the scenario into a temporary
// folder, reads it (as zielmark-cli results does) and writes the result KML. Prints the CPU and wall time of
// each part and the process's peak memory before and after the KML, whose growth shows whether the
// document was held in memory. Goal: read and write in under 5 s, memory that does not grow with the KML.
// --keep DIR writes into DIR and leaves the scenario and the KML there, so two builds can be compared.
#include "Unit_Files.h"
#include "Unit_GEFile.h"
#include "Unit_Results.h"

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

using namespace zm;
namespace fs = std::filesystem;

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
double PeakMiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

std::string Num(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// One wreck block as the wreck module saves it: the flight's figures and its track (radians, metres).
std::string WreckBlock(int k) {
    const double lat0 = -31.1 + 0.0003 * k, lon0 = 136.5 + 0.0002 * k;
    std::string b = "Tesk-" + std::to_string(k) + "-Wreck:TeskiWreck\r\n  STATUS Landed Earth\r\n  POS " +
                    Num(lon0 + 0.9, 7) + " " + Num(lat0 + 0.7, 7) +
                    "\r\n  HEADING 0.00\r\n  ALT 0.873\r\n  AROT 68.309 21.881 -136.865\r\n  LANDED 1\r\n";
    b += "  LATITUDE_LAST " + Num(lat0 + 0.7, 13) + "\r\n  LONGITUDE_LAST " + Num(lon0 + 0.9, 13) +
         "\r\n  MAX_ALTITUDE 40036.534375\r\n  FLIGHT_TIME 213.8\r\n  IMPACT_VELOCITY 791.266825\r\n"
         "  LATITUDE_TARGET " +
         Num(lat0 + 0.69, 13) + "\r\n  LONGITUDE_TARGET " + Num(lon0 + 0.91, 13) +
         "\r\n  RANGE_ACTUAL 94169.975592\r\n  AZIMUTH_ACTUAL 52.268356\r\n  RANGE_MISS 1465.522915\r\n"
         "  AZIMUTH_MISS 287.729203\r\n  LATERAL_MISS -1196.49982\r\n  LONGITUDAL_MISS -846.25386\r\n"
         "  LATITUDE_LAUNCH " +
         Num(lat0, 13) + "\r\n  LONGITUDE_LAUNCH " + Num(lon0, 13) + "\r\n  TARGET Target-" +
         std::to_string(k) + "\r\n";
    const double d2r = M_PI / 180;
    for (int i = 0; i < 310; ++i) {
        const double f = i / 309.0, alt = 40000 * 4 * f * (1 - f) + 0.0038592880592 * (i == 0);
        b += "  TRACK " + std::to_string(i) + " " + Num((lon0 + 0.9 * f) * d2r, 13) + " " +
             Num((lat0 + 0.7 * f) * d2r, 13) + " " + Num(alt + 1e-7 * k, 10) + " " + (f < 0.3 ? "1" : "3") +
             "\r\n";
    }
    return b + "END\r\n";
}

} // namespace

int main(int argc, char** argv) {
    int wrecks = 5000;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::printf(
                "usage: zielmark-bench-results [WRECKS] [--keep DIR]\n"
                "Reads a current state of WRECKS wrecks (default 5,000) and writes its result KML; prints\n"
                "the CPU and wall time of each and the peak memory. --keep DIR leaves both files in DIR.\n");
            return 0;
        }
        if (a == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else if (!a.empty() && a[0] != '-')
            wrecks = std::atoi(a.c_str());
        else
            wrecks = 0;
    }
    if (wrecks < 1) {
        std::fprintf(stderr, "usage: zielmark-bench-results [WRECKS] [--keep DIR]\n");
        return 2;
    }
    std::string pattern = keep;
    if (keep.empty()) {
        pattern = (fs::temp_directory_path() / "zm_bench_results_XXXXXX").string();
        if (!mkdtemp(pattern.data())) return 1;
    } else {
        std::error_code ec;
        fs::create_directories(keep, ec);
    }
    const std::string dir = pattern + "/";
    int status = 0;
    {
        std::string scenario = "BEGIN_ENVIRONMENT\r\n  System Sol\r\n  Date MJD "
                               "61384.2547229167\r\nEND_ENVIRONMENT\r\n\r\nBEGIN_SHIPS\r\n";
        for (int k = 0; k < wrecks; ++k)
            scenario += WreckBlock(k);
        scenario += "END_SHIPS\r\n";
        if (const TResult written = WriteFileAtomic(dir + "(Current state).scn", scenario); !written.Ok()) {
            std::fprintf(stderr, "zielmark-bench-results: %s\n", written.Message.c_str());
            return 1;
        }
        std::printf("current state of %d wrecks: %.1f MB\n", wrecks, double(scenario.size()) / 1e6);
    }
    const double peakBefore = PeakMiB();
    double cpu0 = CpuSeconds(), wall0 = WallSeconds();
    TOrbResults results;
    if (const TResult read = LoadOrbResults(dir + "(Current state).scn", results); !read.Ok()) {
        std::fprintf(stderr, "zielmark-bench-results: %s\n", read.Message.c_str());
        status = 1;
    } else {
        const double readCpu = CpuSeconds() - cpu0, readWall = WallSeconds() - wall0, peakRead = PeakMiB();
        cpu0 = CpuSeconds();
        wall0 = WallSeconds();
        if (const TResult written = WriteGEFile(dir, "results.kml", results.Wrecks); !written.Ok()) {
            std::fprintf(stderr, "zielmark-bench-results: %s\n", written.Message.c_str());
            status = 1;
        } else {
            const double kmlCpu = CpuSeconds() - cpu0, kmlWall = WallSeconds() - wall0, peakKml = PeakMiB();
            std::error_code ec;
            const double kmlMB = double(fs::file_size(dir + "results.kml", ec)) / 1e6;
            std::printf("read %zu wrecks: CPU %.2f s, wall %.2f s\n", results.Wrecks.size(), readCpu,
                        readWall);
            std::printf("result KML (%.1f MB): CPU %.2f s, wall %.2f s\n", kmlMB, kmlCpu, kmlWall);
            std::printf("together: CPU %.2f s (goal: under 5 s)\n", readCpu + kmlCpu);
            std::printf(
                "peak memory: %.0f MiB before reading, %.0f MiB after, %.0f MiB after the KML (%+.0f MiB "
                "for the KML)\n",
                peakBefore, peakRead, peakKml, peakKml - peakRead);
        }
    }
    std::error_code ec;
    if (keep.empty()) fs::remove_all(pattern, ec);
    return status;
}

// Flies the missile in orbhost at a few commanded ranges of both models and prints, per flight, the burn
// time, apogee, actual range at ground contact and the miss. Usage: teski_flight_table [root [heading]]
#include "../tests/FlightRun.h"

#include <cstdlib>
#include <cstring>
#include <exception>

namespace {
const char* const kUsage =
    "usage: teski_flight_table [ROOT [HEADING]]\n"
    "Flies both models at a few ranges from Woomera and prints burn time, apogee, range and\n"
    "miss of each flight. ROOT is orbhost's installation root (default $ORB_ROOT), HEADING\n"
    "the launch heading in degrees (default 300).\n";
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const char* root = argc > 1 ? argv[1] : std::getenv("ORB_ROOT");
    if (!root || argc > 3 || (argc > 1 && argv[1][0] == '-')) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const double heading = argc > 2 ? std::atof(argv[2]) : 300.0;
    std::printf("Launch from Woomera (30.95 S, 136.52 E), heading %.1f degrees\n", heading);
    struct Case {
        bool realistic;
        double range;
    };
    const Case cases[] = {{false, 100000}, {false, 300000}, {false, 500000},
                          {true, 50000},   {true, 150000},  {true, 300000}};
    missiletest::PrintFlightHeader();
    try {
        for (const Case& c : cases) {
            orb::World world(root);
            const missiletest::FlightFigures f = missiletest::FlyOnce(world, c.realistic, c.range, heading);
            if (!f.completed) std::printf("(flight did not end in a wreck)\n");
            missiletest::PrintFlight(f);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

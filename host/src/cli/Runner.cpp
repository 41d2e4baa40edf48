#include "cli/Runner.h"

#include "cli/ModuleSeed.h"

#include "core/Text.h"
#include "orbhost/World.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iomanip>

namespace orb::cli {

namespace {

const char* const kNoKeyHint = "no key was given (--key K@T presses key K for the focus vessel at time T)";

std::string stamp(double t) {
    return text::fixed(t, 2) + " s";
}

std::filesystem::path rootOf(const RunOptions& o) {
    if (!o.root.empty()) return o.root;
    if (const char* env = std::getenv("ORB_ROOT"); env && *env) return env;
    return std::filesystem::current_path();
}

// Flying: off the ground, neither landed nor touching it.
bool flying(const World& w, OBJHANDLE h) {
    return !w.isLanded(h) && !w.vessel(h)->GroundContact();
}

std::string stateOf(const World& w, OBJHANDLE h) {
    if (w.isLanded(h)) return "landed";
    return w.vessel(h)->GroundContact() ? "on ground" : "flying";
}

void printSummary(const World& w, std::ostream& out) {
    out << "Summary at t = " << stamp(w.simTime()) << ", MJD " << text::fixed(w.mjd(), 6) << ": "
        << w.vesselCount() << (w.vesselCount() == 1 ? " vessel\n" : " vessels\n");
    // The name and class columns are as wide as their longest entry and a blank, so that no entry runs into
    // the next column.
    size_t nameWidth = 24, classWidth = 16;
    for (size_t i = 0; i < w.vesselCount(); ++i) {
        OBJHANDLE h = w.vesselHandle(i);
        nameWidth = std::max(nameWidth, w.name(h).size() + 1);
        classWidth = std::max(classWidth, w.className(h).size() + 1);
    }
    const auto name = std::setw(int(nameWidth)), cls = std::setw(int(classWidth));
    out << "  " << std::left << name << "name" << cls << "class" << std::setw(11) << "state" << std::right
        << std::setw(13) << "latitude" << std::setw(14) << "longitude"
        << "\n";
    for (size_t i = 0; i < w.vesselCount(); ++i) {
        OBJHANDLE h = w.vesselHandle(i);
        double lng = 0, lat = 0, rad = 0;
        w.vessel(h)->GetEquPos(lng, lat, rad);
        out << "  " << std::left << name << w.name(h) << cls << w.className(h) << std::setw(11)
            << stateOf(w, h) << std::right << std::setw(13) << text::fixed(lat * DEG, 6) << std::setw(14)
            << text::fixed(lng * DEG, 6) << "\n";
    }
}

// The end rule of --until-gone: no vessel of the class is left and every other vessel lies landed.
bool goneAndLanded(const World& w, const std::string& className) {
    for (size_t i = 0; i < w.vesselCount(); ++i) {
        OBJHANDLE h = w.vesselHandle(i);
        if (!w.isLanded(h) || text::iequals(w.className(h), className)) return false;
    }
    return true;
}

} // namespace

int runScenario(const RunOptions& o, std::ostream& out, std::ostream& err) {
    try {
        World world(rootOf(o));
        world.setStepLength(o.dt);
        size_t logShown = 0, eventsShown = 0;
        auto flushNews = [&]() {
            const auto& log = world.log();
            for (; logShown < log.size(); ++logShown)
                out << "  " << log[logShown] << "\n";
            const auto& ev = world.events();
            for (; eventsShown < ev.size(); ++eventsShown) {
                const VesselEvent& e = ev[eventsShown];
                out << stamp(e.simt) << (e.kind == VesselEvent::Kind::Created ? "  created " : "  deleted ")
                    << e.name << " (" << e.className << ")\n";
            }
        };

        std::filesystem::path scenario = world.scenarioPath(o.scenario);
        out << "orbhost: root " << world.root().string() << "\n";
        out << "orbhost: scenario " << scenario.string() << ", step " << text::compact(o.dt) << " s\n";
        world.loadScenario(scenario.string());
        flushNews();
        OBJHANDLE f = world.focus();
        out << "orbhost: " << world.vesselCount() << " vessels, focus " << (f ? world.name(f) : "none")
            << ", MJD " << text::fixed(world.mjd(), 6) << "\n";
        if (o.seed) {
            out << "orbhost: seed " << *o.seed << " given to";
            auto seeded = seedLoadedModules(world.root(), *o.seed);
            for (const std::string& m : seeded)
                out << " " << m;
            out << (seeded.empty() ? " no module (none exports <Module>SeedRandom)\n" : "\n");
        }

        if (o.keys.empty()) out << "orbhost: " << kNoKeyHint << "\n";

        const double lastKey = o.keys.empty() ? 0.0 : o.keys.back().time;
        size_t nextKey = 0;
        double lastFlight = 0, nextProgress = o.progress;
        std::string debug = world.debugString();
        std::string reason;
        auto wallStart = std::chrono::steady_clock::now();
        long steps = 0;
        while (true) {
            // A key is pressed when its time has come; it reaches the focus vessel at the start of the step.
            for (; nextKey < o.keys.size() && o.keys[nextKey].time <= world.simTime() + 1e-9; ++nextKey) {
                world.sendKey(o.keys[nextKey].key, o.keys[nextKey].mods);
                out << stamp(world.simTime()) << "  key " << o.keys[nextKey].text << "\n";
            }
            world.step();
            ++steps;
            flushNews();
            if (world.debugString() != debug) {
                debug = world.debugString();
                out << stamp(world.simTime()) << "  debug: " << debug << "\n";
            }
            int nFlying = 0;
            for (size_t i = 0; i < world.vesselCount(); ++i)
                nFlying += flying(world, world.vesselHandle(i));
            if (nFlying) lastFlight = world.simTime();
            if (o.progress > 0 && world.simTime() >= nextProgress - 1e-9) {
                nextProgress += o.progress;
                out << stamp(world.simTime()) << "  progress: " << world.vesselCount() << " vessels, "
                    << nFlying << " flying\n";
            }
            if (world.sessionEnded())
                reason = "no vessel left";
            else if (!o.untilGone.empty() && nextKey >= o.keys.size() && goneAndLanded(world, o.untilGone))
                reason = "no " + o.untilGone + " left and every vessel landed";
            else if (world.simTime() >= o.timeLimit - 1e-9)
                reason = "time limit reached";
            else if (nextKey >= o.keys.size() && world.simTime() >= lastKey + o.countdown - 1e-9 &&
                     world.simTime() - lastFlight >= o.settle - 1e-9)
                reason = "nothing has flown for " + text::compact(o.settle) + " s";
            if (!reason.empty()) break;
        }
        double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        out << "orbhost: run ended at " << stamp(world.simTime()) << ": " << reason << " (" << steps
            << " steps in " << text::fixed(wall, 2) << " s)\n";
        // A run without keys in which nothing flew leaves every vessel where it stood; say so before the
        // saved state, which may have held the last run's results, is replaced by the scenario as it began.
        if (o.keys.empty() && lastFlight == 0) out << "orbhost: nothing flew: " << kNoKeyHint << "\n";
        // A run that lost a vessel a module asked for (a wreck and its results) keeps the saved state it
        // found.
        const int failed = world.failedCreations();
        if (o.save && failed == 0 && !o.saveTo.empty()) {
            world.saveScenario(o.saveTo, {"BEGIN_URLDESC", "CurrentState", "END_URLDESC"});
            out << "orbhost: state saved to " << o.saveTo << "\n";
        } else if (o.save && failed == 0) {
            std::filesystem::path saved = world.saveCurrentState();
            out << "orbhost: current state saved to " << saved.string() << "\n";
        }
        printSummary(world, out);
        world.end();
        flushNews();
        if (failed > 0) {
            err << "orbhost: error: " << failed << (failed == 1 ? " vessel" : " vessels")
                << " could not be created (see the log); the current state is not saved\n";
            return 1;
        }
        return 0;
    } catch (const HostError& e) {
        err << "orbhost: error: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        err << "orbhost: error: " << e.what() << "\n";
        return 1;
    }
}

} // namespace orb::cli

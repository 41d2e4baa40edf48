// orb::World: the test- and program-facing face of the host's world.
#include "orbhost/World.h"

#include "TextLines.h"
#include "core/HostFiles.h"
#include "core/ScenarioFile.h"
#include "core/Text.h"
#include "core/WorldImpl.h"

#include <cmath>

namespace orb {

World::World(const std::filesystem::path& root) : impl_(std::make_unique<WorldImpl>(root)) {}
World::~World() = default;

const std::filesystem::path& World::root() const {
    return impl_->root;
}

std::filesystem::path World::scenarioPath(const std::string& nameOrPath) const {
    std::filesystem::path direct(nameOrPath);
    if (somethingButAFolder(direct)) return direct;
    std::filesystem::path inRoot = impl_->root / "Scenarios" / nameOrPath;
    if (somethingButAFolder(inRoot)) return inRoot;
    std::filesystem::path withExt = inRoot;
    withExt += ".scn";
    if (somethingButAFolder(withExt)) return withExt;
    throw HostError(withExt.string() + ": scenario not found");
}

void World::loadScenario(const std::string& nameOrPath) {
    std::filesystem::path file = scenarioPath(nameOrPath);
    std::string text = readFile(file, file.string());
    impl_->loadScenario(ScenarioFile::parse(text, file.string()));
}

void World::loadScenarioText(std::string_view text, const std::string& sourceName) {
    impl_->loadScenario(ScenarioFile::parse(text, sourceName));
}

OBJHANDLE World::createVessel(const std::string& name, const std::string& className, std::string_view lines) {
    if (name.empty()) throw HostError("a vessel needs a name");
    Vessel* v = impl_->createFromLines(name, className, scenario_files::splitLines(lines),
                                       "(lines of " + name + ")", 1);
    impl_->postCreation(v);
    if (!impl_->focus) impl_->setFocus(v);
    impl_->removeDeleted();
    return impl_->find(v);
}

OBJHANDLE World::createVessel(const std::string& name, const std::string& className,
                              const VESSELSTATUS& status) {
    Vessel* v = impl_->createFromStatus(name, className, &status, nullptr);
    if (!impl_->focus) impl_->setFocus(v);
    impl_->removeDeleted();
    return impl_->find(v);
}

double World::simTime() const {
    return impl_->simt;
}
double World::mjd() const {
    return impl_->mjd();
}
double World::stepLength() const {
    return impl_->stepLength;
}
void World::setStepLength(double dt) {
    if (!(dt > 0) || !std::isfinite(dt))
        throw HostError("the step length must be a positive number of seconds");
    impl_->stepLength = dt;
}
int World::failedCreations() const {
    return impl_->failedCreations;
}
void World::step() {
    impl_->step(impl_->stepLength);
}
void World::step(double dt) {
    impl_->step(dt);
}
void World::runSteps(int n) {
    for (int i = 0; i < n && !impl_->ended; ++i)
        step();
}
void World::runFor(double seconds) {
    const double end = impl_->simt + seconds - 1e-9;
    while (impl_->simt < end && !impl_->ended)
        step();
}
bool World::runUntil(const std::function<bool()>& done, double maxSeconds) {
    const double end = impl_->simt + maxSeconds - 1e-9;
    while (!done()) {
        if (impl_->simt >= end || impl_->ended) return false;
        step();
    }
    return true;
}
bool World::sessionEnded() const {
    return impl_->ended;
}
void World::end() {
    impl_->endSession();
    impl_->ended = true;
}

void World::sendKey(DWORD key, unsigned modifiers) {
    impl_->keys.push_back({key, modifiers});
}

size_t World::vesselCount() const {
    return impl_->vessels.size();
}
OBJHANDLE World::vesselHandle(size_t index) const {
    return index < impl_->vessels.size() ? impl_->vessels[index].get() : nullptr;
}
OBJHANDLE World::findVessel(std::string_view name) const {
    return impl_->findByName(name);
}
VESSEL* World::vessel(std::string_view name) const {
    Vessel* v = impl_->findByName(name);
    return v ? v->intf : nullptr;
}
VESSEL* World::vessel(OBJHANDLE h) const {
    Vessel* v = impl_->find(h);
    return v ? v->intf : nullptr;
}

namespace {
const Vessel& checked(const WorldImpl& w, OBJHANDLE h) {
    Vessel* v = w.find(h);
    if (!v) throw HostError("no such vessel");
    return *v;
}
} // namespace

std::string World::name(OBJHANDLE h) const {
    return checked(*impl_, h).name;
}
std::string World::className(OBJHANDLE h) const {
    return checked(*impl_, h).className;
}
bool World::isPlain(OBJHANDLE h) const {
    return checked(*impl_, h).plain;
}
bool World::isLanded(OBJHANDLE h) const {
    return checked(*impl_, h).body.landed;
}
std::vector<double> World::thrusterLevels(OBJHANDLE h) const {
    std::vector<double> levels;
    for (const auto& t : checked(*impl_, h).body.thrusters)
        levels.push_back(t.level);
    return levels;
}
std::vector<ExhaustRecord> World::exhausts(OBJHANDLE h) const {
    return checked(*impl_, h).exhausts;
}
std::vector<StreamRecord> World::streams(OBJHANDLE h) const {
    const auto& s = checked(*impl_, h).streams;
    return {s.begin(), s.end()};
}
std::vector<MeshRecord> World::meshes(OBJHANDLE h) const {
    return checked(*impl_, h).meshes;
}
OBJHANDLE World::focus() const {
    return impl_->focus;
}
std::string World::debugString() const {
    return impl_->debug;
}
const std::vector<VesselEvent>& World::events() const {
    return impl_->events;
}
const std::vector<std::string>& World::log() const {
    return impl_->log;
}

std::string World::saveText(const std::vector<std::string>& description) const {
    return impl_->saveText(description);
}
void World::saveScenario(const std::filesystem::path& file,
                         const std::vector<std::string>& description) const {
    writeFileAtomic(file, impl_->saveText(description));
}
std::filesystem::path World::saveCurrentState() const {
    std::filesystem::path file = impl_->root / "Scenarios" / "(Current state).scn";
    std::filesystem::create_directories(file.parent_path());
    writeFileAtomic(file, impl_->saveText({"BEGIN_URLDESC", "CurrentState", "END_URLDESC"}));
    return file;
}

} // namespace orb

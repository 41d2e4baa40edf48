#include "core/WorldImpl.h"

#include "SourcePlace.h"
#include "core/Convert.h"
#include "core/ModuleLibrary.h"
#include "core/Text.h"
#include "core/VesselState.h"

#include <algorithm>
#include <cmath>

namespace orb {

namespace {
WorldImpl* g_current = nullptr;

// A class or module name may name a subfolder ("Sub\Name"); it may not leave the root.
std::string safeRelativeName(const std::string& name, const std::string& what) {
    std::string s = name;
    std::replace(s.begin(), s.end(), '\\', '/');
    if (s.empty() || s.front() == '/' || s.find("..") != std::string::npos)
        throw HostError(what + " \"" + name + "\" is not a valid name");
    return s;
}
} // namespace

WorldImpl* currentWorld() {
    return g_current;
}

WorldImpl::WorldImpl(const std::filesystem::path& r) : root(r) {
    std::error_code ec;
    if (root.empty() || !std::filesystem::is_directory(root / "Config", ec))
        throw HostError(root.string() + ": not an installation root (no Config/ folder)");
    if (g_current) throw HostError("a World exists already; the host runs one world at a time");
    g_current = this;
}

WorldImpl::~WorldImpl() {
    endSession();
    if (g_current == this) g_current = nullptr;
}

Vessel* WorldImpl::find(OBJHANDLE h) const {
    auto* v = static_cast<const Vessel*>(h);
    return live.contains(v) ? const_cast<Vessel*>(v) : nullptr;
}

Vessel* WorldImpl::findByName(std::string_view name) const {
    auto it = byName.find(name);
    return it == byName.end() ? nullptr : it->second;
}

void WorldImpl::listVessel(std::unique_ptr<Vessel> v) {
    if (!byName.try_emplace(v->name, v.get()).second) ++sharedNames;
    vessels.push_back(std::move(v));
}

void WorldImpl::forgetName(const Vessel* v) {
    auto it = byName.find(v->name);
    if (it == byName.end() || it->second != v) return;
    byName.erase(it);
    if (sharedNames == 0) return;
    for (const auto& other : vessels)
        if (other && other.get() != v && other->name == v->name) { // (a vessel being removed is null here)
            byName.emplace(other->name, other.get());
            --sharedNames;
            return;
        }
}

// ---- creation ---------------------------------------------------------------------------------------

std::unique_ptr<ConfigFile> WorldImpl::openClassConfig(const std::string& className) const {
    std::string rel = safeRelativeName(className, "vessel class");
    std::filesystem::path first = root / "Config" / "Vessels" / (rel + ".cfg");
    std::filesystem::path second = root / "Config" / (rel + ".cfg");
    if (somethingButAFolder(first)) return ConfigFile::load(first, first.string());
    if (somethingButAFolder(second)) return ConfigFile::load(second, second.string());
    throw HostError(first.string() + ": class configuration of \"" + className + "\" not found (nor " +
                    second.string() + ")");
}

std::shared_ptr<ModuleLibrary> WorldImpl::loadModule(const std::string& moduleName) {
    std::string rel = safeRelativeName(moduleName, "module");
    if (auto lib = modules[rel].lock()) return lib;
    std::filesystem::path file = root / "Modules" / (rel + ".so");
    auto lib = ModuleLibrary::open(file, file.string());
    modules[rel] = lib;
    log.push_back(lib->loadLogLine);
    return lib;
}

namespace {
// Where in a file a message points; the line as the host counts it.
scenario_files::SourcePlace placeOf(const std::string& file, int line) {
    return {file, size_t(line)};
}

[[noreturn]] void badValue(const ConfigFile& cfg, int line, std::string_view key,
                           const std::string& expected) {
    throw HostError(placeOf(cfg.path, line).describe(std::string(key) + ": expected " + expected));
}

// Reads n numbers of a key; false when the key is absent, HostError when it is malformed.
bool cfgNumbers(const ConfigFile& cfg, std::string_view key, double* out, int n, int minCount = -1) {
    int line = 0;
    auto value = cfg.item(key, &line);
    if (!value) return false;
    int got = text::parseDoubles(*value, out, n);
    if (got < (minCount < 0 ? n : minCount))
        badValue(cfg, line, key, n == 1 ? "a number" : std::to_string(n) + " numbers");
    return true;
}
} // namespace

void WorldImpl::applyGenericCaps(Vessel& v, const ConfigFile& cfg, int depth) const {
    if (auto base = cfg.item("BaseClass")) {
        if (depth > 8) throw HostError(cfg.path + ": BaseClass chain too deep");
        applyGenericCaps(v, *openClassConfig(*base), depth + 1);
    }
    phys::Body& b = v.body;
    double d[9];
    if (cfgNumbers(cfg, "Size", d, 1)) b.size = d[0];
    if (cfgNumbers(cfg, "Mass", d, 1)) b.emptyMass = d[0];
    if (cfgNumbers(cfg, "Isp", d, 1)) b.defaultIsp = d[0];
    if (cfgNumbers(cfg, "Inertia", d, 3)) b.pmi = {d[0], d[1], d[2]};
    if (cfgNumbers(cfg, "CrossSections", d, 3)) b.crossSections = {d[0], d[1], d[2]};
    if (cfgNumbers(cfg, "RotResistance", d, 3)) b.rotDrag = {d[0], d[1], d[2]};
    if (cfgNumbers(cfg, "CW", d, 4)) b.cwZPos = d[0], b.cwZNeg = d[1], b.cwX = d[2], b.cwY = d[3];
    if (cfgNumbers(cfg, "TouchdownPoints", d, 9)) {
        phys::TouchdownPoint pts[3];
        for (int i = 0; i < 3; ++i) {
            pts[i].pos = {d[3 * i], d[3 * i + 1], d[3 * i + 2]};
            pts[i].stiffness = 1e6;
            pts[i].damping = 1e5;
            pts[i].mu = b.defaultMu;
            pts[i].muLng = b.defaultMuLng;
        }
        phys::setTouchdownPoints(b, pts, 3);
    }
    for (int i = 1;; ++i) {
        if (!cfgNumbers(cfg, "PropellantResource" + std::to_string(i), d, 2, 1)) break;
        int line = 0;
        auto value = cfg.item("PropellantResource" + std::to_string(i), &line);
        double eff = text::parseDoubles(*value, d, 2) == 2 ? d[1] : 1.0;
        phys::addTank(b, d[0], -1.0, eff);
    }
    if (cfgNumbers(cfg, "MaxFuel", d, 1) && b.tanks.empty()) phys::addTank(b, d[0]);
    int line = 0;
    if (auto focus = cfg.item("EnableFocus", &line)) {
        if (text::istartsWith(*focus, "true"))
            v.enableFocus = true;
        else if (text::istartsWith(*focus, "false"))
            v.enableFocus = false;
        else
            badValue(cfg, line, "EnableFocus", "TRUE or FALSE");
    }
    if (auto mesh = cfg.item("MeshName", &line)) {
        std::string rel = safeRelativeName(*mesh, "mesh");
        std::filesystem::path file = root / "Meshes" / (rel + ".msh");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            throw FatalHostError(
                placeOf(cfg.path, line).describe("MeshName: " + file.string() + " not found"));
        MeshRecord m;
        m.name = *mesh;
        v.meshes.push_back(m);
    }
    b.mass = phys::totalMass(b);
}

std::unique_ptr<Vessel> WorldImpl::construct(const std::string& name, const std::string& className,
                                             std::unique_ptr<ConfigFile>& cfg) {
    auto v = std::make_unique<Vessel>(*this, name, className);
    v->body.planet = &planet;
    std::shared_ptr<ModuleLibrary> lib;
    if (auto mod = cfg->item("Module")) lib = loadModule(*mod);
    live.insert(v.get());
    VESSEL* intf = lib ? lib->init(v.get(), 1) : nullptr;
    if (intf) {
        v->plain = false;
        v->module = lib;
        v->intf = intf;
    } else {
        if (lib) log.push_back(name + ": ovcInit of " + lib->name + " gave no vessel; using a plain vessel");
        v->intf = new VESSEL(v.get(), 1);
    }
    try {
        if (VESSEL2* cb = v->callbacks()) cb->clbkSetClassCaps(cfg.get());
        applyGenericCaps(*v, *cfg);
    } catch (...) {
        destroy(v.release());
        throw;
    }
    return v;
}

Vessel* WorldImpl::createFromLines(const std::string& name, const std::string& className,
                                   const std::vector<std::string>& lines, const std::string& source,
                                   int firstLine) {
    const std::string& cls = className.empty() ? name : className;
    if (findByName(name))
        throw HostError(
            placeOf(source, firstLine - 1).describe("a vessel named \"" + name + "\" exists already"));
    auto cfg = openClassConfig(cls);
    auto owned = construct(name, cls, cfg);
    Vessel* v = owned.get();
    try {
        ScenarioReader reader;
        reader.lines = lines;
        VESSELSTATUS2 vs = scenarioStatus2();
        v->loadReader = &reader;
        if (VESSEL2* cb = v->callbacks()) {
            cb->clbkLoadStateEx(&reader, &vs);
        } else {
            char* line;
            while (reader.nextLine(line))
                v->intf->ParseScenarioLineEx(line, &vs);
        }
        v->loadReader = nullptr;
        v->parseLineIndex = -1;
        if (!v->parseErrors.empty()) {
            auto [idx, msg] = v->parseErrors.front();
            throw HostError(placeOf(source, firstLine + int(idx)).describe(msg));
        }
        applyStatus2(*v, vs);
        v->fuelSpecs.clear();
        v->thrustSpecs.clear();
    } catch (...) {
        v->loadReader = nullptr;
        destroy(owned.release());
        throw;
    }
    v->createdInStep = stepping ? stepSerial : 0;
    listVessel(std::move(owned));
    events.push_back({VesselEvent::Kind::Created, simt, v->name, v->className});
    return v;
}

Vessel* WorldImpl::createFromStatus(const std::string& name, const std::string& className,
                                    const VESSELSTATUS* vs, const void* vs2) {
    if (name.empty()) throw HostError("a vessel needs a name");
    if (findByName(name)) throw HostError("a vessel named \"" + name + "\" exists already");
    if (vs2 && *static_cast<const DWORD*>(vs2) != 2)
        throw HostError(name + ": oapiCreateVesselEx: status record version " +
                        std::to_string(*static_cast<const DWORD*>(vs2)) + " is not supported");
    auto cfg = openClassConfig(className);
    auto owned = construct(name, className, cfg);
    Vessel* v = owned.get();
    try {
        if (vs) {
            applyStatus(*v, *vs);
        } else if (vs2) {
            if (VESSEL2* cb = v->callbacks())
                cb->clbkSetStateEx(vs2);
            else
                applyStatus2(*v, *static_cast<const VESSELSTATUS2*>(vs2));
        }
    } catch (...) {
        destroy(owned.release());
        throw;
    }
    v->createdInStep = stepping ? stepSerial : 0;
    listVessel(std::move(owned));
    events.push_back({VesselEvent::Kind::Created, simt, v->name, v->className});
    postCreation(v);
    return v;
}

void WorldImpl::postCreation(Vessel* v) {
    if (VESSEL2* cb = v->callbacks()) cb->clbkPostCreation();
}

void WorldImpl::loadScenario(const ScenarioFile& scn) {
    if (!vessels.empty()) throw HostError(scn.source + ": a scenario is loaded already");
    planet.epochMjd = scn.mjd ? *scn.mjd : systemTimeMjd();
    simt = 0;
    system = scn.system;
    environmentExtra = scn.environmentExtra;
    camera = scn.camera;
    cockpitBlocks = scn.cockpitBlocks;
    pluginBlocks = scn.pluginBlocks;
    description = scn.description;
    for (const ShipBlock& ship : scn.ships) {
        try {
            createFromLines(ship.name, ship.className, ship.texts(), scn.source, int(ship.headerLine + 1));
        } catch (const HostError& e) {
            // Name the scenario and the ship line too when the fault lies in another file.
            std::string msg = e.what();
            if (msg.rfind(scn.source, 0) == 0) throw;
            throw HostError(
                placeOf(scn.source, int(ship.headerLine)).describe("vessel \"" + ship.name + "\": " + msg));
        }
    }
    for (size_t i = 0; i < vessels.size(); ++i)
        postCreation(vessels[i].get());
    Vessel* f = findByName(scn.focus);
    if (!f && !scn.focus.empty())
        log.push_back(scn.source + ": focus vessel \"" + scn.focus + "\" not found");
    if (!f)
        for (auto& v : vessels)
            if (v->enableFocus) {
                f = v.get();
                break;
            }
    if (f) setFocus(f);
    removeDeleted();
}

// ---- time -----------------------------------------------------------------------------------------

void WorldImpl::deliverKeys() {
    Vessel* f = focus;
    VESSEL2* cb = f ? f->callbacks() : nullptr;
    char kstate[256];
    for (const Key& k : keysUp) {
        std::fill(std::begin(kstate), std::end(kstate), 0);
        if (cb) cb->clbkConsumeBufferedKey(k.key, false, kstate);
    }
    keysUp.clear();
    while (!keys.empty()) {
        Key k = keys.front();
        keys.pop_front();
        std::fill(std::begin(kstate), std::end(kstate), 0);
        if (k.mods & ModShift) kstate[OAPI_KEY_LSHIFT] = char(0x80);
        if (k.mods & ModCtrl) kstate[OAPI_KEY_LCONTROL] = char(0x80);
        if (k.mods & ModAlt) kstate[OAPI_KEY_LALT] = char(0x80);
        kstate[k.key & 0xFF] = char(0x80);
        if (cb) cb->clbkConsumeBufferedKey(k.key, true, kstate);
        keysUp.push_back(k);
        // A key may have moved the focus (or deleted the vessel); later keys go to the new focus.
        f = focus;
        cb = f ? f->callbacks() : nullptr;
    }
}

// With thousands of vessels neither a vessel's record nor its module object is in the cache any more when
// its turn comes: the record (which holds the module object's address) is fetched nine vessels ahead, the
// module object five. A callback may be over in a few tens of nanoseconds, hence the distance.
void WorldImpl::prefetchCallbacks(size_t next) const {
    if (next + 8 < vessels.size()) __builtin_prefetch(vessels[next + 8].get());
    if (next + 4 < vessels.size()) __builtin_prefetch(vessels[next + 4]->intf);
}

void WorldImpl::stopUnsavable(const Vessel& v, double t) {
    const phys::Body& b = v.body;
    if (!std::isfinite(b.pos.x + b.pos.y + b.pos.z) || !std::isfinite(b.vel.x + b.vel.y + b.vel.z))
        fatalError =
            v.name + ": position or velocity is no longer a finite number at t = " + text::compact(t) + " s";
    else if (const std::string beyond = beyondScenarioLimits(v.body); !beyond.empty())
        fatalError = v.name + ": at t = " + text::compact(t) + " s its " + beyond;
}

void WorldImpl::step(double dt) {
    if (ended) return;
    if (!fatalError.empty()) throw FatalHostError(fatalError);
    if (!(dt > 0) || !std::isfinite(dt))
        throw HostError("the step length must be a positive number of seconds");
    simdt = dt;
    const double t0 = simt, mjd0 = mjd();
    frameT0 = t0;
    ++stepSerial; // vessels created from here on are new in this step
    stepping = true;
    deliverKeys();
    // Vessels created during this step sit at the end of the list and are first called back next step.
    const size_t n = vessels.size();
    for (size_t i = 0; i < n && i < vessels.size(); ++i) {
        prefetchCallbacks(i + 1);
        if (VESSEL2* cb = vessels[i]->callbacks(); cb && vessels[i]->createdInStep != stepSerial)
            cb->clbkPreStep(t0, dt, mjd0);
    }
    // The planet's frame at the end of the step is the same for every vessel on it.
    const phys::PlanetFrame frameEnd = planet.frameAt(t0 + dt);
    for (size_t i = 0; i < vessels.size(); ++i) {
        if (i + 2 < vessels.size()) phys::prefetchRecord(vessels[i + 2]->body);
        if (i + 1 < vessels.size()) phys::prefetchParts(vessels[i + 1]->body);
        phys::Body& b = vessels[i]->body;
        if (b.planet == &planet)
            phys::step(b, t0, dt, frameEnd);
        else
            phys::step(b, t0, dt);
        // A state that left the finite numbers would be flown and saved as inf and nan, one beyond what a
        // scenario's lines may give would be saved and not load again: the run stops instead.
        if (!scenarioCanHold(b) && fatalError.empty()) stopUnsavable(*vessels[i], t0 + dt);
    }
    simt = t0 + dt;
    const double mjd1 = mjd();
    inPostStep = true;
    for (size_t i = 0; i < vessels.size(); ++i) {
        prefetchCallbacks(i + 1);
        if (VESSEL2* cb = vessels[i]->callbacks(); cb && vessels[i]->createdInStep != stepSerial)
            cb->clbkPostStep(simt, dt, mjd1);
    }
    inPostStep = false;
    stepping = false;
    removeDeleted();
    if (!fatalError.empty()) throw FatalHostError(fatalError);
}

// Only flags the vessel: it may be the caller itself, still inside its own callback. The vessel goes after
// the post-steps, or when the host call that ran the callback (a creation, a scenario load) returns.
void WorldImpl::requestDelete(Vessel* v) {
    if (!v->deletePending) ++deletesPending;
    v->deletePending = true;
}

bool WorldImpl::setFocus(Vessel* v) {
    if (!v || v == focus || !v->enableFocus) return false;
    Vessel* old = focus;
    focus = v;
    if (old)
        if (VESSEL2* cb = old->callbacks()) cb->clbkFocusChanged(false, v, old);
    if (VESSEL2* cb = v->callbacks()) cb->clbkFocusChanged(true, v, old);
    return true;
}

void WorldImpl::removeDeleted() {
    // Most steps delete nothing: the vessel list is then left unread.
    for (size_t i = 0; deletesPending > 0 && i < vessels.size();) {
        Vessel* v = vessels[i].get();
        if (!v->deletePending) {
            ++i;
            continue;
        }
        if (focus == v) {
            // Focus moves to the nearest vessel that accepts it; without one the session ends.
            Vessel* best = nullptr;
            double bestDist = 0;
            for (auto& o : vessels) {
                if (o.get() == v || o->deletePending || !o->enableFocus) continue;
                double d = phys::length(o->body.pos - v->body.pos);
                if (!best || d < bestDist) best = o.get(), bestDist = d;
            }
            focus = nullptr;
            if (best)
                setFocus(best);
            else
                ended = true;
        }
        events.push_back({VesselEvent::Kind::Deleted, simt, v->name, v->className});
        --deletesPending;
        destroy(vessels[i].release());
        vessels.erase(vessels.begin() + long(i));
    }
    if (vessels.empty() && !events.empty()) ended = true;
}

void WorldImpl::destroy(Vessel* v) {
    std::unique_ptr<Vessel> owned(v);
    std::shared_ptr<ModuleLibrary> lib = v->module; // keeps the code loaded until ovcExit has returned
    if (v->intf) {
        if (!v->plain && lib)
            lib->exit(v->intf);
        else
            delete v->intf;
    }
    v->intf = nullptr;
    live.erase(v);
    forgetName(v);
    if (focus == v) focus = nullptr;
    v->module.reset();
    owned.reset();
    lib.reset(); // the last vessel of a module unloads it
}

void WorldImpl::endSession() {
    while (!vessels.empty()) {
        std::unique_ptr<Vessel> v = std::move(vessels.front());
        vessels.erase(vessels.begin());
        destroy(v.release());
    }
    focus = nullptr;
}

// ---- saving ---------------------------------------------------------------------------------------

void WorldImpl::writeShip(const Vessel& v, std::string& out) const {
    out += v.name + ":" + v.className + "\r\n";
    if (VESSEL2* cb = v.callbacks()) {
        ScenarioWriter w;
        cb->clbkSaveState(&w);
        out += w.text;
    } else {
        writeDefaultLines(v, out);
    }
    out += "END\r\n";
}

std::string WorldImpl::saveText(const std::vector<std::string>& desc) const {
    std::string out;
    auto line = [&](std::string_view s) {
        out += s;
        out += "\r\n";
    };
    const auto& d = desc.empty() ? description : desc;
    for (const auto& l : d)
        line(l);
    if (!d.empty()) line("");
    line("BEGIN_ENVIRONMENT");
    line("  System " + system);
    line("  Date MJD " + text::fixed(mjd(), 10));
    for (const auto& l : environmentExtra)
        line("  " + l);
    line("END_ENVIRONMENT");
    line("");
    std::string focusName = focus ? focus->name : "";
    line("BEGIN_FOCUS");
    line("  Ship " + focusName);
    line("END_FOCUS");
    line("");
    line("BEGIN_CAMERA");
    line("  TARGET " + focusName);
    bool haveMode = false;
    for (const auto& l : camera) {
        if (text::iequals(text::firstWord(l), "TARGET")) continue;
        haveMode = haveMode || text::iequals(text::firstWord(l), "MODE");
        line("  " + l);
    }
    if (!haveMode) line("  MODE Extern");
    line("END_CAMERA");
    line("");
    for (const auto& block : cockpitBlocks) {
        for (const auto& l : block)
            line(l);
        line("");
    }
    line("BEGIN_SHIPS");
    for (const auto& v : vessels)
        if (!v->deletePending) writeShip(*v, out);
    line("END_SHIPS");
    for (const auto& block : pluginBlocks) {
        line("");
        for (const auto& l : block)
            line(l);
    }
    return out;
}

} // namespace orb

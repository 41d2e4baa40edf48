// Missing, truncated and malformed scenarios, class files and modules give a clear error that names the file
// (and the line where there is one); nothing crashes and the world stays usable.
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string kShipHead = "BEGIN_SHIPS\nA:HostTestVessel\n";

TEST(BadInput, MalformedScenariosNameTheFileAndLine) {
    struct Case {
        const char* what;
        std::string text;
        const char* expected; // part of the message after the file name
    } cases[] = {
        {"ship block without END", kShipHead + "  STATUS Landed Earth\n  POS 1 2\n",
         "line 2: ship block of \"A\" has no END"},
        {"no END_SHIPS", kShipHead + "  STATUS Landed Earth\nEND\n", "line 1: BEGIN_SHIPS has no END_SHIPS"},
        {"END_SHIPS inside a ship", kShipHead + "  POS 1 2\nEND_SHIPS\n", "has no END line"},
        {"no ships at all", "BEGIN_ENVIRONMENT\nEND_ENVIRONMENT\n", "no BEGIN_SHIPS block"},
        {"empty file", "", "no BEGIN_SHIPS block"},
        {"binary garbage", std::string("BEGIN_SHIPS\n\0\x01\xff", 15), "not a text file"},
        {"truncated description", "BEGIN_DESC\nhello\n", "line 1: block BEGIN_DESC has no END_DESC"},
        {"bad date", "BEGIN_ENVIRONMENT\n  Date MJD soon\nEND_ENVIRONMENT\n" + kShipHead + "END\nEND_SHIPS\n",
         "line 2: Date"},
        {"POS with one number", kShipHead + "  STATUS Landed Earth\n  POS 1\nEND\nEND_SHIPS\n",
         "line 4: POS: expected 2 numbers"},
        {"POS of 1e308", kShipHead + "  STATUS Landed Earth\n  POS 1e308 2\nEND\nEND_SHIPS\n",
         "line 4: POS: 1e+308 is out of range"},
        {"RPOS beyond the finite state",
         kShipHead + "  STATUS Orbiting Earth\n  RPOS 7e6 -1e200 0\n  RVEL 0 7000 0\nEND\nEND_SHIPS\n",
         "line 4: RPOS: -1e+200 is out of range"},
        {"RVEL of 1e308",
         kShipHead + "  STATUS Orbiting Earth\n  RPOS 7e6 0 0\n  RVEL 0 1e308 0\nEND\nEND_SHIPS\n",
         "line 5: RVEL: 1e+308 is out of range"},
        {"ALT of 1e308", kShipHead + "  STATUS Landed Earth\n  ALT 1e308\nEND\nEND_SHIPS\n", "line 4: ALT"},
        {"unknown body", kShipHead + "  STATUS Landed Mars\nEND\nEND_SHIPS\n",
         "line 3: STATUS: unknown body \"Mars\""},
        {"surface base", kShipHead + "  STATUS Landed Earth\n  BASE Habana:4\nEND\nEND_SHIPS\n",
         "line 4: BASE"},
        {"bad PRPLEVEL", kShipHead + "  STATUS Landed Earth\n  PRPLEVEL 0-1\nEND\nEND_SHIPS\n",
         "line 4: PRPLEVEL"},
        {"ship line without class", "BEGIN_SHIPS\nA:\nEND\nEND_SHIPS\n",
         "line 2: ship line \"A:\" without a class"},
        {"unknown class", "BEGIN_SHIPS\nA:NoSuchClass\nEND\nEND_SHIPS\n", "Config/Vessels/NoSuchClass.cfg"},
        {"class name leaving the root", "BEGIN_SHIPS\nA:../../etc/passwd\nEND\nEND_SHIPS\n",
         "not a valid name"},
        {"duplicate vessel name", kShipHead + "END\nA:HostTestVessel\nEND\nEND_SHIPS\n",
         "line 4: a vessel named \"A\" exists"},
    };
    TestRoot root;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        root.write("Scenarios/bad.scn", c.text);
        orb::World world(root.path());
        std::string msg = errorOf([&] { world.loadScenario("bad"); });
        std::string file = (root.path() / "Scenarios" / "bad.scn").string();
        EXPECT_EQ(msg.rfind(file + ": ", 0), 0u) << msg;
        EXPECT_NE(msg.find(c.expected), std::string::npos) << msg;
        // The world is still usable: no half-made vessel is left behind and stepping works.
        for (size_t i = 0; i < world.vesselCount(); ++i)
            EXPECT_NE(world.vessel(world.vesselHandle(i)), nullptr);
        world.runSteps(2);
    }
}

TEST(BadInput, MissingScenarioRootAndClassFile) {
    TestRoot root;
    EXPECT_NE(
        errorOf([&] { orb::World w(root.path() / "nowhere"); }).find("nowhere: not an installation root"),
        std::string::npos);
    orb::World world(root.path());
    EXPECT_NE(errorOf([&] {
                  world.loadScenario("Missing/scenario");
              }).find("Scenarios/Missing/scenario.scn: scenario not found"),
              std::string::npos);
    std::string msg = errorOf([&] { world.createVessel("X", "Nope", "STATUS Landed Earth\n"); });
    EXPECT_NE(msg.find((root.path() / "Config/Vessels/Nope.cfg").string() +
                       ": class configuration of \"Nope\" not found"),
              std::string::npos)
        << msg;
    EXPECT_EQ(world.vesselCount(), 0u);
}

TEST(BadInput, MalformedClassFilesNameTheFileAndLine) {
    struct Case {
        const char* what;
        std::string cfg;
        const char* expected;
    } cases[] = {
        {"size not a number", "Module = HostTestVessel\nSize = big\n", "line 2: Size: expected a number"},
        {"two touchdown points", "TouchdownPoints = 0 0 1  0 0 2\n",
         "line 1: TouchdownPoints: expected 9 numbers"},
        {"focus flag", "EnableFocus = maybe\n", "line 1: EnableFocus: expected TRUE or FALSE"},
        {"missing mesh", "MeshName = NoMesh\n", "Meshes/NoMesh.msh not found"},
        {"binary", std::string("Size\0= 3", 8), "not a text file"},
        {"missing module", "Module = NoModule\n", "Modules/NoModule.so: module not found"},
        {"module leaving the root", "Module = ../../x\n", "module \"../../x\" is not a valid name"},
    };
    TestRoot root;
    std::string cfgPath = (root.path() / "Config" / "Vessels" / "Broken.cfg").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        root.write("Config/Vessels/Broken.cfg", c.cfg);
        orb::World world(root.path());
        std::string msg =
            errorOf([&] { world.createVessel("B", "Broken", "STATUS Landed Earth\nPOS 1 2\n"); });
        EXPECT_NE(msg.find(c.expected), std::string::npos) << msg;
        if (std::string(c.what).find("module") == std::string::npos) {
            EXPECT_EQ(msg.rfind(cfgPath, 0), 0u) << msg;
        }
        EXPECT_EQ(world.vesselCount(), 0u);
        // A half-made vessel got its ovcExit: every ovcInit has its ovcExit.
        EXPECT_EQ(linesWith(world.log(), "B ovcInit").size(), linesWith(world.log(), "B ovcExit").size());
    }
}

TEST(BadInput, BrokenModuleFilesNameTheFile) {
    TestRoot root;
    std::string good = (root.path() / "Modules" / "HostTestVessel.so").string();
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Case {
        const char* what;
        std::string content;
        const char* expected;
    } cases[] = {
        {"truncated library", bytes.substr(0, 200), "cannot load the module"},
        // Cut inside its loaded segments: dlopen maps them from the file and the process died of SIGBUS.
        {"library cut at 10,000 bytes", bytes.substr(0, 10000), "the file is truncated"},
        {"not a library", "this is text", "cannot load the module"},
        {"empty file", "", "cannot load the module"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        root.write("Modules/Broken.so", c.content);
        root.write("Config/Vessels/Broken.cfg", "Module = Broken\n");
        orb::World world(root.path());
        std::string msg = errorOf([&] { world.createVessel("B", "Broken", "STATUS Landed Earth\n"); });
        std::string file = (root.path() / "Modules" / "Broken.so").string();
        EXPECT_EQ(msg.rfind(file + ": ", 0), 0u) << msg;
        EXPECT_NE(msg.find(c.expected), std::string::npos) << msg;
    }
}

// Wherever a library is cut, loading it either works or is refused with the file's name; it never kills the
// host.
TEST(BadInput, ModulesCutAnywhereNeverCrashTheHost) {
    TestRoot root;
    std::string good = (root.path() / "Modules" / "HostTestVessel.so").string();
    std::ifstream in(good, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string file = (root.path() / "Modules" / "Cut.so").string();
    root.write("Config/Vessels/Cut.cfg", "Module = Cut\n");
    for (size_t length = 0; length < bytes.size(); length += 997) {
        SCOPED_TRACE(length);
        root.write("Modules/Cut.so", bytes.substr(0, length));
        orb::World world(root.path());
        std::string msg = errorOf([&] { world.createVessel("C", "Cut", "STATUS Landed Earth\n"); });
        if (!msg.empty()) {
            EXPECT_EQ(msg.rfind(file + ": cannot load the module: ", 0), 0u) << msg;
        }
    }
}

TEST(BadInput, ModulesPassingForeignHandlesAreIgnored) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 1 2\n");
    int dummy = 0;
    char* line = nullptr;
    EXPECT_FALSE(oapiReadScenario_nextline(&dummy, line));
    oapiWriteScenario_int(&dummy, text("X"), 1);
    EXPECT_EQ(oapiGetVesselInterface(&dummy), nullptr);
    EXPECT_FALSE(oapiDeleteVessel(&dummy));
    double h = 0;
    EXPECT_FALSE(oapiGetHeading(nullptr, &h));
    EXPECT_EQ(oapiCreateVessel("Z", "NoSuchClass", VESSELSTATUS{}), nullptr);
    EXPECT_EQ(linesWith(world.log(), "NoSuchClass.cfg").size(), 1u) << "the failed creation is logged";
    VESSEL* a = world.vessel("A");
    a->SetThrusterLevel(&dummy, 1.0);
    EXPECT_EQ(a->GetThrusterGroupLevel(THGROUP_TYPE(99)), 0.0);
    EXPECT_EQ(a->GetPropellantMass(nullptr), 0.0);
}

} // namespace

// The simulator's call sequence as a module sees it: creation, the per-step order, creation and deletion
// during a step, focus and keys, plain vessels, and the end of the session.
#include "HostTestVessel.h"
#include "TestRoot.h"
#include "orbhost/World.h"

#include <gtest/gtest.h>

namespace {

const char* kTwoVessels =
    "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 51544.5\nEND_ENVIRONMENT\n"
    "BEGIN_FOCUS\n  Ship B\nEND_FOCUS\n"
    "BEGIN_SHIPS\n"
    "A:HostTestVessel\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 0\n  PRPLEVEL 0:1\nEND\n"
    "B:HostTestVessel\n  STATUS Landed Earth\n  POS 11 20\n  HEADING 0\n  PRPLEVEL 0:1\nEND\n"
    "END_SHIPS\n";

// The log lines from `first` on, up to (not including) the line `until`.
std::vector<std::string> slice(const std::vector<std::string>& log, int first, int until) {
    return {log.begin() + first, log.begin() + until};
}

TEST(CallSequence, CreationStepsAndEnd) {
    TestRoot root;
    orb::World world(root.path());
    world.loadScenarioText(kTwoVessels);
    const auto& log = world.log();
    int init = indexOf(log, "HostTestVessel InitModule");
    ASSERT_GE(init, 0);
    // Each vessel is created completely (the class caps before its own lines), then post-creation for all,
    // then the focus vessel named by the scenario learns it has the focus.
    EXPECT_EQ(log[size_t(init) + 1], "Module HostTestVessel.so [Build ******, API 060425]");
    std::vector<std::string> expected = {"A ovcInit",      "A SetClassCaps", "A LoadStateEx",
                                         "B ovcInit",      "B SetClassCaps", "B LoadStateEx",
                                         "A PostCreation", "B PostCreation", "B FocusChanged 1"};
    EXPECT_EQ(slice(log, init + 2, int(log.size())), expected);
    EXPECT_EQ(linesWith(log, "InitModule").size(), 1u) << "the module is loaded once for both vessels";

    size_t before = log.size();
    world.step(0.02);
    world.step(0.02);
    expected = {"A PreStep 0.000 0.020 0.000",  "B PreStep 0.000 0.020 0.000", "A PostStep 0.020 0.020 0.000",
                "B PostStep 0.020 0.020 0.000", "A PreStep 0.020 0.020 0.020", "B PreStep 0.020 0.020 0.020",
                "A PostStep 0.040 0.020 0.020", "B PostStep 0.040 0.020 0.020"};
    EXPECT_EQ(slice(log, int(before), int(log.size())), expected);

    before = log.size();
    world.end();
    expected = {"A ovcExit", "B ovcExit", "HostTestVessel ExitModule"};
    EXPECT_EQ(slice(log, int(before), int(log.size())), expected);
    EXPECT_EQ(world.vesselCount(), 0u);
}

TEST(CallSequence, VesselCreatedInAStepIsUsableAtOnceAndCalledBackFromTheNextStep) {
    for (const char* kind : {"SPAWN", "SPAWN_PRE"}) {
        SCOPED_TRACE(kind);
        TestRoot root;
        orb::World world(root.path());
        world.createVessel("A", "HostTestVessel",
                           std::string("STATUS Landed Earth\nPOS 10 20\n") + kind + " C 0.04\n");
        world.runSteps(4); // the spawn happens in step 2 (post-step at 0.04) or step 3 (pre-step at 0.04)
        const auto& log = world.log();
        int spawned = indexOf(log, "A Spawned C usable");
        ASSERT_GE(spawned, 0) << "oapiGetVesselInterface must give the new vessel at once";
        int created = indexOf(log, "C PostCreation");
        EXPECT_GE(created, 0);
        EXPECT_LT(created, spawned) << "the whole creation runs inside oapiCreateVessel";
        // No callback of C in the step in which it was made; its first pre-step is the next step's.
        auto cSteps = linesWith(log, "C P");
        cSteps.erase(std::remove(cSteps.begin(), cSteps.end(), "C PostCreation"), cSteps.end());
        ASSERT_FALSE(cSteps.empty());
        double spawnStepStart = std::string(kind) == "SPAWN" ? 0.02 : 0.04;
        char expect[64];
        std::snprintf(expect, sizeof expect, "C PreStep %.3f 0.020 %.3f", spawnStepStart + 0.02,
                      spawnStepStart + 0.02);
        EXPECT_EQ(cSteps.front(), expect);
        EXPECT_NE(world.findVessel("C"), nullptr);
        ASSERT_EQ(world.events().size(), 2u);
        EXPECT_EQ(world.events()[1].name, "C");
        EXPECT_EQ(world.events()[1].kind, orb::VesselEvent::Kind::Created);
    }
}

TEST(CallSequence, DeletionWaitsUntilAfterEveryPostStep) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\nDELETE_AT 0.06\n");
    world.createVessel("B", "HostTestVessel", "STATUS Landed Earth\nPOS 10 21\nKILL C 0.04\n");
    world.createVessel("C", "HostTestVessel", "STATUS Landed Earth\nPOS 10 22\n");
    world.runSteps(3);
    const auto& log = world.log();
    int requested = indexOf(log, "A DeleteRequested");
    int killed = indexOf(log, "B Kill C ok");
    ASSERT_GE(requested, 0);
    ASSERT_GE(killed, 0);
    // B still steps after A asked for its deletion; C, deleted in B's pre-step, still gets its post-step.
    int lastPost = indexOf(log, "C PostStep 0.060 0.020 0.040");
    int exitA = indexOf(log, "A ovcExit");
    int exitC = indexOf(log, "C ovcExit");
    ASSERT_GE(lastPost, 0);
    EXPECT_GT(exitA, lastPost);
    EXPECT_GT(exitC, lastPost);
    EXPECT_GE(indexOf(log, "B PostStep 0.060 0.020 0.040", requested), 0);
    // Afterwards A and C are gone and get no more callbacks.
    EXPECT_EQ(world.vesselCount(), 1u);
    EXPECT_EQ(world.findVessel("A"), nullptr);
    EXPECT_EQ(world.findVessel("C"), nullptr);
    world.runSteps(1);
    EXPECT_EQ(linesWith(log, "A PreStep").size(), 3u);
    EXPECT_FALSE(world.sessionEnded());
}

TEST(CallSequence, NamesFindTheirVesselAfterCreationsAndDeletions) {
    TestRoot root;
    orb::World world(root.path());
    for (int i = 0; i < 300; ++i)
        world.createVessel("N" + std::to_string(i), "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n");
    for (int i = 0; i < 300; i += 3)
        oapiDeleteVessel(world.findVessel("N" + std::to_string(i)));
    world.step();
    ASSERT_EQ(world.vesselCount(), 200u);
    for (int i = 0; i < 300; ++i) {
        const std::string name = "N" + std::to_string(i);
        VESSEL* v = world.vessel(name);
        if (i % 3 == 0)
            EXPECT_EQ(v, nullptr) << name;
        else
            EXPECT_TRUE(v && v->GetName() == name) << name;
    }
    // A deleted vessel's name is free again.
    EXPECT_NE(world.createVessel("N0", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n"), nullptr);
    EXPECT_EQ(world.findVessel("N0"), world.vesselHandle(200));

    // A module may make a vessel of the name that the vessel it is loading will have: the name then finds
    // the first in the list, and the other once the first is gone.
    world.createVessel("Twin", "HostTestVessel", "STATUS Landed Earth\nPOS 10 21\nSPAWN_AT_LOAD Twin\n");
    ASSERT_EQ(world.vesselCount(), 203u);
    OBJHANDLE first = world.vesselHandle(201), second = world.vesselHandle(202);
    EXPECT_EQ(world.findVessel("Twin"), first);
    oapiDeleteVessel(first);
    world.step();
    EXPECT_EQ(world.findVessel("Twin"), second);
    oapiDeleteVessel(second);
    world.step();
    EXPECT_EQ(world.findVessel("Twin"), nullptr);
}

TEST(CallSequence, AVesselDeletingItselfOutsideAStepGoesWhenItsCallbackHasReturned) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("Keep", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n");
    EXPECT_EQ(
        world.createVessel("Gone", "HostTestVessel", "STATUS Landed Earth\nPOS 10 21\nDELETE_AT_CREATION\n"),
        nullptr);
    int post = indexOf(world.log(), "Gone PostCreation");
    ASSERT_GE(post, 0);
    EXPECT_GT(indexOf(world.log(), "Gone ovcExit"), post);
    EXPECT_EQ(world.vesselCount(), 1u);
    world.step();
}

TEST(CallSequence, DeletingTheFocusMovesItAndDeletingTheLastVesselEndsTheSession) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\nDELETE_AT 0.02\n");
    world.createVessel("B", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20.1\nDELETE_AT 0.04\n");
    ASSERT_EQ(world.focus(), world.findVessel("A"));
    world.step();
    EXPECT_EQ(world.focus(), world.findVessel("B"));
    EXPECT_GE(indexOf(world.log(), "B FocusChanged 1"), 0);
    EXPECT_FALSE(world.sessionEnded());
    world.step();
    EXPECT_TRUE(world.sessionEnded());
    EXPECT_EQ(world.focus(), nullptr);
}

TEST(CallSequence, BufferedKeysGoToTheFocusVesselWithTheirModifiers) {
    TestRoot root;
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n");
    world.createVessel("B", "HostTestVessel", "STATUS Landed Earth\nPOS 10 21\n");
    world.sendKey(OAPI_KEY_O, orb::ModShift | orb::ModCtrl);
    world.step();
    world.step();
    EXPECT_EQ(linesWith(world.log(), " Key "),
              (std::vector<std::string>{"A Key 24 down shift ctrl", "A Key 24 up"}));
    // The key arrives at the start of the step, before the pre-steps.
    EXPECT_LT(indexOf(world.log(), "A Key 24 down shift ctrl"),
              indexOf(world.log(), "A PreStep 0.000 0.020 0.000"));
    EXPECT_EQ(world.moduleAs<HostTestVessel>("A")->keysDown, 1);
}

TEST(CallSequence, ClassWithoutModuleOrWithoutObjectGivesAPlainVessel) {
    TestRoot root;
    orb::World world(root.path());
    OBJHANDLE plain =
        world.createVessel("P", "PlainVessel", "STATUS Landed Earth\nPOS 10 20\nPRPLEVEL 0:1\n");
    OBJHANDLE nullObj = world.createVessel("NullOne", "HostTestVessel", "STATUS Landed Earth\nPOS 10 21\n");
    EXPECT_TRUE(world.isPlain(plain));
    EXPECT_TRUE(world.isPlain(nullObj));
    EXPECT_EQ(world.vessel("P")->Version(), 0);
    // The class file's generic keys apply to a plain vessel.
    EXPECT_DOUBLE_EQ(world.vessel("P")->GetSize(), 3.0);
    EXPECT_DOUBLE_EQ(world.vessel("P")->GetEmptyMass(), 100.0);
    EXPECT_EQ(linesWith(world.log(), "gave no vessel").size(), 1u);
    world.runSteps(5);
    EXPECT_TRUE(world.isLanded(plain));
    std::string saved = world.saveText();
    EXPECT_NE(saved.find("P:PlainVessel\r\n  STATUS Landed Earth\r\n"), std::string::npos);
    EXPECT_NE(saved.find("NullOne:HostTestVessel\r\n  STATUS Landed Earth\r\n"), std::string::npos);
}

TEST(CallSequence, AnOverlongClassFileValueIsCutToTheModulesBuffer) {
    TestRoot root;
    root.write("Config/Vessels/HostTestVessel.cfg",
               "Module = HostTestVessel\nNote = " + std::string(400, 'x') + "\n");
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n");
    EXPECT_EQ(world.moduleAs<HostTestVessel>("A")->cfgNote, std::string(255, 'x'));
}

TEST(CallSequence, ModulesReadTheirClassFileAndTheGenericKeysOverrideTheirCaps) {
    TestRoot root;
    root.write("Config/Vessels/HostTestVessel.cfg", "Module = HostTestVessel\nNote = from the class file\n"
                                                    "Size = 7.5\nMass = 1234\nEND_PARSE\nSize = 99\n");
    orb::World world(root.path());
    world.createVessel("A", "HostTestVessel", "STATUS Landed Earth\nPOS 10 20\n");
    auto* a = world.moduleAs<HostTestVessel>("A");
    EXPECT_EQ(a->cfgNote, "from the class file");
    EXPECT_DOUBLE_EQ(a->GetSize(), 7.5) << "Size after clbkSetClassCaps, lines after END_PARSE ignored";
    EXPECT_DOUBLE_EQ(a->GetEmptyMass(), 1234);
}

} // namespace

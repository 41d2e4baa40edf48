// The class set-up as the host sees it: body, main engine, exhaust flame and stream, the attitude thrusters
// of each model, and the contrail's particle-stream settings.
#include "MissileWorld.h"

using namespace missiletest;

class MissileSetup : public MissileTest {};

TEST_F(MissileSetup, BodyMainEngineAndExhaust) {
    const OBJHANDLE h = Create("M", PadLines(0, "REALISTIC 0\n"));
    const Teski* m = Missile("M");
    const VESSEL* v = world->vessel("M");
    EXPECT_EQ(v->GetSize(), 7.0);
    EXPECT_EQ(v->GetEmptyMass(), 4008.0);
    VECTOR3 co;
    v->GetCameraOffset(co);
    EXPECT_EQ(co.y, 1.512);

    ASSERT_NE(m->thMain, nullptr);
    EXPECT_EQ(m->mainGroupList[0], m->thMain);
    EXPECT_EQ(v->GetThrusterMax0(m->thMain), 315000.0);
    EXPECT_EQ(v->GetThrusterIsp0(m->thMain), 2520.0);
    EXPECT_EQ(v->GetPropellantMaxMass(v->GetThrusterResource(m->thMain)), 8797.0);
    VECTOR3 pos, dir;
    v->GetThrusterRef(m->thMain, pos);
    v->GetThrusterDir(m->thMain, dir);
    EXPECT_EQ(pos.z, -6.613);
    EXPECT_EQ(dir.z, 1.0);
    EXPECT_EQ(v->GetGroupThrusterCount(THGROUP_MAIN), 1u);

    const auto& flames = world->exhausts(h);
    ASSERT_EQ(flames.size(), 1u);
    EXPECT_EQ(flames[0].lscale, 6.0);
    EXPECT_EQ(flames[0].wscale, 0.8);
    EXPECT_EQ(flames[0].pos.z, -8.0);
    EXPECT_EQ(flames[0].dir.z, -1.0);

    const auto& streams = world->streams(h);
    ASSERT_EQ(streams.size(), 1u); // the nozzle stream; the contrail comes only in flight
    EXPECT_EQ(streams[0].pos.z, -6.613);
    EXPECT_EQ(streams[0].spec.srcsize, 1.0);
    EXPECT_EQ(streams[0].spec.srcrate, 25.0);
    EXPECT_EQ(streams[0].spec.ltype, PARTICLESTREAMSPEC::DIFFUSE);
    EXPECT_EQ(streams[0].spec.atmsmap, PARTICLESTREAMSPEC::ATM_PLOG);
    EXPECT_EQ(streams[0].spec.amax, 1.25);
}

TEST_F(MissileSetup, AttitudeThrustersOfBothModels) {
    Create("S", PadLines(0, "REALISTIC 0\n"));
    Create("R", PadLines(0, "REALISTIC 1\n"));
    const VESSEL* s = world->vessel("S");
    const VESSEL* r = world->vessel("R");
    const Teski* ms = Missile("S");
    const Teski* mr = Missile("R");

    // Simple: pairs of 30 N thrusters 6 m out, on a 1 kg tank of their own.
    const THRUSTER_HANDLE yaw = s->GetGroupThruster(ms->thgYawLeft, 0);
    EXPECT_EQ(s->GetThrusterMax0(yaw), 30.0);
    EXPECT_EQ(s->GetThrusterIsp0(yaw), 4.9e7);
    EXPECT_EQ(s->GetPropellantMaxMass(s->GetThrusterResource(yaw)), 1.0);
    EXPECT_EQ(s->GetGroupThrusterCount(ms->thgPitchUp), 2u);
    EXPECT_EQ(s->GetGroupThrusterCount(THGROUP_ATT_YAWLEFT), 2u);

    // Realistic: vanes and rudders at the tail; the user groups are not bound to any host type.
    EXPECT_EQ(r->GetGroupThrusterCount(mr->thgUpperRudderYawLeft), 1u);
    const THRUSTER_HANDLE rudder = r->GetGroupThruster(mr->thgUpperRudderYawLeft, 0);
    EXPECT_EQ(r->GetThrusterMax0(rudder), 400.0);
    VECTOR3 pos, dir;
    r->GetThrusterRef(rudder, pos);
    r->GetThrusterDir(rudder, dir);
    EXPECT_EQ(pos.y, 1.6);
    EXPECT_EQ(pos.z, -7.0);
    EXPECT_EQ(dir.x, 1.0);
    EXPECT_EQ(r->GetGroupThrusterCount(THGROUP_ATT_YAWLEFT), 1u); // the lower vane only
    EXPECT_EQ(r->GetThrusterMax0(r->GetGroupThruster(mr->thgPitchDown, 1)), 200.0);
    EXPECT_EQ(r->GetThrusterMax0(r->GetGroupThruster(mr->thgBankLeft, 0)), 400.0);
    VECTOR3 rd;
    r->GetRotDrag(rd);
    EXPECT_EQ(rd.x, 0.7);
}

TEST_F(MissileSetup, ContrailStreamSettings) {
    const OBJHANDLE h = Create("M", PadLines(0, "REALISTIC 1\nRELIABILITY 100\n"));
    world->sendKey(OAPI_KEY_O);
    ASSERT_TRUE(world->runUntil([&] { return Missile("M")->contrailActive; }, 60));
    const orb::StreamRecord c = world->streams(h).back();
    EXPECT_TRUE(c.active);
    EXPECT_EQ(c.pos.z, -25.0);
    EXPECT_EQ(c.spec.srcsize, 5.0);
    EXPECT_EQ(c.spec.srcrate, 100.0);
    EXPECT_EQ(c.spec.v0, 500.0);
    EXPECT_EQ(c.spec.lifetime, 30.0);
    EXPECT_EQ(c.spec.atmslowdown, 1000.0);
    EXPECT_EQ(c.spec.ltype, PARTICLESTREAMSPEC::EMISSIVE);
    EXPECT_EQ(c.spec.levelmap, PARTICLESTREAMSPEC::LVL_PSQRT);
    EXPECT_EQ(c.spec.amin, 0.000001);
    EXPECT_EQ(c.spec.amax, 0.1);
}

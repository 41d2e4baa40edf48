// The vessel's part lists and the step's shortcuts: handles (element addresses) stay valid and turn back into
// their indices, and walking only the lit thrusters flies exactly as walking every thruster did.
#include "TestVessels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>
#include <thread>
#include <vector>

using namespace orb::phys;
using namespace orb::phys::test;

namespace {

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool sameBits(Vec3 a, Vec3 b) {
    return sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.z, b.z);
}

} // namespace

TEST(PooledMemory, RecordsOfOneSizeLieSideBySideAndFreedOnesComeBack) {
    if (!pooledSideBySide()) GTEST_SKIP() << "each record has its own heap block in this build";
    constexpr size_t kBytes = sizeof(Body), kSlot = (sizeof(Body) + 63) / 64 * 64;
    std::vector<char*> records;
    for (int i = 0; i < 100; ++i) {
        records.push_back(static_cast<char*>(pooledAllocate(kBytes)));
        std::memset(records.back(), i, kBytes);
    }
    int adjacent = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(records[i]) % 64, 0u) << i;
        if (i > 0 && records[i] == records[i - 1] + kSlot) ++adjacent;
    }
    EXPECT_GE(adjacent, 98) << "at most one step to a new region";
    for (size_t i = 0; i < records.size(); ++i)
        EXPECT_TRUE(std::all_of(records[i], records[i] + kBytes, [&](char c) { return c == char(i); })) << i;

    std::vector<char*> freed(records.begin() + 40, records.begin() + 50), again;
    for (char* p : freed)
        pooledFree(p, kBytes);
    for (int i = 0; i < 10; ++i)
        again.push_back(static_cast<char*>(pooledAllocate(kBytes)));
    std::sort(freed.begin(), freed.end());
    std::sort(again.begin(), again.end());
    EXPECT_EQ(again, freed);
    for (char* p : records)
        pooledFree(p, kBytes);
}

TEST(PooledMemory, AnySizeFromAnyThreadKeepsItsBytes) {
    // Sizes from nothing to past the pooled ones, four threads allocating and freeing at once.
    const size_t sizes[] = {0, 1, 24, 64, 65, 168, 1128, 1664, kPooledMax, kPooledMax + 1, 100000};
    auto work = [&](int seed, bool& sound) {
        std::vector<std::pair<unsigned char*, size_t>> held;
        for (int round = 0; round < 2000; ++round) {
            const size_t n = sizes[size_t(seed + round) % std::size(sizes)];
            auto* p = static_cast<unsigned char*>(pooledAllocate(n));
            if (reinterpret_cast<std::uintptr_t>(p) % 64 != 0) sound = false;
            std::memset(p, seed, n);
            held.emplace_back(p, n);
            if (round % 3 == 2) {
                auto [q, m] = held[held.size() / 2];
                if (!std::all_of(q, q + m, [&](unsigned char c) { return c == seed; })) sound = false;
                pooledFree(q, m);
                held.erase(held.begin() + long(held.size() / 2));
            }
        }
        for (auto [q, m] : held) {
            if (!std::all_of(q, q + m, [&](unsigned char c) { return c == seed; })) sound = false;
            pooledFree(q, m);
        }
    };
    bool sound[4] = {true, true, true, true};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(work, t + 1, std::ref(sound[t]));
    for (auto& t : threads)
        t.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_TRUE(sound[t]) << "thread " << t;
}

TEST(StableList, AddressesSurviveGrowthAndTurnBackIntoIndices) {
    StableList<Thruster> list;
    std::vector<const Thruster*> addresses;
    // Past several blocks (16, 32, 64, 128 elements).
    for (int i = 0; i < 200; ++i) {
        Thruster t;
        t.maxThrust = i;
        list.push_back(t);
        addresses.push_back(&list.back());
    }
    ASSERT_EQ(list.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(&list[size_t(i)], addresses[size_t(i)]) << i;
        EXPECT_EQ(list[size_t(i)].maxThrust, i);
        EXPECT_EQ(list.indexOf(addresses[size_t(i)]), i);
    }
    int walked = 0;
    for (const Thruster& t : list)
        EXPECT_EQ(t.maxThrust, walked++);
    EXPECT_EQ(walked, 200);

    // What is not an element's address is no handle of this list.
    Thruster outside;
    const char* inside = reinterpret_cast<const char*>(addresses[3]) + 8;
    const void* notHandles[] = {nullptr, &outside, inside, addresses[199] + 1 /* capacity beyond the size */};
    for (const void* p : notHandles)
        EXPECT_EQ(list.indexOf(p), -1) << p;

    // A moved list keeps its elements where they were; a copy has its own.
    StableList<Thruster> moved = std::move(list);
    EXPECT_EQ(&moved[150], addresses[150]);
    EXPECT_EQ(moved.indexOf(addresses[150]), 150);
    StableList<Thruster> copy = moved;
    EXPECT_EQ(copy.size(), 200u);
    EXPECT_NE(&copy[150], addresses[150]);
    EXPECT_EQ(copy[150].maxThrust, 150);
    EXPECT_EQ(copy.indexOf(addresses[150]), -1);
}

// A vessel with many thrusters lit in no particular order, through single levels and groups, some switched
// off again and one on an empty tank, flies bit for bit as when every thruster is walked in index order.
TEST(PhysicsThrust, WalkingOnlyTheLitThrustersChangesNoBit) {
    auto configure = [](Body& b) {
        b.size = 4;
        b.emptyMass = 2000;
        b.pmi = {3, 3, 1.5};
        int full = addTank(b, 800), empty = addTank(b, 100, 0);
        for (int i = 0; i < 40; ++i) {
            double a = 0.3 * i;
            addThruster(b, {std::cos(a), std::sin(a), -2.0 + 0.1 * i}, {0.1 * std::sin(a), 0.2, 1},
                        500 + 37.0 * i, i == 23 ? empty : full, 2800 + i, 2400, 101.4e3);
        }
        int pair[2] = {31, 5}, trio[3] = {17, 2, 39};
        addGroup(b, 7, pair, 2);
        addGroup(b, 8, trio, 3);
        Vec3 pos{0, 0, kEarthRadius + 8000};
        setFreeFlight(b, pos, cross(b.planet->frameAt(0).omega, pos) + Vec3{30, 0, 200}, {0.2, 0.1, 0.3}, {},
                      0);
    };
    auto command = [](Body& b, int s) {
        setThrusterLevel(b, 29, 0.7);
        setThrusterLevel(b, 23, 1.0); // empty tank: switched off by the step
        setGroupLevel(b, 1, 0.4 + 0.01 * s);
        setThrusterLevel(b, 0, s % 3 == 0 ? 0.0 : 0.9);
        if (s == 4) setGroupLevel(b, 0, 1.0);
        if (s == 7) setThrusterLevel(b, 31, 0.0);
        setThrusterLevel(b, 12, s < 5 ? 0.25 : 0.0);
    };
    Body lit, every;
    configure(lit);
    configure(every);
    for (int s = 0; s < 10; ++s) {
        command(lit, s);
        command(every, s);
        every.litThrusters.resize(every.thrusters.size());
        std::iota(every.litThrusters.begin(), every.litThrusters.end(), 0);
        step(lit, lit.simt, kDt);
        step(every, every.simt, kDt);
        ASSERT_TRUE(sameBits(lit.pos, every.pos) && sameBits(lit.vel, every.vel) &&
                    sameBits(lit.omega, every.omega) && sameBits(lit.mass, every.mass))
            << "step " << s;
        for (size_t i = 0; i < lit.thrusters.size(); ++i)
            ASSERT_EQ(lit.thrusters[i].level, every.thrusters[i].level);
    }
    EXPECT_EQ(lit.thrusters[23].level, 0.0);
    EXPECT_LT(lit.tanks[0].mass, 800.0);
}

// The set of live vessel handles against a plain std::set: growth, handles removed and added again, and
// probe chains that run over removed handles.
#include "core/HandleSet.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

TEST(HandleSet, AgreesWithAnOrderedSetThroughGrowthAndRemovals) {
    std::vector<char> objects(20000 * 16); // addresses as vessels have them: 16 bytes apart at least
    std::mt19937 random(15);
    orb::HandleSet handles;
    std::set<const void*> expected;
    for (int round = 0; round < 200000; ++round) {
        const void* p = &objects[(random() % 20000) * 16];
        const unsigned what = random() % 8;
        if (what < 4) {
            handles.insert(p);
            expected.insert(p);
        } else if (what < 6) {
            handles.erase(p);
            expected.erase(p);
        }
        const void* asked = &objects[(random() % 20000) * 16];
        ASSERT_EQ(handles.contains(asked), expected.count(asked) == 1) << "round " << round;
    }
    for (size_t i = 0; i < 20000; ++i)
        ASSERT_EQ(handles.contains(&objects[i * 16]), expected.count(&objects[i * 16]) == 1) << i;
}

TEST(HandleSet, NothingAndForeignAddressesAreNeverHandles) {
    orb::HandleSet handles;
    int a = 0, b = 0;
    EXPECT_FALSE(handles.contains(nullptr));
    EXPECT_FALSE(handles.contains(&a));
    handles.insert(nullptr);
    handles.insert(&a);
    handles.insert(&a);
    EXPECT_FALSE(handles.contains(nullptr));
    EXPECT_TRUE(handles.contains(&a));
    EXPECT_FALSE(handles.contains(&b));
    handles.erase(&a);
    handles.erase(&b);
    EXPECT_FALSE(handles.contains(&a));
}

#include <gtest/gtest.h>

#include "tracking.h"

using namespace tamtest;

TEST(Object, LivesUntilLastReferenceIsDroppedOrHandedOverOwnsAndReplacesItsUserData) {
    DeathCounter counter;
    auto* group = new TrackedGroup(counter);
    EXPECT_EQ(group->getRefCount(), 0u);
    group->ref();
    group->ref();
    EXPECT_EQ(group->unref(), 1u);
    EXPECT_EQ(group->unrefNoDelete(), 0u);
    EXPECT_EQ(counter.deaths, 0);
    group->unref();  // from zero: deleted
    EXPECT_EQ(counter.deaths, 1);

    DeathCounter records;
    sglGeode geode;
    auto* first = new TrackedUserData(records);
    geode.setUserData(first);
    EXPECT_EQ(geode.getUserData(), first);
    geode.setUserData(first);  // the same record again is kept, not deleted
    EXPECT_EQ(records.deaths, 0);
    geode.setUserData(new TrackedUserData(records));
    EXPECT_EQ(records.deaths, 1);
    geode.setUserData(nullptr);
    EXPECT_EQ(records.deaths, 2);
    EXPECT_EQ(geode.getUserData(), nullptr);
}

#include <gtest/gtest.h>

#include "tracking.h"

using namespace tamtest;

TEST(GroupOwnership, DeletingGroupDeletesOwnedSubtreeWhichRefusesNullSelfAndAncestors) {
    DeathCounter counter;
    auto* root = new TrackedGroup(counter);
    auto* inner = new TrackedGroup(counter);
    EXPECT_TRUE(root->addChild(inner, true));
    EXPECT_TRUE(inner->addChild(new TrackedGeode(counter), true));
    EXPECT_TRUE(inner->addChild(new TrackedGeode(counter), true));
    EXPECT_EQ(inner->getRefCount(), 1u);
    EXPECT_FALSE(root->addChild(nullptr, true));
    EXPECT_FALSE(root->addChild(root, true));
    EXPECT_FALSE(inner->addChild(root, true));
    EXPECT_EQ(root->getRefCount(), 0u);
    EXPECT_EQ(root->getNumChildren(), 1u);
    root->unref();
    EXPECT_EQ(counter.deaths, 4);
}

TEST(GroupOwnership, ChildSharedByTwoGroupsOutlivesFirstARemovedChildIsReleased) {
    DeathCounter counter;
    auto* a = new sglGroup;
    auto* b = new sglGroup;
    auto* shared = new TrackedGeode(counter);
    a->addChild(shared, true);
    b->addChild(shared, true);
    EXPECT_EQ(shared->getRefCount(), 2u);
    EXPECT_EQ(shared->getNumParents(), 2u);
    a->unref();
    EXPECT_EQ(counter.deaths, 0);
    EXPECT_EQ(shared->getNumParents(), 1u);
    EXPECT_EQ(shared->getParent(0), b);
    b->unref();
    EXPECT_EQ(counter.deaths, 1);

    sglGroup group;
    auto* kept = new TrackedGeode(counter);
    kept->ref();  // the test keeps its own reference
    group.addChild(kept, true);
    group.addChild(new TrackedGeode(counter), true);
    EXPECT_TRUE(group.removeChildAt(1));
    EXPECT_EQ(counter.deaths, 2);
    EXPECT_TRUE(group.removeChild(kept));
    EXPECT_EQ(counter.deaths, 2);
    EXPECT_EQ(kept->getNumParents(), 0u);
    EXPECT_FALSE(group.removeChild(kept));
    EXPECT_FALSE(group.removeChildAt(0));
    kept->unref();
    EXPECT_EQ(counter.deaths, 3);
}

TEST(GroupOwnership, ReplaceChildKeepsPlaceAndOwnershipAnUnownedOneStaysWithItsOwner) {
    DeathCounter counter;
    auto* root = new sglGroup;
    auto* first = new TrackedGeode(counter);
    auto* middle = new TrackedGeode(counter);
    auto* last = new TrackedGeode(counter);
    root->addChild(first, true);
    root->addChild(middle, true);
    root->addChild(last, true);
    auto* replacement = new TrackedGroup(counter);
    EXPECT_TRUE(root->replaceChild(middle, replacement));
    EXPECT_EQ(counter.deaths, 1);  // the owned child is released
    EXPECT_EQ(root->getNumChildren(), 3u);
    EXPECT_EQ(root->getChild(0), first);
    EXPECT_EQ(root->getChild(1), replacement);
    EXPECT_EQ(root->getChild(2), last);
    EXPECT_EQ(replacement->getRefCount(), 1u);
    EXPECT_EQ(replacement->getParent(0), root);
    EXPECT_FALSE(root->replaceChild(middle, last));  // absent: nothing done
    EXPECT_FALSE(replacement->replaceChild(first, nullptr));
    EXPECT_FALSE(replacement->replaceChild(first, root));  // an ancestor
    root->unref();
    EXPECT_EQ(counter.deaths, 4);
    // Replacing an unowned child leaves both with their owners.
    sglGroup group;
    auto* kept = new sglGeode;
    kept->ref();
    group.addChild(kept, false);
    auto* stranger = new sglGeode;
    stranger->ref();
    EXPECT_TRUE(group.replaceChild(kept, stranger));
    EXPECT_EQ(kept->getNumParents(), 0u);
    kept->unref();
    EXPECT_EQ(stranger->getRefCount(), 1u);  // still only the test's reference
    stranger->unref();                       // the dying child leaves the group
    EXPECT_EQ(group.getNumChildren(), 0u);
}

TEST(GroupMetadata, PairsAreOrderedAndUnique) {
    sglGroup group;
    group.addMetaProperty(L"b", L"1");
    group.addMetaProperty(L"a", L"2");
    group.addMetaProperty(L"a", L"1");
    group.addMetaProperty(L"a", L"1");
    using Pairs = std::vector<std::pair<std::wstring, std::wstring>>;
    const auto& meta = group.getMetaProperties();
    EXPECT_EQ(Pairs(meta.begin(), meta.end()), (Pairs{{L"a", L"1"}, {L"a", L"2"}, {L"b", L"1"}}));
    group.clearMetaProperties();
    EXPECT_TRUE(group.getMetaProperties().empty());
}

TEST(GeodeOwnership, DrawablesDieWithTheirLastGeode) {
    DeathCounter counter;
    auto* a = new sglGeode;
    auto* b = new sglGeode;
    auto* points = new TrackedPointSet(counter);
    a->addGeometry(points);
    b->addGeometry(points);
    a->addGeometry(nullptr);
    EXPECT_EQ(a->getNumGeometries(), 1u);
    EXPECT_EQ(points->getRefCount(), 2u);
    a->unref();
    EXPECT_EQ(counter.deaths, 0);
    EXPECT_TRUE(b->removeGeometry(points));
    EXPECT_EQ(counter.deaths, 1);
    EXPECT_FALSE(b->removeGeometry(points));
    EXPECT_EQ(b->getGeometry(0), nullptr);
    b->unref();
}

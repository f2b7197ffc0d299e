#include <gtest/gtest.h>

#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>

#include "tracking.h"

using tamtest::DeathCounter;
using tamtest::TrackedGroup;

TEST(DBRoot, OwnsItsSceneRootReleasesAReplacedOrClearedOneEvenItsOwnChildSharesItsXml) {
    DeathCounter deaths;
    auto* root = new CTamDBRoot;
    EXPECT_EQ(root->GetSglRoot(), nullptr);
    auto* first = new TrackedGroup(deaths);
    root->SetSglRoot(first);
    root->SetSglRoot(first);  // the same root again keeps one reference
    EXPECT_EQ(root->GetSglRoot(), first);
    EXPECT_EQ(first->getRefCount(), 1u);
    root->SetSglRoot(new TrackedGroup(deaths));
    EXPECT_EQ(deaths.deaths, 1);
    root->SetSglRoot(nullptr);
    EXPECT_EQ(deaths.deaths, 2);
    EXPECT_EQ(root->GetSglRoot(), nullptr);
    // The new root may be a child of the old one.
    auto* outer = new TrackedGroup(deaths);
    auto* inner = new TrackedGroup(deaths);
    outer->addChild(inner, true);
    root->SetSglRoot(outer);
    root->SetSglRoot(inner);
    EXPECT_EQ(deaths.deaths, 3);
    EXPECT_EQ(inner->getRefCount(), 1u);
    EXPECT_EQ(inner->getNumParents(), 0u);
    // The XML document is shared; its type is opaque here, an aliasing pointer stands for one.
    EXPECT_EQ(root->GetXMLDoc(), nullptr);
    auto owner = std::make_shared<int>(7);
    std::shared_ptr<CTamXmlParserDocu> doc(owner, nullptr);
    root->SetXMLDoc(doc);
    EXPECT_EQ(owner.use_count(), 3);
    delete root;
    EXPECT_EQ(deaths.deaths, 4);
    EXPECT_EQ(owner.use_count(), 2);
}

#include <gtest/gtest.h>

#include <tamsg/sglGroup.h>
#include <tamsgdb/CTamDBRoot.h>

namespace {

class CountedGroup : public sglGroup {
public:
    explicit CountedGroup(int& deaths) : m_deaths(deaths) {}
    ~CountedGroup() override { ++m_deaths; }

private:
    int& m_deaths;
};

}  // namespace

TEST(DBRoot, OwnsItsSceneRoot) {
    int deaths = 0;
    auto* root = new CTamDBRoot;
    EXPECT_EQ(root->GetSglRoot(), nullptr);
    auto* group = new CountedGroup(deaths);
    root->SetSglRoot(group);
    EXPECT_EQ(root->GetSglRoot(), group);
    EXPECT_EQ(group->getRefCount(), 1u);
    delete root;
    EXPECT_EQ(deaths, 1);
}

TEST(DBRoot, ReplacingOrClearingReleasesThePreviousRoot) {
    int deaths = 0;
    CTamDBRoot root;
    auto* first = new CountedGroup(deaths);
    root.SetSglRoot(first);
    root.SetSglRoot(first);  // the same root again keeps one reference
    EXPECT_EQ(first->getRefCount(), 1u);
    root.SetSglRoot(new CountedGroup(deaths));
    EXPECT_EQ(deaths, 1);
    root.SetSglRoot(nullptr);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(root.GetSglRoot(), nullptr);
}

TEST(DBRoot, NewRootMayBeAChildOfTheOldOne) {
    int deaths = 0;
    CTamDBRoot root;
    auto* outer = new CountedGroup(deaths);
    auto* inner = new CountedGroup(deaths);
    outer->addChild(inner, true);
    root.SetSglRoot(outer);
    root.SetSglRoot(inner);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(inner->getRefCount(), 1u);
    EXPECT_EQ(inner->getNumParents(), 0u);
}

TEST(DBRoot, SharesTheXmlDocument) {
    CTamDBRoot root;
    EXPECT_EQ(root.GetXMLDoc(), nullptr);
    // The document type is opaque here; an aliasing pointer stands for one.
    auto owner = std::make_shared<int>(7);
    std::shared_ptr<CTamXmlParserDocu> doc(owner, nullptr);
    root.SetXMLDoc(doc);
    EXPECT_EQ(owner.use_count(), 3);
    root.SetXMLDoc(nullptr);
    EXPECT_EQ(owner.use_count(), 2);
}

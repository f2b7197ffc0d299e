// Colors, properties, property sets and the manager settings block.
#include <tamtools/CTamColor.h>
#include <tamtools/CTamIOManager.h>
#include <tamtools/CTamKBatchProperties.h>
#include <tamtools/CTamPropColor.h>
#include <tamtools/CTamPropString.h>
#include <tamtools/CTamXmlParserDocu.h>
#include <tamtools/CTamXmlParserNode.h>

#include "xml_test_support.h"

#include <gtest/gtest.h>

TEST(TamColor, TextFormReadsBackRejectsOtherTextAndFloatsAreClamped) {
    const CTamColor orange(255, 128, 0, 255);
    EXPECT_EQ(orange.ToText(), L"255 128 0 255");
    CTamColor read;
    EXPECT_TRUE(read.FromText(L" 255 128 0 255 "));
    EXPECT_EQ(read, orange);
    for (const wchar_t* bad : {L"", L"255 128 0", L"256 0 0 0", L"1 2 3 4 5", L"a b c d",
                               L"-1 0 0 0", L"1,2,3,4", L"00001 0 0 0"}) {
        CTamColor unchanged(1, 2, 3, 4);
        EXPECT_FALSE(unchanged.FromText(bad));
        EXPECT_EQ(unchanged, CTamColor(1, 2, 3, 4));
    }
    // Floats are clamped and rounded.
    const CTamColor c = CTamColor::FromFloats(1.5f, 0.5f, -1.0f);
    EXPECT_EQ(c, CTamColor(255, 128, 0, 255));
    EXPECT_FLOAT_EQ(c.GetFloat(0), 1.0f);
    EXPECT_FLOAT_EQ(c.GetFloat(9), 0.0f);
}

// Saved names and colors read back: the product XML reader tests write and read them.
TEST(TamProperty, RefusesWhatItCannotWriteOrRead) {
    CTamXmlParserDocu doc;
    auto parent = doc.initialize()->AddNode(L"P");
    EXPECT_FALSE(CTamPropString(L"bad name").Save(parent));
    EXPECT_FALSE(CTamPropString(L"Good").Save(nullptr));
    EXPECT_FALSE(CTamPropString(L"Good").Save(std::make_shared<CTamXmlParserNode>()));
    EXPECT_TRUE(parent->getChildNodes().empty());

    auto unknown = parent->AddNode(L"X");
    unknown->AddAttribute(L"Type", L"Matrix");
    EXPECT_EQ(CTamProperty::CreateFromXML(unknown), nullptr);
    auto badColor = parent->AddNode(L"C");
    badColor->AddAttribute(L"Type", L"Color");
    badColor->AddAttribute(L"Value", L"red");
    EXPECT_EQ(CTamProperty::CreateFromXML(badColor), nullptr);
    EXPECT_EQ(CTamProperty::CreateFromXML(nullptr), nullptr);
}

TEST(TamKBatchProperties, SettingsFileRoundTrip) {
    tamtest::ScratchFolder folder;
    CTamKBatchProperties settings;
    settings.SetProperty(std::make_unique<CTamPropString>(L"IO.Units", L"mm"));
    settings.SetProperty(std::make_unique<CTamPropColor>(L"View.Background", CTamColor(1, 2, 3)));
    settings.SetProperty(std::make_unique<CTamPropString>(L"IO.Units", L"inch"));  // replaces
    settings.SetProperty(nullptr);
    ASSERT_EQ(settings.GetCount(), 2u);
    const std::wstring path = folder.file("settings.xml");
    ASSERT_TRUE(settings.SaveToXML(path));

    CTamKBatchProperties back;
    ASSERT_TRUE(back.LoadFromXML(path));
    ASSERT_EQ(back.GetCount(), 2u);
    EXPECT_EQ(back.GetProperty(L"IO.Units")->GetValueText(), L"inch");
    EXPECT_EQ(back.GetProperty(L"View.Background")->GetValueText(), L"1 2 3 255");
    EXPECT_EQ(back.GetProperty(L"Missing"), nullptr);
    EXPECT_FALSE(back.LoadFromXML(folder.file("absent.xml")));
    EXPECT_EQ(back.GetCount(), 2u);
}

TEST(TamIOManager, ManagerPropertiesReadBack) {
    CTamKBatchProperties settings;
    settings.SetProperty(std::make_unique<CTamPropString>(L"IO.Units", L"mm"));
    CTamXmlParserDocu doc;
    auto rvd = doc.initialize()->AddNode(L"DocumentRVD");
    ASSERT_TRUE(CTamIOManager::AddManagerProperties(rvd, 2, settings));
    EXPECT_EQ(rvd->GetNodeByTag(L"ManagerProperties")->GetAttributeValue(L"Product"), L"2");

    unsigned int product = 0;
    CTamKBatchProperties back;
    ASSERT_TRUE(CTamIOManager::GetManagerProperties(rvd, product, back));
    EXPECT_EQ(product, 2u);
    EXPECT_EQ(back.GetProperty(L"IO.Units")->GetValueText(), L"mm");

    EXPECT_FALSE(CTamIOManager::AddManagerProperties(nullptr, 2, settings));
    EXPECT_FALSE(CTamIOManager::GetManagerProperties(doc.getRootNode(), product, back));
}

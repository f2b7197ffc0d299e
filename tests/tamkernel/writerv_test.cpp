#include <gtest/gtest.h>

#include <platform/CodePage.h>
#include <platform/WideFile.h>
#include <tamkernel/CTam2DManager.h>

#include "scratch_folder.h"

namespace {

class WriteRVDTest : public ::testing::Test {
protected:
    tamtest::ScratchFolder m_scratch;
    const std::wstring m_dir = m_scratch.folder();
};

}  // namespace

TEST_F(WriteRVDTest, WritesADocumentReferringToTheDrawingUnderItsTitle) {
    const std::wstring source = m_dir + L"\\plan <A&B>.dxf";
    ASSERT_TRUE(tam::WriteFileBytes(source, "0\nSECTION\n"));
    const std::wstring target = m_dir + L"\\plan.rvdXml";
    CTam2DManager manager;
    ASSERT_TRUE(manager.WriteRVD(CString(source), CString(target), CString()));
    std::string xml;
    ASSERT_TRUE(tam::ReadFileBytes(target, xml));
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_NE(xml.find("<DocumentRVD Version=\"7.900000\""), std::string::npos);
    EXPECT_NE(xml.find("Name=\"plan &lt;A&amp;B&gt;.dxf\""), std::string::npos);
    ASSERT_TRUE(manager.WriteRVD(CString(source), CString(target), CString(L"Ground \"floor\"")));
    ASSERT_TRUE(tam::ReadFileBytes(target, xml));
    EXPECT_NE(xml.find("Name=\"Ground &quot;floor&quot;\""), std::string::npos);
}

TEST_F(WriteRVDTest, MissingSourceOrBadTargetWritesNothing) {
    CTam2DManager manager;
    const std::wstring target = m_dir + L"/none.rvdXml";
    EXPECT_FALSE(manager.WriteRVD(CString(m_dir + L"/missing.dxf"), CString(target), CString()));
    EXPECT_FALSE(tam::PathExists(target));
    EXPECT_FALSE(manager.WriteRVD(CString(m_dir), CString(target), CString()));
    const std::wstring source = m_dir + L"/d.dxf";
    ASSERT_TRUE(tam::WriteFileBytes(source, "x"));
    EXPECT_FALSE(
        manager.WriteRVD(CString(source), CString(m_dir + L"/no/dir/x.rvdXml"), CString()));
    EXPECT_FALSE(manager.WriteRVD(CString(source), CString(), CString()));
}

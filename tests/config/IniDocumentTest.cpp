#include <gtest/gtest.h>

#include "IniDocument.h"

using zeb::CIniDocument;

namespace {

const QByteArray kSample =
    "; written by hand\n"
    "[INI_SECTION_PROPERTY]\n"
    "INI_KEY_COMPANY_NAME=Acme Labs\n"
    "INI_KEY_TEST_PLACE=\n"
    "\n"
    "[INI_SECTION_TEST_INFO]\n"
    "INI_KEY_TEMPERATURE= 23 deg.C \n"
    "# kept\n"
    "\n";

TEST(IniDocument, ReadsWithProfileSemantics) {
    const CIniDocument doc = CIniDocument::FromBytes(kSample);
    EXPECT_EQ(doc.Value("ini_section_property", "ini_key_company_name"), QString("Acme Labs"));
    // Present but empty is empty, not missing.
    ASSERT_TRUE(doc.Value("INI_SECTION_PROPERTY", "INI_KEY_TEST_PLACE").has_value());
    EXPECT_TRUE(doc.Value("INI_SECTION_PROPERTY", "INI_KEY_TEST_PLACE")->isEmpty());
    // Values are literal, blanks included.
    EXPECT_EQ(doc.Value("INI_SECTION_TEST_INFO", "INI_KEY_TEMPERATURE"), QString(" 23 deg.C "));
    EXPECT_FALSE(doc.Value("INI_SECTION_TEST_INFO", "INI_KEY_COMPANY_NAME"));
    EXPECT_FALSE(doc.Value("NO_SECTION", "INI_KEY_COMPANY_NAME"));
}

TEST(IniDocument, WritesKeepEveryOtherLine) {
    CIniDocument doc = CIniDocument::FromBytes(kSample);
    ASSERT_TRUE(doc.SetValue("ini_section_property", "INI_KEY_COMPANY_NAME", "New; = [x]"));
    ASSERT_TRUE(doc.SetValue("INI_SECTION_PROPERTY", "INI_KEY_NEW", "v"));
    ASSERT_TRUE(doc.SetValue("INI_SECTION_MDICHILD_X", "INI_KEY_MDICHILD_X", "12"));
    EXPECT_EQ(doc.ToBytes(), QByteArray("; written by hand\n"
                                        "[INI_SECTION_PROPERTY]\n"
                                        "INI_KEY_COMPANY_NAME=New; = [x]\n"
                                        "INI_KEY_TEST_PLACE=\n"
                                        "INI_KEY_NEW=v\n"
                                        "\n"
                                        "[INI_SECTION_TEST_INFO]\n"
                                        "INI_KEY_TEMPERATURE= 23 deg.C \n"
                                        "# kept\n"
                                        "\n"
                                        "[INI_SECTION_MDICHILD_X]\n"
                                        "INI_KEY_MDICHILD_X=12\n"));
    const CIniDocument again = CIniDocument::FromBytes(doc.ToBytes());
    EXPECT_EQ(again.Value("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME"), QString("New; = [x]"));
}

TEST(IniDocument, LineBreaksInAValueCannotInjectKeys) {
    CIniDocument doc;
    ASSERT_TRUE(doc.SetValue("S", "K", "one\r\n[S]\nK2=two"));
    const CIniDocument again = CIniDocument::FromBytes(doc.ToBytes());
    EXPECT_EQ(again.Value("S", "K"), QString("one [S] K2=two"));
    EXPECT_FALSE(again.Value("S", "K2"));
}

TEST(IniDocument, RefusesNamesThatCannotBeStored) {
    CIniDocument doc;
    EXPECT_FALSE(doc.SetValue("", "K", "v"));
    EXPECT_FALSE(doc.SetValue("A]B", "K", "v"));
    EXPECT_FALSE(doc.SetValue("S", "K=1", "v"));
    EXPECT_FALSE(doc.SetValue("S", "K\n", "v"));
    EXPECT_TRUE(doc.ToBytes().isEmpty());
}

TEST(IniDocument, KeepsBomCrLfAndBytesThatAreNotUtf8) {
    const QByteArray content("\xEF\xBB\xBF[A]\r\nX=\xFF\xFE raw\r\n[B]\r\nY=1\r\n");
    CIniDocument doc = CIniDocument::FromBytes(content);
    EXPECT_EQ(doc.Value("A", "X")->right(3), QString("raw"));
    ASSERT_TRUE(doc.SetValue("B", "Y",
                             QString::fromUtf8("2 \xC2\xB0"
                                               "C")));
    EXPECT_EQ(doc.ToBytes(), QByteArray("\xEF\xBB\xBF[A]\r\nX=\xFF\xFE raw\r\n[B]\r\nY=2 "
                                        "\xC2\xB0"
                                        "C\r\n"));
}

TEST(IniDocument, FirstOfDuplicateSectionsAndKeysWins) {
    CIniDocument doc = CIniDocument::FromBytes("[S]\nK=1\nK=2\n[s]\nK=3\n");
    EXPECT_EQ(doc.Value("S", "k"), QString("1"));
    ASSERT_TRUE(doc.SetValue("S", "K", "9"));
    EXPECT_EQ(doc.ToBytes(), QByteArray("[S]\nK=9\nK=2\n[s]\nK=3\n"));
}

}  // namespace

#include <gtest/gtest.h>

#include "config/ConfigRules.h"

namespace {

TEST(DefaultConfigContent, IsTheFiftyBytesOfTheFiveLines) {
    EXPECT_EQ(DefaultConfigContent.size(), 50u);
    EXPECT_EQ(DefaultConfigContent.substr(0, 8), "[data]\r\n");
    EXPECT_EQ(DefaultConfigContent.substr(42), "Number=1");  // no final line end
}

struct DirectoryCase {
    std::string path, directory;
};

class RunDirectory : public testing::TestWithParam<DirectoryCase> {};

TEST_P(RunDirectory, IsEverythingBeforeTheLastBackslash) {
    EXPECT_EQ(runDirectoryOf(GetParam().path), GetParam().directory);
}

// "\x95\x5C" is a GBK character whose trail byte is a backslash.
INSTANTIATE_TEST_SUITE_P(Table, RunDirectory, testing::Values(
    DirectoryCase{"C:\\Program Files\\Wenlo\\WenloScanner.exe", "C:\\Program Files\\Wenlo"},
    DirectoryCase{"C:\\WenloScanner.exe", "C:"},
    DirectoryCase{"D:\\\x95\x5C\\a.exe", "D:\\\x95\x5C"},
    DirectoryCase{"D:\\\x95\x5C" "dir\\a.exe", "D:\\\x95\x5C" "dir"},
    DirectoryCase{"D:\\扫描\\a.exe", "D:\\扫描"},
    DirectoryCase{"\\\\server\\share\\a.exe", "\\\\server\\share"},
    DirectoryCase{"a.exe", "a.exe"}));

TEST(LeadingBlanks, SkipsControlCharactersAndSpacesOnly) {
    EXPECT_EQ(skipLeadingBlanks(" \t\r\n\x01 data "), "data ");
    EXPECT_EQ(skipLeadingBlanks("\x7F" "x"), "\x7F" "x");
    EXPECT_EQ(skipLeadingBlanks("   "), "");
    EXPECT_EQ(skipLeadingBlanks("\xA1\xA1x"), "\xA1\xA1x");
}

}  // namespace

// The settings file, with real files in temporary folders.
#include <gtest/gtest.h>

#include "config/ConfigFile.h"
#include "config/ConfigRules.h"
#include "tests/support/WineTestSupport.h"

namespace {

class SettingsFile : public testing::Test {
protected:
    TempFolder folder;
    ConfigFile config{folder.path()};
    std::string path() const { return folder.file("WLconfig.ini"); }
};

TEST_F(SettingsFile, AFreshFolderGetsExactlyTheDefaultsWhichReadBack) {
    config.ensureConfigFile();
    EXPECT_EQ(readFile(path()), DefaultConfigContent);
    EXPECT_EQ(config.readConfigValue("data", "PortA"), "1223");
    EXPECT_EQ(config.readConfigValue("data", "PortB"), "1224");
    EXPECT_EQ(config.readConfigValue("data", "Button"), "0");
    EXPECT_EQ(config.readConfigValue("data", "Number"), "1");  // the last line has no line end
    EXPECT_EQ(config.readConfigValue("data", "Missing"), "");
    EXPECT_EQ(config.readConfigValue("other", "PortA"), "");
}

TEST_F(SettingsFile, AnExistingFileIsNeverRewritten) {
    for (const std::string& content : {std::string(), std::string("[data]\r\nButton=1\r\n"),
                                      std::string("\x00\xFF garbage", 10)}) {
        writeFile(path(), content);
        config.ensureConfigFile();
        EXPECT_EQ(readFile(path()), content);
    }
    EXPECT_EQ(config.readConfigValue("data", "Button"), "");
}

TEST_F(SettingsFile, ADirectoryOfThatNameCountsAsTheFileAndReadsEmpty) {
    ASSERT_TRUE(CreateDirectoryA(path().c_str(), nullptr));
    config.ensureConfigFile();
    EXPECT_TRUE(GetFileAttributesA(path().c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    for (const char* key : {"PortA", "PortB", "Button", "Number"}) EXPECT_EQ(config.readConfigValue("data", key), "");
}

TEST_F(SettingsFile, ValuesAreTakenAsTheReaderReturnsThem) {
    writeFile(path(), "[data]\r\nPortA=5000\r\nNumber=\xA3\xB2\r\nButton=00\r\nLong=" + std::string(12000, 'v'));
    EXPECT_EQ(config.readConfigValue("data", "PortA"), "5000");
    EXPECT_EQ(config.readConfigValue("data", "Number"), "\xA3\xB2");
    EXPECT_EQ(config.readConfigValue("data", "Button"), "00");
    EXPECT_EQ(config.readConfigValue("data", "Long"), std::string(10239, 'v'));
    EXPECT_EQ(config.readConfigValue("  data", "\tPortA"), "5000");  // leading blanks skipped
    EXPECT_EQ(config.readConfigValue(" ", "PortA"), "");
    EXPECT_EQ(config.readConfigValue("data", ""), "");
}

TEST(SettingsFolder, AFolderWhoseNameEndsInABackslashTrailByteStillGetsTheFile) {
    // "\x95\x5C" is one GBK character; its second byte is a backslash.
    TempFolder folder("-\x95\x5C");
    ASSERT_TRUE(fileExists(folder.path()));
    const std::string exePath = folder.file("WenloScanner.exe");
    ConfigFile config(runDirectoryOf(exePath));
    EXPECT_EQ(config.runDirectory(), folder.path());
    config.ensureConfigFile();
    EXPECT_EQ(readFile(folder.file("WLconfig.ini")), DefaultConfigContent);
    EXPECT_EQ(config.readConfigValue("data", "Number"), "1");
}

TEST(SettingsFolder, TheExecutablesDirectoryHoldsThisTest) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string directory = executableDirectory();
    EXPECT_EQ(directory + "\\config_tests.exe", path);
}

}  // namespace

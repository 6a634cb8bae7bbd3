#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "ui/UiRules.h"

namespace {

TEST(HelpText, IsThe213BytesOfThirteenLines) {
    EXPECT_EQ(HelpText.size(), 213u);
    EXPECT_EQ(HelpText.substr(0, 2), "\r\n");
    EXPECT_NE(HelpText.substr(HelpText.size() - 2), "\r\n");
    std::size_t lines = 1;
    for (std::size_t at = HelpText.find("\r\n"); at != std::string_view::npos; at = HelpText.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 13u);
    EXPECT_NE(HelpText.find("\xA3\xAC"), std::string_view::npos);  // the full-width comma
}

TEST(Texts, AreGbkBytes) {
    EXPECT_EQ(CopySucceeded, "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1");
    EXPECT_EQ(CloseQuestionTitle, "\xCC\xE1\xCA\xBE");
}

TEST(TrayActions, MapTheShellsMouseMessages) {
    EXPECT_EQ(trayActionOf(0x0202), TrayAction::LeftUp);
    EXPECT_EQ(trayActionOf(0x0203), TrayAction::LeftDoubleClick);
    EXPECT_EQ(trayActionOf(0x0205), TrayAction::RightUp);
    EXPECT_EQ(trayActionOf(0x007B), TrayAction::RightUp);
    EXPECT_EQ(trayActionOf(0x0201), std::nullopt);
    EXPECT_EQ(trayActionOf(0x0200), std::nullopt);
}

TEST(CloseAnswer, OnlyOkOrAFailedBoxAllowsTheClose) {
    EXPECT_TRUE(closeAllowed(1));   // IDOK
    EXPECT_TRUE(closeAllowed(0));   // the box failed
    EXPECT_TRUE(closeAllowed(10));  // anything else
    for (int refusing = 2; refusing <= 7; ++refusing) EXPECT_FALSE(closeAllowed(refusing)) << refusing;
}

TEST(TrayIconImage, HasTheIconLayoutTheTrayNeeds) {
    std::ifstream file(SOURCE_DIR "/ui/scanner.ico", std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 4286u);
    const auto image = firstIconImage(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bytes - bytes.data(), 22);
    EXPECT_EQ(image->size, 4264u);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);
    EXPECT_EQ(image->bitsPerPixel, 32);
}

TEST(TrayIconImage, RejectsMalformedFiles) {
    std::vector<unsigned char> bytes(22 + 40, 0);
    EXPECT_FALSE(firstIconImage(bytes.data(), 10));
    EXPECT_FALSE(firstIconImage(bytes.data(), bytes.size()));  // resource type 0
    bytes[2] = 1, bytes[4] = 1, bytes[6 + 8] = 40, bytes[6 + 12] = 23;  // runs past the end
    EXPECT_FALSE(firstIconImage(bytes.data(), bytes.size()));
}

}  // namespace

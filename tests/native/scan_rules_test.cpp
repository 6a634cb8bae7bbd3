#include <gtest/gtest.h>

#include "app/ScanRules.h"

namespace {

struct SplitCase {
    const char* name;
    std::string text;
    TextArray expected;
};

// "\xB0\x5B" is a double-byte character whose trail byte is '['.
const SplitCase splitCases[] = {
    {"empty text gives no piece", "", {}},
    {"no separator keeps the whole text", "6901234567892", {"6901234567892"}},
    {"code before the separator", "690123[ScannerGunSplitter]rest", {"690123"}},
    {"separator first gives an empty code", "[ScannerGunSplitter]abc", {""}},
    {"separator alone", "[ScannerGunSplitter]", {""}},
    {"two scans joined: only the first code", "A1[ScannerGunSplitter]x\r\nB2[ScannerGunSplitter]y", {"A1"}},
    {"double-byte code before it", "条码[ScannerGunSplitter]", {"条码"}},
    {"straddling a double-byte character is no match", "\xB0[ScannerGunSplitter]", {"\xB0[ScannerGunSplitter]"}},
    {"matched right after a whole double-byte character", "\xB0\x5B[ScannerGunSplitter]", {"\xB0\x5B"}},
    {"a lead byte right before the end", "abc\xB0", {"abc\xB0"}},
    {"shorter than the separator", "[ScannerGun", {"[ScannerGun"}},
    {"separator cut off at the end", "x[ScannerGunSplitte", {"x[ScannerGunSplitte"}},
};

class SplitRules : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitRules, SplitsOnTheFirstSeparatorAtACharacterBoundary) {
    EXPECT_EQ(splitFirstPiece(GetParam().text, ScanSplitter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitRules, testing::ValuesIn(splitCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

struct CountCase {
    std::string text;
    int32_t expected;
};

const CountCase countCases[] = {
    {"3", 3},
    {"2.9", 2},
    {"1", 1},
    {"１２", 12},          // full-width digits (row 0xA3)
    {"２", 2},
    {"\xA1\xA1" "4", 4},   // full-width space skipped like a blank
    {" 1e1", 10},
    {"\t+5x", 5},
    {"-2", -2},
    {"-1", -1},
    {"abc", 0},
    {"", 0},
    {".5", 0},
    {"1e", 1},             // an exponent without digits is not read
    {"4294967297", 1},     // only the low 32 bits count
    {"4294967295", -1},
    {"2147483648", INT32_MIN},
    {"1e30", 0},           // beyond 64 bits: the indefinite integer, low bits 0
    {"0x10", 0},           // no hexadecimal form
    {"inf", 0},
    {"数字3", 0},
};

class NumberRules : public testing::TestWithParam<CountCase> {};

TEST_P(NumberRules, ReadsTheRepeatCount) {
    EXPECT_EQ(repeatCount(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, NumberRules, testing::ValuesIn(countCases));

TEST(FullWidthMapping, MapsTheGb2312SignsAndKeepsOtherCharacters) {
    EXPECT_EQ(mapFullWidth("\xA3\xB1\xA3\xC1\xA1\xA1\xA1\xAB\xA1\xEE\xA1\xEF"), "1A ~**");
    EXPECT_EQ(mapFullWidth("条码"), "条码");
    EXPECT_EQ(mapFullWidth("a\xA3"), "a\xA3");  // a lone lead byte at the end
}

TEST(Decoding, StopsAtTheFirstZeroByte) {
    const char bytes[] = {'a', 'b', 0, 'c', 'd'};
    EXPECT_EQ(decodeArrival(bytes, sizeof bytes), "ab");
    EXPECT_EQ(decodeArrival(bytes, 2), "ab");
    EXPECT_EQ(decodeArrival(bytes + 2, 3), "");
    EXPECT_EQ(decodeArrival("x", 0), "");
}

}  // namespace

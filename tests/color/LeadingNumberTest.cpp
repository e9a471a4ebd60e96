#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "NonFinite.h"
#include "color/NumberRules.h"

namespace {

using color::ParseLeadingNumber;


struct Case {
    const char* text;
    double expected;
};

void ExpectAll(const Case* begin, const Case* end)
{
    for (const Case* c = begin; c != end; ++c) {
        const double v = ParseLeadingNumber(c->text);
        EXPECT_EQ(v, c->expected) << '"' << c->text << '"';
        EXPECT_FALSE(std::signbit(v) && v == 0.0) << '"' << c->text << "\" read -0";
    }
}

template <size_t N>
void ExpectAll(const Case (&cases)[N])
{
    ExpectAll(cases, cases + N);
}

TEST(ParseLeadingNumber, TextWithoutANumberReadsZero)
{
    const Case cases[] = {
        {"", 0},   {" ", 0},  {"\t\n", 0}, {"-", 0},  {"+", 0},   {".", 0},   {"-.", 0},
        {"abc", 0}, {"e5", 0}, {"x12", 0},  {"--5", 0}, {"+-5", 0}, {"&", 0},   {"&H", 0},
        {"&O", 0}, {"&X12", 0}, {"-0", 0},  {"-0.0e5", 0}, {"\r5", 0}, {"\v5", 0}, {"$5", 0},
    };
    ExpectAll(cases);
}

TEST(ParseLeadingNumber, StopsAtTheFirstCharacterThatDoesNotFit)
{
    const Case cases[] = {
        {"12abc", 12}, {"3.7", 3.7}, {"-5", -5},  {"+5", 5},      {"255", 255}, {"180x", 180},
        {"1.2.3", 1.2}, {"7-3", 7},  {"50%", 50}, {"1,5", 1},     {"12\r\n", 12},
        {".5", 0.5},   {"-.25", -0.25}, {"5.", 5}, {"007", 7},    {"0.000", 0},   {"360", 360},
    };
    ExpectAll(cases);
    // A NUL inside the text ends the number like any other stranger.
    EXPECT_EQ(ParseLeadingNumber(std::string_view("4\0" "2", 3)), 4);
}

TEST(ParseLeadingNumber, BlanksTabsAndLineFeedsAreSkippedEverywhere)
{
    const Case cases[] = {
        {"  42", 42},    {"\t42\n", 42},  {"4 2", 42},      {"- 5", -5},    {"1 2 . 5", 12.5},
        {"1e 2", 100},   {"1e- 2", 0.01}, {"1 e2", 100},    {"& H F F", 255}, {" 255 ", 255},
        {"\n\n-\t3", -3}, {"12 abc", 12},
    };
    ExpectAll(cases);
}

TEST(ParseLeadingNumber, Exponents)
{
    const Case cases[] = {
        {"1e2", 100},  {"1E2", 100},   {"2.5e-1", 0.25}, {"1e+3", 1000}, {"1d2", 100}, {"1D-1", 0.1},
        {"12e", 12},   {"12e+", 12},   {"12e-x", 12},    {"12ex", 12},   {"3.5E", 3.5}, {"12dogs", 12},
        {"1e2e3", 100}, {"1e2.5", 100}, {".5e1", 5},     {"1e0400", kInf}, {"-1e400", -kInf},
        {"1e-400", 0}, {"1e99999999999999999999999", kInf}, {"1e-99999999999999999999999", 0},
    };
    ExpectAll(cases);
}

TEST(ParseLeadingNumber, HexadecimalAndOctalPrefixes)
{
    const Case cases[] = {
        {"&HFF", 255},  {"&hff", 255},   {"&H10", 16},      {"&HFFFF", 65535}, {"&H7FFFFFFF", 2147483647.0},
        {"&HFFFFFFFF", 4294967295.0},    {"&H1G", 1},       {"&HFF.5", 255},  {"&O17", 15},
        {"&o777", 511}, {"&O8", 0},      {"&O78", 7},       {"-&H10", 0},     {"&H-1", 0},
        {"&HFFFFFFFFFFFFFFFF", 18446744073709551615.0},     {"&H10000000000000000", 18446744073709551616.0},
    };
    ExpectAll(cases);
}

TEST(ParseLeadingNumber, DecimalsRoundCorrectlyToDouble)
{
    const Case cases[] = {
        {"0.1", 0.1}, {"264.29166666666666", 264.29166666666666}, {"9007199254740993", 9007199254740992.0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()}, {"1.8e308", kInf},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
    };
    ExpectAll(cases);

    // Digits far beyond the kept ones still decide a tie: 2^53 + 1 plus a
    // tiny bit more lies above the midpoint and rounds up.
    const std::string justAbove = "9007199254740993." + std::string(2000, '0') + "1";
    EXPECT_EQ(ParseLeadingNumber(justAbove), 9007199254740994.0);
    const std::string exactTie = "9007199254740993." + std::string(2000, '0');
    EXPECT_EQ(ParseLeadingNumber(exactTie), 9007199254740992.0);
}

TEST(ParseLeadingNumber, MegabyteInputsParseAndKeepTheirScale)
{
    const size_t n = 1 << 20;
    EXPECT_EQ(ParseLeadingNumber(std::string(n, '9')), kInf);
    EXPECT_EQ(ParseLeadingNumber("-" + std::string(n, '1')), -kInf);
    EXPECT_EQ(ParseLeadingNumber(std::string(n, '0') + "17"), 17);
    EXPECT_EQ(ParseLeadingNumber("0." + std::string(n, '0') + "1"), 0);
    EXPECT_EQ(ParseLeadingNumber(std::string(n, ' ') + "8"), 8);
    EXPECT_EQ(ParseLeadingNumber("&H" + std::string(n, 'F')), kInf);
    EXPECT_EQ(ParseLeadingNumber("&O" + std::string(n, '0') + "7"), 7);
    // Leading fraction zeros and a huge exponent cancel exactly.
    EXPECT_EQ(ParseLeadingNumber("0." + std::string(n, '0') + "15e" + std::to_string(n + 1)), 1.5);
    EXPECT_EQ(ParseLeadingNumber("15" + std::string(n, '0') + "e-" + std::to_string(n + 1)), 1.5);
    std::string spaced;
    for (int i = 0; i < 100000; ++i)
        spaced += "1 ";
    EXPECT_EQ(ParseLeadingNumber(spaced), kInf);
}

TEST(ParseLeadingNumber, EveryByteValueIsHandled)
{
    // Single bytes and a digit preceded by each byte: only digits, blanks
    // and number-starting characters may change the result.
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const double alone = ParseLeadingNumber(std::string_view(&c, 1));
        EXPECT_EQ(alone, (b >= '0' && b <= '9') ? b - '0' : 0) << b;
        const std::string prefixed = std::string(1, c) + "7";
        const double v = ParseLeadingNumber(prefixed);
        if (b >= '0' && b <= '9')
            EXPECT_EQ(v, (b - '0') * 10 + 7) << b;
        else if (c == ' ' || c == '\t' || c == '\n' || c == '+' || c == '.')
            EXPECT_EQ(v, c == '.' ? 0.7 : 7) << b;
        else if (c == '-')
            EXPECT_EQ(v, -7);
        else
            EXPECT_EQ(v, 0) << b;
    }
}

} // namespace

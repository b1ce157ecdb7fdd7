#include "quiz/answer_reading.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

struct Reading
{
    const char *name;
    std::string text;
    double expected;
};

void PrintTo(const Reading &r, std::ostream *os)
{
    *os << r.name;
}

class ReadAnswer : public testing::TestWithParam<Reading>
{
};

TEST_P(ReadAnswer, ReadsTheExpectedNumber)
{
    const double value = quiz::readAnswer(GetParam().text);
    EXPECT_EQ(value, GetParam().expected);
}

const Reading readings[] = {
    // Blanks and plain digits
    {"Empty", "", 0},
    {"BlanksOnly", " \t \n ", 0},
    {"Digits", "21", 21},
    {"LeadingBlanks", "   21", 21},
    {"TrailingBlanks", "21  ", 21},
    {"InnerBlanksJoinDigits", "2 1", 21},
    {"TabAndLineFeedJoinDigits", "\t2\n1\t", 21},
    {"CarriageReturnIsNotABlank", "\r21", 0},
    {"LeadingZeros", "00021", 21},
    // What ends a number
    {"TrailingLetters", "21abc", 21},
    {"LeadingLetters", "abc21", 0},
    {"OtherSymbolFirst", "#21", 0},
    {"CommaEndsTheNumber", "21,5", 21},
    {"ThousandsCommaEndsTheNumber", "1,000", 1},
    {"NonAsciiEndsTheNumber", "21\xe2\x82\xac", 21},
    {"FullwidthDigitsAreNotDigits", "\xef\xbc\x92\xef\xbc\x91", 0},
    {"LetterDIsNoExponent", "2D1", 2},
    {"LowerDIsNoExponent", "2d1", 2},
    // Decimals and signs
    {"PointZero", "21.0", 21},
    {"PointFive", "21.5", 21.5},
    {"TrailingPoint", "21.", 21},
    {"LeadingPoint", ".5", 0.5},
    {"PointAlone", ".", 0},
    {"SecondPointEnds", "1.2.3", 1.2},
    {"MinusZero", "-0", 0},
    {"PlusDigits", "+21", 21},
    {"MinusDigits", "-21", -21},
    {"SignAlone", "-", 0},
    {"TwoSigns", "+-21", 0},
    {"SignThenBlankThenDigits", "- 21", -21},
    // Exponents
    {"Exponent", "2.1e1", 21},
    {"UpperExponentWithPlus", "2.1E+1", 21},
    {"NegativeExponent", "210e-1", 21},
    {"ExponentWithoutDigits", "21e", 21},
    {"ExponentSignWithoutDigits", "21e+", 21},
    {"ExponentThenLetters", "2.1e1x5", 21},
    {"ZeroWithHugeExponent", "0e99999999999999999999", 0},
    // Hexadecimal and octal
    {"Hex", "&H15", 21},
    {"HexLowerCase", "&h15", 21},
    {"HexWithBlanks", "& H 1 5", 21},
    {"HexLetterDigits", "&HfF", 255},
    {"HexStopsAtNonHexDigit", "&H1G5", 1},
    {"HexWithoutDigits", "&H", 0},
    {"HexPastSixteenBits", "&H10015", 65557},
    {"HexSixtyFourBits", "&HFFFFFFFFFFFFFFFF", 18446744073709551616.0},
    {"HexHalfwayRoundsToEven", "&H20000000000001", 9007199254740992.0},
    {"HexHalfwayRoundsUpToEven", "&H20000000000003", 9007199254740996.0},
    {"HexDroppedBitsRoundUp", "&H200000000000010000000000000001",
     std::ldexp(9007199254740994.0, 64)},
    {"HexPastDoubleRange", "&H" + std::string(300, 'F'), inf},
    {"Octal", "&O25", 21},
    {"OctalLowerCase", "&o25", 21},
    {"OctalStopsAtEight", "&O178", 15},
    {"OctalPastSixtyFourBits", "&O1" + std::string(30, '0'), std::ldexp(1.0, 90)},
    {"AmpersandDigit", "&15", 0},
    {"AmpersandAlone", "&", 0},
    {"AmpersandOtherLetter", "&X15", 0},
    {"SignBeforeAmpersand", "-&H15", 0},
    // Range and rounding
    {"DecimalTenthRoundsCorrectly", "0.1", 0.1},
    {"HalfwayRoundsToEven", "9007199254740993", 9007199254740992.0},
    {"PastHalfwayRoundsUp", "9007199254740993.000000000000000000001", 9007199254740994.0},
    {"Overflow", "1e400", inf},
    {"NegativeOverflow", "-1e400", -inf},
    {"HugeExponentOverflow", "1e99999999999999999999", inf},
    {"Underflow", "1e-400", 0},
    {"HugeNegativeExponentUnderflow", "5e-99999999999999999999", 0},
    {"SmallestSubnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    {"LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max()},
    {"MillionDigitsOverflow", std::string(1'000'000, '9'), inf},
    {"MillionLeadingZeros", std::string(1'000'000, '0') + "21", 21},
    {"MillionFractionZerosUnderflow", "0." + std::string(1'000'000, '0') + "1", 0},
    {"MillionBlanksBetweenDigits", "2" + std::string(1'000'000, ' ') + "1", 21},
};

INSTANTIATE_TEST_SUITE_P(Table, ReadAnswer, testing::ValuesIn(readings),
                         [](const testing::TestParamInfo<Reading> &test) {
                             return test.param.name;
                         });

} // namespace

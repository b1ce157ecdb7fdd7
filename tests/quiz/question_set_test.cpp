#include "quiz/question_set.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Column = std::array<std::uint8_t, quiz::questionCount>;

/** A draw took more digits than its script held. */
struct ScriptRanDry : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

/** Hands out digits from a script, ten at a time, and counts what was taken. */
class ScriptedSource
{
public:
    /** `attempts` as pairs of columns: the first and the second factors of questions 1 to 10. */
    explicit ScriptedSource(const std::vector<std::pair<Column, Column>> &attempts)
    {
        for (const auto &[first, second] : attempts)
            for (std::size_t q = 0; q < first.size(); ++q) {
                m_digits.push_back(first[q]);
                m_digits.push_back(second[q]);
            }
    }

    /** Throws ScriptRanDry when the script is used up: made-up digits could keep the draw
     * going for ever, and the exception ends it and the test at once. */
    std::array<std::uint8_t, 5> fiveDigitPairs()
    {
        std::array<std::uint8_t, 5> pairs{};
        if (m_taken + 2 * pairs.size() > m_digits.size())
            throw ScriptRanDry("the draw asked for more digits than the script holds (" +
                               std::to_string(m_digits.size()) + " digits)");
        for (auto &pair : pairs) {
            pair = static_cast<std::uint8_t>(10 * m_digits[m_taken] + m_digits[m_taken + 1]);
            m_taken += 2;
        }
        return pairs;
    }

    std::size_t taken() const { return m_taken; }

private:
    std::vector<std::uint8_t> m_digits;
    std::size_t m_taken = 0;
};

constexpr Column permutation{3, 1, 4, 0, 5, 9, 2, 6, 8, 7};
constexpr Column allSevens{7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
constexpr Column oneRepeat{0, 1, 2, 3, 4, 5, 6, 7, 8, 8}; // nine different digits: 44 pairs

bool isPermutation(Column column)
{
    std::sort(column.begin(), column.end());
    return column == Column{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
}

TEST(GenerateQuestionSet, TakesFirstFactorBeforeSecondQuestionByQuestion)
{
    ScriptedSource source({{permutation, allSevens}});
    const auto attempt = quiz::detail::drawAcceptedAttempt(source);
    EXPECT_EQ(attempt.firstFactors, permutation);
    EXPECT_EQ(attempt.secondFactors, allSevens);
    EXPECT_EQ(source.taken(), 20u);
}

TEST(GenerateQuestionSet, RejectsAWholeAttemptAndDrawsTwentyNewDigits)
{
    constexpr Column otherRepeat{9, 8, 7, 6, 5, 4, 3, 2, 1, 9};
    ScriptedSource source(
        {{oneRepeat, otherRepeat}, {allSevens, oneRepeat}, {allSevens, permutation}});
    const auto attempt = quiz::detail::drawAcceptedAttempt(source);
    EXPECT_EQ(source.taken(), 60u);
    EXPECT_EQ(attempt.firstFactors, allSevens);
    EXPECT_EQ(attempt.secondFactors, permutation);
}

struct Rejected
{
    const char *name;
    Column first;
    Column second;
};

void PrintTo(const Rejected &r, std::ostream *os)
{
    *os << r.name;
}

class GenerateQuestionSetRejects : public testing::TestWithParam<Rejected>
{
};

TEST_P(GenerateQuestionSetRejects, AnAttemptWithoutAColumnOfTenDifferentDigits)
{
    const Rejected &r = GetParam();
    ScriptedSource source({{r.first, r.second}});
    EXPECT_THROW(quiz::detail::drawAcceptedAttempt(source), ScriptRanDry);
    EXPECT_EQ(source.taken(), 20u);
}

const Rejected rejections[] = {
    {"AllZeros", {}, {}},
    {"NineDifferentInBoth", oneRepeat, {9, 8, 7, 6, 5, 4, 3, 2, 1, 9}},
    {"NineDifferentAndOneDigit", allSevens, oneRepeat},
    {"EveryDigitSpreadOverBoth", {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}, {5, 6, 7, 8, 9, 5, 6, 7, 8, 9}},
};

INSTANTIATE_TEST_SUITE_P(Table, GenerateQuestionSetRejects, testing::ValuesIn(rejections),
                         [](const testing::TestParamInfo<Rejected> &test) {
                             return test.param.name;
                         });

struct Counting
{
    const char *name;
    Column first;
    Column second;
    int distinctFirstPairs;
    int distinctSecondPairs;
};

void PrintTo(const Counting &c, std::ostream *os)
{
    *os << c.name;
}

class GenerateQuestionSetCounts : public testing::TestWithParam<Counting>
{
};

TEST_P(GenerateQuestionSetCounts, CountsPairsOfDifferentFactors)
{
    const Counting &c = GetParam();
    ScriptedSource source({{c.first, c.second}});
    const auto attempt = quiz::detail::drawAcceptedAttempt(source);
    EXPECT_EQ(attempt.distinctFirstPairs, c.distinctFirstPairs);
    EXPECT_EQ(attempt.distinctSecondPairs, c.distinctSecondPairs);
}

const Counting countings[] = {
    {"BothPermutations", permutation, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 45, 45},
    {"OnlyFirstPermutation", permutation, allSevens, 45, 0},
    {"OnlySecondPermutation", oneRepeat, permutation, 44, 45},
    {"TwoValuesFiveEach", {1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, permutation, 25, 45},
    {"ThreeOfOneDigit", {0, 0, 0, 1, 2, 3, 4, 5, 6, 7}, permutation, 42, 45},
    {"RepeatAtTheEnds", permutation, {5, 1, 2, 3, 4, 0, 6, 7, 8, 5}, 45, 44},
    {"NineOfOneDigit", permutation, {4, 4, 4, 4, 4, 4, 4, 4, 4, 9}, 45, 9},
};

INSTANTIATE_TEST_SUITE_P(Table, GenerateQuestionSetCounts, testing::ValuesIn(countings),
                         [](const testing::TestParamInfo<Counting> &test) {
                             return test.param.name;
                         });

/** Counts the digits taken from a real source. */
struct CountingSource
{
    quiz::RandomSource &random;
    long long digits = 0;
    std::array<std::uint8_t, 5> fiveDigitPairs()
    {
        digits += 10;
        return random.fiveDigitPairs();
    }
};

TEST(GenerateQuestionSet, NeedsAboutThirteenHundredAttemptsOnAverage)
{
    // One attempt in 1,378 passes; over 400 draws the mean stays well within these bounds.
    quiz::RandomSource random(2024);
    CountingSource source{random};
    constexpr int draws = 400;
    for (int i = 0; i < draws; ++i)
        quiz::detail::drawAcceptedAttempt(source);
    const double meanAttempts = static_cast<double>(source.digits) / 20 / draws;
    EXPECT_GT(meanAttempts, 1200);
    EXPECT_LT(meanAttempts, 1560);
}

Column column(const quiz::QuestionSet &set, float (quiz::QuestionSet::*factor)(int) const)
{
    Column values{};
    for (int k = 1; k <= quiz::questionCount; ++k) {
        const float f = (set.*factor)(k);
        EXPECT_EQ(f, static_cast<float>(static_cast<int>(f))) << "factor " << k << " is not whole";
        values[static_cast<std::size_t>(k - 1)] = static_cast<std::uint8_t>(f);
    }
    return values;
}

TEST(GenerateQuestionSet, EverySeededSetPassesTheRule)
{
    quiz::RandomSource random(7);
    quiz::QuestionSet set(random);
    int onlyFirst = 0;
    int onlySecond = 0;
    for (int draw = 0; draw < 1000; ++draw) {
        set.generateQuestionSet();
        const Column first = column(set, &quiz::QuestionSet::firstFactor);
        const Column second = column(set, &quiz::QuestionSet::secondFactor);
        ASSERT_TRUE(isPermutation(first) || isPermutation(second));
        EXPECT_EQ(set.distinctFirstPairs() == 45, isPermutation(first));
        EXPECT_EQ(set.distinctSecondPairs() == 45, isPermutation(second));
        onlyFirst += isPermutation(first) && !isPermutation(second);
        onlySecond += !isPermutation(first) && isPermutation(second);

        bool someProductZero = false;
        for (int k = 1; k <= quiz::questionCount; ++k) {
            const auto i = static_cast<std::size_t>(k - 1);
            EXPECT_EQ(set.product(k), first[i] * second[i]);
            EXPECT_LE(first[i], 9);
            EXPECT_LE(second[i], 9);
            someProductZero |= set.product(k) == 0;
            const std::string expected =
                std::to_string(first[i]) + " x " + std::to_string(second[i]) + " =";
            EXPECT_EQ(set.questionCaption(k), expected);
            EXPECT_EQ(set.questionCaption(k).size(), 7u);
        }
        EXPECT_TRUE(someProductZero);
    }
    EXPECT_GT(onlyFirst, 0);
    EXPECT_GT(onlySecond, 0);
}

/** The twenty factors of one set in the order they are drawn: the first and the second factor
 * of question 1, then of question 2, and so on. */
constexpr std::size_t factorCount = 2 * quiz::questionCount;
using Factors = std::array<int, factorCount>;

Factors factors(const quiz::QuestionSet &set)
{
    Factors f{};
    for (int k = 1; k <= quiz::questionCount; ++k) {
        const auto i = static_cast<std::size_t>(2 * (k - 1));
        f[i] = static_cast<int>(set.firstFactor(k));
        f[i + 1] = static_cast<int>(set.secondFactor(k));
    }
    return f;
}

std::string factorName(std::size_t position)
{
    return std::string(position % 2 == 0 ? "first" : "second") + " factor of question " +
           std::to_string(position / 2 + 1);
}

/** The draw as its rule reads, from a generator that shares nothing with the program's: twenty
 * independent uniform digits per attempt, until one column holds ten different digits. */
Factors referenceDraw(std::mt19937_64 &generator)
{
    std::uniform_int_distribution<int> digit(0, 9);
    const auto tenDifferent = [](const Factors &f, std::size_t column) {
        std::array<bool, 10> seen{};
        for (std::size_t i = column; i < f.size(); i += 2)
            seen[static_cast<std::size_t>(f[i])] = true;
        return std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
    };
    Factors f{};
    do {
        for (int &d : f)
            d = digit(generator);
    } while (!tenDifferent(f, 0) && !tenDifferent(f, 1));
    return f;
}

/** For every pair of factor positions i < j: in how many sets the two were equal, and in how
 * many factor i was the smaller. */
struct PairLaw
{
    std::array<std::array<int, factorCount>, factorCount> equal{};
    std::array<std::array<int, factorCount>, factorCount> smaller{};

    void add(const Factors &f)
    {
        for (std::size_t i = 0; i < factorCount; ++i)
            for (std::size_t j = i + 1; j < factorCount; ++j) {
                equal[i][j] += f[i] == f[j];
                smaller[i][j] += f[i] < f[j];
            }
    }
};

/** How far apart two observed frequencies are, in standard errors of their difference (the
 * two-sample test of proportions, the frequencies pooled for the error). */
double deviation(int count, int sets, int referenceCount, int referenceSets)
{
    const double pooled = double(count + referenceCount) / (sets + referenceSets);
    const double error = std::sqrt(pooled * (1 - pooled) * (1.0 / sets + 1.0 / referenceSets));
    const double difference = double(count) / sets - double(referenceCount) / referenceSets;
    return error > 0 ? std::abs(difference) / error : (difference == 0 ? 0 : INFINITY);
}

TEST(GenerateQuestionSet, PairsOfFactorsFollowTheReferenceDraw)
{
    // Any two of the twenty factors, the program's draw against the reference: how often they
    // are equal, how often the earlier is smaller. Two questions that share one digit of the
    // draw move such a frequency by some forty standard errors; a correct draw keeps all 380
    // within a few (a single one beyond 5.5 about once in 26 million).
    constexpr int sets = 1000;
    constexpr double limit = 5.5;
    quiz::RandomSource random(31);
    quiz::QuestionSet set(random);
    std::mt19937_64 generator(31);
    PairLaw program;
    PairLaw reference;
    for (int s = 0; s < sets; ++s) {
        set.generateQuestionSet();
        program.add(factors(set));
        reference.add(referenceDraw(generator));
    }
    for (std::size_t i = 0; i < factorCount; ++i)
        for (std::size_t j = i + 1; j < factorCount; ++j) {
            const auto check = [&](const char *relation, const auto &counts, const auto &expected) {
                EXPECT_LE(deviation(counts[i][j], sets, expected[i][j], sets), limit)
                    << "the " << factorName(i) << " is " << relation << " the " << factorName(j)
                    << " in " << counts[i][j] << " of " << sets << " sets; in the reference draw, "
                    << expected[i][j] << " of " << sets;
            };
            check("equal to", program.equal, reference.equal);
            check("smaller than", program.smaller, reference.smaller);
        }
}

TEST(RandomSource, DigitPairsAreUniform)
{
    // Chi-square over the 100 pairs of neighbouring digits of a fixed sequence; the 0.1% critical
    // value for 99 degrees of freedom is 148.2.
    quiz::RandomSource random(99);
    std::array<long long, 100> counts{};
    constexpr long long draws = 200'000;
    for (long long d = 0; d < draws; ++d)
        for (const std::uint8_t pair : random.fiveDigitPairs()) {
            ASSERT_LT(pair, 100);
            ++counts[pair];
        }
    const double expected = draws * 5 / 100.0;
    double chiSquare = 0;
    for (const long long observed : counts)
        chiSquare += (observed - expected) * (observed - expected) / expected;
    EXPECT_LT(chiSquare, 148.2);
}

TEST(RandomSource, SameSeedSameSequenceOtherSeedOther)
{
    quiz::RandomSource a(5), b(5), c(6);
    for (int i = 0; i < 100; ++i) {
        const auto x = a.next();
        EXPECT_EQ(x, b.next());
        EXPECT_NE(x, c.next());
    }
}

} // namespace

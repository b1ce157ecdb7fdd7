// The ten questions on screen, and the draw that replaces them.
#pragma once

#include "random_source.h"

#include <array>
#include <cstdint>
#include <string>

namespace quiz {

/** How many questions one set holds. Questions are numbered 1 to questionCount. */
inline constexpr int questionCount = 10;

/**
 * Ten multiplication questions "a x b" with single-digit factors.
 *
 * Every drawn set has at least one factor column that holds each digit 0 to 9 exactly once,
 * so one screen of questions walks through a whole multiplication table in mixed order.
 * Before the first generateQuestionSet() the questions are all "0 x 0".
 */
class QuestionSet
{
public:
    /** The set draws from `random`, which must outlive it. */
    explicit QuestionSet(RandomSource &random) noexcept : m_random(random) {}

    /**
     * Replaces all ten questions by a new set. Attempts of twenty fresh digits (first and second
     * factor of question 1, then of question 2, …) are drawn until one has a column of ten
     * different digits; rejected attempts leave nothing behind. Takes 1,378 attempts on average.
     */
    void generateQuestionSet() noexcept;

    /** The caption of question k (1 to 10): the factors around " x ", then " =", as "3 x 7 =". */
    std::string questionCaption(int k) const;

    /** The factors and the expected product of question k (1 to 10). */
    float firstFactor(int k) const noexcept { return m_firstFactors[index(k)]; }
    float secondFactor(int k) const noexcept { return m_secondFactors[index(k)]; }
    std::int16_t product(int k) const noexcept { return m_products[index(k)]; }

    /** Of the 45 pairs of questions, how many have different first (second) factors. */
    std::int16_t distinctFirstPairs() const noexcept { return m_distinctFirstPairs; }
    int distinctSecondPairs() const noexcept { return m_distinctSecondPairs; }

private:
    static std::size_t index(int k) noexcept { return static_cast<std::size_t>(k - 1); }

    RandomSource &m_random;
    // These are the stored types of a question set, mixed as they are on purpose: the factors
    // are single-precision numbers that are always whole, the products and the first count 16-bit
    // integers, the second count a plain int. Keep them so; the draw and its tests depend on it.
    std::array<float, questionCount> m_firstFactors{};
    std::array<float, questionCount> m_secondFactors{};
    std::array<std::int16_t, questionCount> m_products{};
    std::int16_t m_distinctFirstPairs = 0;
    int m_distinctSecondPairs = 0;
};

namespace detail {

/** One attempt of the draw: the factors of questions 1 to 10 and its two pair counts. */
struct Attempt
{
    std::array<std::uint8_t, questionCount> firstFactors;
    std::array<std::uint8_t, questionCount> secondFactors;
    int distinctFirstPairs;
    int distinctSecondPairs;
};

/** 45, the number of pairs among ten questions: a column with this many distinct pairs is a
 * permutation of the digits 0 to 9. */
inline constexpr int allPairs = questionCount * (questionCount - 1) / 2;

/**
 * Draws attempts from `source` until one is accepted and returns it. `Source` hands out digits as
 * five pairs at a time (fiveDigitPairs(), each 0 to 99 with the earlier digit in the tens); an
 * attempt takes twenty digits, the first factor of a question before its second, question by
 * question, so each pair is one question. Both columns are complete before the attempt is judged.
 */
template <class Source> Attempt drawAcceptedAttempt(Source &source)
{
    // A column has 45 distinct pairs exactly when its ten digits are all different, that is when
    // they cover all ten values, so judging an attempt needs only which digits occur in each
    // column: bit d for a first factor d, bit 16 + d for a second factor d.
    static constexpr auto digitBits = [] {
        std::array<std::uint32_t, 100> bits{};
        for (unsigned question = 0; question < bits.size(); ++question)
            bits[question] = (1u << (question / 10)) | (1u << (16 + question % 10));
        return bits;
    }();
    constexpr std::uint32_t everyDigit = (1u << 10) - 1;

    std::array<std::array<std::uint8_t, 5>, 2> blocks;
    std::uint32_t seen = 0;
    do {
        blocks = {source.fiveDigitPairs(), source.fiveDigitPairs()};
        seen = 0;
        for (const auto &block : blocks)
            for (const std::uint8_t question : block)
                seen |= digitBits[question];
    } while ((seen >> 16) != everyDigit && (seen & everyDigit) != everyDigit);

    // The accepted attempt is written out with its exact pair counts: each digit makes one equal
    // pair with every earlier copy of itself in its column.
    Attempt attempt;
    std::array<std::uint8_t, 10> firstSeen{};
    std::array<std::uint8_t, 10> secondSeen{};
    int equalFirstPairs = 0;
    int equalSecondPairs = 0;
    std::size_t q = 0;
    for (const auto &block : blocks) {
        for (const std::uint8_t question : block) {
            const auto first = static_cast<std::uint8_t>(question / 10);
            const auto second = static_cast<std::uint8_t>(question % 10);
            attempt.firstFactors[q] = first;
            attempt.secondFactors[q] = second;
            equalFirstPairs += firstSeen[first]++;
            equalSecondPairs += secondSeen[second]++;
            ++q;
        }
    }
    attempt.distinctFirstPairs = allPairs - equalFirstPairs;
    attempt.distinctSecondPairs = allPairs - equalSecondPairs;
    return attempt;
}

} // namespace detail
} // namespace quiz

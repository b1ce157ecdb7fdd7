#include "quiz/answer_check.h"

#include <charconv>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using Answers = std::array<std::string, quiz::questionCount>;

class CheckAnswers : public testing::Test
{
protected:
    void SetUp() override { questions.generateQuestionSet(); }

    quiz::CheckResult check(const Answers &answers)
    {
        std::array<std::string_view, quiz::questionCount> views;
        std::copy(answers.begin(), answers.end(), views.begin());
        return quiz::checkAnswers(questions, views);
    }

    /** The answers that `write` makes of each expected product. */
    Answers answersFrom(const std::function<std::string(int product)> &write) const
    {
        Answers answers;
        for (int k = 1; k <= quiz::questionCount; ++k)
            answers[static_cast<std::size_t>(k - 1)] = write(questions.product(k));
        return answers;
    }

    std::array<std::string, quiz::questionCount> captions() const
    {
        std::array<std::string, quiz::questionCount> all;
        for (int k = 1; k <= quiz::questionCount; ++k)
            all[static_cast<std::size_t>(k - 1)] = questions.questionCaption(k);
        return all;
    }

    quiz::RandomSource random{12345};
    quiz::QuestionSet questions{random};
};

TEST_F(CheckAnswers, AllEmptyIsWrongExactlyWhereTheProductIsNotZero)
{
    const auto before = captions();
    const auto result = check(Answers{});
    int nonZero = 0;
    for (int k = 1; k <= quiz::questionCount; ++k) {
        EXPECT_EQ(result.wrong[static_cast<std::size_t>(k - 1)], questions.product(k) != 0) << k;
        nonZero += questions.product(k) != 0;
    }
    EXPECT_EQ(result.wrongCount, nonZero);
    EXPECT_EQ(result.message, "Attento. Correggiti");
    EXPECT_FALSE(result.newQuestions);
    EXPECT_EQ(captions(), before);
}

TEST_F(CheckAnswers, OneWrongAnswerIsTheOnlyOneMarked)
{
    for (std::size_t wrongBox = 0; wrongBox < quiz::questionCount; ++wrongBox) {
        auto answers = answersFrom([](int p) { return std::to_string(p); });
        answers[wrongBox] = std::to_string(questions.product(static_cast<int>(wrongBox) + 1) + 1);
        const auto result = check(answers);
        for (std::size_t i = 0; i < quiz::questionCount; ++i)
            EXPECT_EQ(result.wrong[i], i == wrongBox) << "box " << i + 1;
        EXPECT_EQ(result.wrongCount, 1);
        EXPECT_EQ(result.message, "Attento. Correggiti");
        EXPECT_FALSE(result.newQuestions);
    }
}

TEST_F(CheckAnswers, AllRightPraisesAndDrawsANewSet)
{
    const auto before = captions();
    const auto result = check(answersFrom([](int p) { return std::to_string(p); }));
    EXPECT_EQ(result.wrongCount, 0);
    EXPECT_EQ(result.wrong, decltype(result.wrong){});
    EXPECT_EQ(result.message, "Bravissimo !");
    EXPECT_TRUE(result.newQuestions);
    EXPECT_NE(captions(), before);
    EXPECT_TRUE(questions.distinctFirstPairs() == 45 || questions.distinctSecondPairs() == 45);
}

struct AnswerForm
{
    const char *name;
    std::function<std::string(int product)> write;
    bool right;
};

std::string hexadecimal(int value)
{
    std::array<char, 16> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value, 16).ptr;
    return std::string(digits.data(), end);
}

void PrintTo(const AnswerForm &f, std::ostream *os)
{
    *os << f.name;
}

class CheckAnswerForms : public CheckAnswers, public testing::WithParamInterface<AnswerForm>
{
};

TEST_P(CheckAnswerForms, MarksEveryBoxAlike)
{
    const auto result = check(answersFrom(GetParam().write));
    if (GetParam().right) {
        EXPECT_EQ(result.wrongCount, 0);
        EXPECT_EQ(result.message, "Bravissimo !");
    } else {
        EXPECT_EQ(result.wrongCount, quiz::questionCount);
        EXPECT_EQ(result.message, "Attento. Correggiti");
    }
}

const AnswerForm forms[] = {
    {"Plain", [](int p) { return std::to_string(p); }, true},
    {"WithBlanks", [](int p) { return std::string("  ").append(std::to_string(p)).append("\t"); },
     true},
    {"TrailingLetters", [](int p) { return std::to_string(p) + " ciao"; }, true},
    {"CommaFive", [](int p) { return std::to_string(p) + ",5"; }, true},
    {"PointZero", [](int p) { return std::to_string(p) + ".0"; }, true},
    {"Exponent", [](int p) { return std::to_string(p * 10) + "e-1"; }, true},
    {"PlusSign", [](int p) { return std::string("+").append(std::to_string(p)); }, true},
    {"Hexadecimal", [](int p) { return std::string("&H").append(hexadecimal(p)); }, true},
    {"PointFive", [](int p) { return std::to_string(p) + ".5"; }, false},
    {"OneMore", [](int p) { return std::to_string(p + 1); }, false},
    {"Negated", [](int p) { return std::string("-").append(std::to_string(p + 1)); }, false},
};

INSTANTIATE_TEST_SUITE_P(Table, CheckAnswerForms, testing::ValuesIn(forms),
                         [](const testing::TestParamInfo<AnswerForm> &test) {
                             return test.param.name;
                         });

} // namespace

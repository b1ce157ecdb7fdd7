// Marking the ten answers of a question set at once.
#pragma once

#include "question_set.h"

#include <array>
#include <string_view>

namespace quiz {

/** The message shown when all ten answers are right. */
inline constexpr std::string_view allRightMessage = "Bravissimo !";
/** The message shown when one or more answers are wrong. */
inline constexpr std::string_view someWrongMessage = "Attento. Correggiti";

/** What a check decided, for the quiz window to show. */
struct CheckResult
{
    /** Which answer boxes (index k - 1 for question k) hold a wrong answer and must be emptied. */
    std::array<bool, questionCount> wrong{};
    int wrongCount = 0;
    /** allRightMessage or someWrongMessage. */
    std::string_view message;
    /** All ten were right and the set now holds new questions: every caption changes and every
     * box is emptied. */
    bool newQuestions = false;
};

/**
 * Marks `answers` (the texts of boxes 1 to 10, UTF-8) against `questions`. An answer is right when
 * readAnswer() gives exactly the expected product: "21", " 21 ", "21abc", "21,5" and "21.0" are
 * right for 21; "21.5" is not. An empty box reads 0, so it is right where the product is 0.
 * When all ten are right a new set is drawn into `questions`.
 *
 * The window applies the result in this order: empty the wrong boxes, show the message, and after
 * a fully right check write the new captions and empty all boxes; in every case the focus goes
 * back to the first box.
 */
CheckResult checkAnswers(QuestionSet &questions,
                         const std::array<std::string_view, questionCount> &answers);

} // namespace quiz

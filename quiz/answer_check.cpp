#include "answer_check.h"

#include "answer_reading.h"

namespace quiz {

CheckResult checkAnswers(QuestionSet &questions,
                         const std::array<std::string_view, questionCount> &answers)
{
    CheckResult result;
    for (int k = 1; k <= questionCount; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        if (readAnswer(answers[i]) != static_cast<double>(questions.product(k))) {
            result.wrong[i] = true;
            ++result.wrongCount;
        }
    }
    if (result.wrongCount == 0) {
        result.message = allRightMessage;
        questions.generateQuestionSet();
        result.newQuestions = true;
    } else {
        result.message = someWrongMessage;
    }
    return result;
}

} // namespace quiz

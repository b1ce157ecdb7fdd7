#include "question_set.h"

namespace quiz {

void QuestionSet::generateQuestionSet() noexcept
{
    const detail::Attempt accepted = detail::drawAcceptedAttempt(m_random);
    for (std::size_t i = 0; i < questionCount; ++i) {
        m_firstFactors[i] = accepted.firstFactors[i];
        m_secondFactors[i] = accepted.secondFactors[i];
        m_products[i] =
            static_cast<std::int16_t>(accepted.firstFactors[i] * accepted.secondFactors[i]);
    }
    m_distinctFirstPairs = static_cast<std::int16_t>(accepted.distinctFirstPairs);
    m_distinctSecondPairs = accepted.distinctSecondPairs;
}

std::string QuestionSet::questionCaption(int k) const
{
    // Factors are whole numbers 0 to 9, so each is written as one digit.
    std::string caption = "0 x 0 =";
    caption[0] = static_cast<char>('0' + static_cast<int>(firstFactor(k)));
    caption[4] = static_cast<char>('0' + static_cast<int>(secondFactor(k)));
    return caption;
}

} // namespace quiz

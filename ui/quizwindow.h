// The quiz window: ten questions with their answer boxes, a check button, a message line that a
// timer empties every three seconds, and a picture.
#pragma once

#include "fixedwindow.h"
#include "quiz/question_set.h"
#include "quiz/random_source.h"

#include <array>
#include <memory>

class QLabel;
class QLineEdit;

namespace Ui {
class QuizWindow;
}

class QuizWindow : public FixedWindow
{
    Q_OBJECT

public:
    /** Loads the window: seeds the random source from the clock and shows the first ten
     * questions, with empty answer boxes and the focus in the first one. */
    explicit QuizWindow(QWidget *parent = nullptr);
    ~QuizWindow() override;

private:
    void checkAnswers();
    void showQuestions();

    std::unique_ptr<Ui::QuizWindow> ui;
    std::array<QLabel *, quiz::questionCount> m_questionLabels{};
    std::array<QLineEdit *, quiz::questionCount> m_answerBoxes{};
    // m_questions keeps a reference to m_random, so m_random must be declared, and built, first.
    quiz::RandomSource m_random = quiz::RandomSource::fromClock();
    quiz::QuestionSet m_questions{m_random};
};

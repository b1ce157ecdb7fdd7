#include "quizwindow.h"

#include "quiz/answer_check.h"
#include "ui_quizwindow.h"

#include <QTimer>

#include <string>

QuizWindow::QuizWindow(QWidget *parent)
    : FixedWindow(parent), ui(std::make_unique<Ui::QuizWindow>())
{
    ui->setupUi(this);
    m_questionLabels = {ui->lbl1, ui->lbl2, ui->lbl3, ui->lbl4, ui->lbl5,
                        ui->lbl6, ui->lbl7, ui->lbl8, ui->lbl9, ui->lbl10};
    m_answerBoxes = {ui->txt1, ui->txt2, ui->txt3, ui->txt4, ui->txt5,
                     ui->txt6, ui->txt7, ui->txt8, ui->txt9, ui->txt10};

    // Forms keep whole point sizes only.
    const auto setPointSize = [](QWidget *widget, qreal points) {
        QFont font = widget->font();
        font.setPointSizeF(points);
        widget->setFont(font);
    };
    for (std::size_t i = 0; i < m_answerBoxes.size(); ++i) {
        setPointSize(m_questionLabels[i], 13.5);
        setPointSize(m_answerBoxes[i], 13.5);
    }
    setPointSize(ui->lblmessaggio, 20.25);

    connect(ui->cmdcontrolla, &QPushButton::clicked, this, &QuizWindow::checkAnswers);
    connect(ui->cmdfine, &QPushButton::clicked, this, &FixedWindow::endProgram);
    setCancelButton(ui->cmdfine);

    // The timer runs freely from here on and is never restarted, so a message stays on screen
    // for anything up to three seconds.
    auto *messageTimer = new QTimer(this);
    messageTimer->setObjectName("tmrtempo");
    messageTimer->setInterval(3000);
    // A coarse timer may fire up to 5% early or late; this one keeps its period to the millisecond.
    messageTimer->setTimerType(Qt::PreciseTimer);
    connect(messageTimer, &QTimer::timeout, ui->lblmessaggio, &QLabel::clear);

    m_questions.generateQuestionSet();
    showQuestions();
    messageTimer->start();
    ui->txt1->setFocus();
}

QuizWindow::~QuizWindow() = default;

void QuizWindow::showQuestions()
{
    for (int k = 1; k <= quiz::questionCount; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        const QString caption = QString::fromStdString(m_questions.questionCaption(k));
        m_questionLabels[i]->setText(caption);
        // A screen reader reads the question when the box gets the focus.
        m_answerBoxes[i]->setAccessibleName(caption);
    }
}

void QuizWindow::checkAnswers()
{
    std::array<std::string, quiz::questionCount> texts;
    std::array<std::string_view, quiz::questionCount> answers;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = m_answerBoxes[i]->text().toStdString();
        answers[i] = texts[i];
    }
    const quiz::CheckResult result = quiz::checkAnswers(m_questions, answers);

    // Boxes are emptied with setText(), which also drops their undo history: clear() would let
    // Ctrl+Z bring back a wrong answer, or an old answer beside a new question.
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (result.wrong[i])
            m_answerBoxes[i]->setText(QString());
    }
    ui->lblmessaggio->setText(
        QString::fromUtf8(result.message.data(), static_cast<qsizetype>(result.message.size())));
    if (result.newQuestions) {
        showQuestions();
        for (QLineEdit *box : m_answerBoxes)
            box->setText(QString());
    }
    ui->txt1->setFocus(Qt::OtherFocusReason);
}

#include "startwindow.h"

#include "picturebox.h"
#include "quizwindow.h"
#include "ui_startwindow.h"

StartWindow::StartWindow(QWidget *parent)
    : FixedWindow(parent), ui(std::make_unique<Ui::StartWindow>())
{
    ui->setupUi(this);
    ui->cmdcomincia->setIcon(
        pictureIcon(QStringLiteral("startbutton"), ui->cmdcomincia->iconSize()));
    connect(ui->cmdcomincia, &QPushButton::clicked, this, &StartWindow::startQuiz);
    connect(ui->cmdesci, &QPushButton::clicked, this, &FixedWindow::endProgram);
    setCancelButton(ui->cmdesci);

    ui->Picture1->setFocus();
}

StartWindow::~StartWindow() = default;

void StartWindow::startQuiz()
{
    // The quiz window is shown before this one closes, so the program always has a window open.
    auto *quizWindow = new QuizWindow;
    quizWindow->show();
    close();
}

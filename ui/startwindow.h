// The start window: a title, an illustration, the big button that starts the quiz and a small
// exit button.
#pragma once

#include "fixedwindow.h"

#include <memory>

namespace Ui {
class StartWindow;
}

class StartWindow : public FixedWindow
{
    Q_OBJECT

public:
    /** Loads the window, with the focus on the illustration. */
    explicit StartWindow(QWidget *parent = nullptr);
    ~StartWindow() override;

private:
    void startQuiz();

    std::unique_ptr<Ui::StartWindow> ui;
};

// What the program's two windows have in common: a fixed-size dialog frame with a close box as
// its only title bar button, no task bar entry, yellow buttons, and a cancel button that the
// Escape key presses.
#pragma once

#include <QWidget>

class QAbstractButton;

class FixedWindow : public QWidget
{
    Q_OBJECT

public:
    explicit FixedWindow(QWidget *parent = nullptr);

    /** Ends the program at once: every window closes and the event loop stops. */
    static void endProgram();

protected:
    /** Makes the Escape key press `button` anywhere in the window. */
    void setCancelButton(QAbstractButton *button);

    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    /** Settles what the forms cannot say, once the window's controls all exist. */
    void finishControls();
};

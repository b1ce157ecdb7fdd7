// What the program's two windows have in common: the Escape key presses the window's cancel
// button, and the program lives as long as one of them is open. A fixed-size dialog frame to the
// window system (desktop::fixedWindow); closing one deletes it.
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
};

// What the program's two windows have in common: a fixed size, a close box as the only title bar
// button, no task bar entry, and a cancel button that the Escape key presses.
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
    /** Lets the buttons' palette colour show on their faces on every platform; called once the
     * buttons exist. */
    void showButtonColours();

    /** Makes the Escape key press `button` anywhere in the window. */
    void setCancelButton(QAbstractButton *button);

    void showEvent(QShowEvent *event) override;
};

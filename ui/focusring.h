// The keyboard focus as a child sees it: a dark ring around whichever control of a window has
// the focus, a little outside the control, on the window's own background. The window's
// colours are fixed, so the ring is as clear in a dark theme as in a light one, and around the
// answer boxes, whose colours are the theme's, as around the yellow buttons.
#pragma once

#include <QColor>
#include <QWidget>

class FocusRing : public QWidget
{
    Q_OBJECT

public:
    /** Follows the focus among the controls of `window`, from now on. */
    explicit FocusRing(QWidget *window);

    /** Dark blue: more than 10:1 against the windows' light green and light cyan. */
    static constexpr QColor colour{0, 0, 192};
    /** The ring's width, and the gap between it and the control, in pixels. */
    static constexpr int width = 2;
    static constexpr int gap = 1;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *focused);
};

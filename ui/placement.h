#pragma once

class QWidget;

/**
 * Moves a top-level window to the middle of its screen: left edge at (screen width - window
 * width) / 2, top edge at (screen height - window height) / 2, where the window's size is its
 * outer size including the frame as far as the platform knows it before the window is shown
 * (Windows does; an X11 window manager tells only once the window is on screen). Worked out in
 * floating point and rounded once, at the end. A window larger than the screen goes to its top
 * left corner.
 */
void centreOnScreen(QWidget &window);

#pragma once

class QWidget;

/**
 * Moves a top-level window to the middle of its screen: left edge at (screen width - window
 * width) / 2, top edge at (screen height - window height) / 2, where the window's size is its
 * outer size including the frame as it will be once shown: Windows knows the frame beforehand,
 * and an X11 window manager tells it when asked. Where nobody can tell, the frame counts as
 * nothing and the client area is centred. Call it before the window is first shown. Worked out in
 * floating point and rounded once, at the end. A window larger than the screen goes to its top
 * left corner.
 */
void centreOnScreen(QWidget &window);

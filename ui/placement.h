#pragma once

class QWidget;

/**
 * Moves a top-level window to the middle of its screen: left edge at (screen width - window
 * width) / 2, top edge at (screen height - window height) / 2, where the window's size is its
 * outer size including the frame as far as the platform knows it (before the first show that is
 * usually the inner size). Worked out in floating point and rounded once, at the end.
 */
void centreOnScreen(QWidget &window);

// What the windows need from the window system beyond what Qt offers: on X11 from the window
// manager, on Windows from the window tree; elsewhere these do nothing and know nothing.
#pragma once

#include <QMargins>

#include <optional>

class QWidget;

namespace desktop {

/**
 * Keeps a top-level window out of the task bar. Call it before each time the window is mapped:
 * an X11 window manager forgets the request whenever the window is withdrawn.
 */
void keepOutOfTaskBar(QWidget &window);

/**
 * The frame the window manager is going to put around a top-level window that is not shown yet,
 * asked of the window manager itself, which knows it before the window is mapped. Empty where the
 * platform has no such request or where no window manager answers it within a short while.
 */
std::optional<QMargins> frameBeforeShow(QWidget &window);

/**
 * Whether the window manager says that it places new windows itself (_NET_WM_FULL_PLACEMENT), so
 * that programs should not.
 */
bool windowManagerPlaces(QWidget &window);

} // namespace desktop

// What the windows need from the window system beyond what Qt offers: on X11 from the window
// manager, on Windows from the window tree; elsewhere these do nothing and know nothing.
#pragma once

#include <QByteArray>
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
 * Lists a window that keeps out of the task bar there after all (`shown`), or takes it out again.
 * For a window already on screen, as a minimised one is.
 */
void showInTaskBar(QWidget &window, bool shown);

/**
 * Asks the window system itself to give `window`, on screen, the keyboard focus, as the user
 * asked for it: with the time the startup id of the start that asked carries, where the
 * launcher gave one, and ends that start's busy feedback. False where Qt's own activation is
 * to do it (or to finish it).
 */
bool activateNatively(QWidget &window, const QByteArray &startupId);

/** What the window manager says, before a top-level window is shown, of its frame. */
struct ManagerFrame
{
    /**
     * The frame it is going to put around the window, where it tells it when asked (it knows it
     * before the window is mapped). Empty where the platform has no such request or where no
     * window manager answers it within a short while.
     */
    std::optional<QMargins> frame;
    /**
     * Whether it places a new window's frame by the window's gravity (keepMiddleWhenMapped): an
     * X11 window manager of an X server does; a Wayland compositor, as Xwayland's window manager,
     * need not (KWin puts the client area where it is asked, whatever the gravity). False where
     * no window manager runs.
     */
    bool keepsGravity = false;
    /** Whether it places new windows itself (_NET_WM_FULL_PLACEMENT), so programs should not. */
    bool placesWindows = false;
};

/** Asks the window manager about the frame of `window`, which is not shown yet. */
ManagerFrame askWindowManager(QWidget &window);

/**
 * Has the window manager put the middle of `window`'s frame where the middle of its client area
 * is asked to be, however large the frame turns out: for a window manager that cannot tell its
 * frame before the window is mapped (KWin). Call it as the window is about to be mapped; until
 * the event loop next runs, no other program's request reaches the X server.
 */
void keepMiddleWhenMapped(QWidget &window);

} // namespace desktop

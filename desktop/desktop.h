// What the program asks of the window system beyond what Qt does everywhere: which of Qt's
// platforms shows the windows, how they are framed, where they go on the screen, and that they
// stay out of the task bar. Everything here knows the window systems; the windows know none of it.
#pragma once

#include <QByteArray>
#include <Qt>

#include <memory>

class QApplication;
class QTemporaryDir;
class QWidget;

namespace desktop {

/**
 * The flags of the program's windows: a fixed frame whose only title bar button is the close box.
 * On Windows a dialog, which keeps the dialog frame. Elsewhere a normal window: to a dialog with no
 * parent Qt gives its hidden leader window as the parent, and then mutter lists the window in the
 * task bar whatever it asks.
 */
#ifdef Q_OS_WIN
inline constexpr Qt::WindowType fixedWindowType = Qt::Dialog;
#else
inline constexpr Qt::WindowType fixedWindowType = Qt::Window;
#endif
inline constexpr Qt::WindowFlags fixedWindow = fixedWindowType | Qt::CustomizeWindowHint |
                                               Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                               Qt::MSWindowsFixedSizeDialogHint;

/**
 * Chooses Qt's platform before Qt starts. Where the user has set QT_QPA_PLATFORM, that stands.
 * Otherwise X11 wherever DISPLAY names an X display (Xwayland too, in a Wayland session), since
 * only there can a window centre itself and stay out of the task bar; else Wayland where there is
 * a Wayland display. A local X display whose socket is missing gives way to a Wayland display.
 * False when there is no display at all: Qt would only fail to start.
 */
bool choosePlatform();

/**
 * Where no session bus runs, tells Qt so before it starts. Otherwise its accessibility bridge
 * would start a bus of its own (through dbus-launch), which outlives the program and writes under
 * the home directory; without a bus there is no screen reader to talk to anyway.
 */
void useOnlyARunningSessionBus();

/**
 * Where the session has no runtime directory (XDG_RUNTIME_DIR unset, as on a bare X display),
 * gives Qt a private one while it starts, which is when it looks there: it would make
 * /tmp/runtime-<user> itself, leave it behind and warn about it. Made before Qt starts and ended
 * once it has, directory and variable alike.
 */
class StartRuntimeDirectory
{
public:
    StartRuntimeDirectory();
    ~StartRuntimeDirectory();
    StartRuntimeDirectory(const StartRuntimeDirectory &) = delete;
    StartRuntimeDirectory &operator=(const StartRuntimeDirectory &) = delete;

private:
    std::unique_ptr<QTemporaryDir> m_directory;
};

/**
 * The fewest bits of colour a screen must have: on fewer (an 8-bit X screen, for one) Qt has
 * nothing to paint the windows with.
 */
inline constexpr int minimumScreenDepth = 15;

/**
 * Makes the program's windows (those with the flags above) keep these rules from the next
 * event on: a window that nobody has placed goes to the middle of its screen when it is first
 * shown, every window stays out of the task bar, and a window that opens beside another of the
 * same title takes the title over. Installed on the application, which owns it.
 */
void applyWindowRules(QApplication &application);

/**
 * Moves a top-level window to the middle of its screen: left edge at (screen width - window
 * width) / 2, top edge at (screen height - window height) / 2, where the window's size is its
 * outer size including the frame as it will be once shown: Windows knows the frame beforehand,
 * and an X11 window manager tells it when asked. One that cannot tell (KWin) is asked to keep
 * the middle of the frame where the middle of the client area goes, which centres the frame just
 * as well; where that is not to be had (KWin as a Wayland compositor) and the window manager
 * places windows itself, it places this one. Elsewhere the frame counts as nothing and the
 * client area is centred. Call it before the window is mapped. Worked out in floating point and
 * rounded once, at the end. A window larger than the screen goes to its top left corner.
 */
void centreOnScreen(QWidget &window);

/**
 * One copy of the program per user session. Made before Qt starts: the first start of a session
 * claims the session's name, and a later start finds the running copy under it, hands it the
 * launcher's startup token (DESKTOP_STARTUP_ID, XDG_ACTIVATION_TOKEN) and should then end at
 * once, showing nothing: the running copy brings its window to the front, with the keyboard
 * focus. Another user's copies, and the program in another session, have names of their own.
 * The name lives as long as the process: no file, no network port, nothing left running (on
 * Linux a socket in the kernel's abstract namespace, on Windows a named object of the session).
 * On a platform without a desktop to share (offscreen, for one) every start is a copy of its own.
 */
class OneCopy
{
public:
    OneCopy();
    ~OneCopy();
    OneCopy(const OneCopy &) = delete;
    OneCopy &operator=(const OneCopy &) = delete;

    /** Whether a running copy has taken this start over: this one should end. */
    bool handedOver() const { return m_handedOver; }

    /**
     * With Qt started: from now on a later start brings this copy's window to the front. Call it
     * once, where handedOver() is false.
     */
    void listen();

private:
    bool m_handedOver = false;
    struct Listener;
    std::unique_ptr<Listener> m_listener;
};

/**
 * Brings the program's window to the front with the keyboard focus, restored if it was
 * minimised, as a later start asked: its startup token lets the window system know that the
 * user asked for it.
 */
void comeForward(const QByteArray &startupId, const QByteArray &activationToken);

} // namespace desktop

#include "desktop.h"
#include "nativewindow.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace desktop {

namespace {

bool isProgramWindow(const QWidget &widget)
{
    return (widget.windowFlags() & fixedWindow) == fixedWindow;
}

/**
 * A window that opens while another of the program's windows has the same title takes the title
 * over: that one is on its way out, as the start window is when the quiz opens. A window manager
 * that numbers windows of the same title (KWin) would otherwise show "Numerillo <2>". The one
 * going out gets a blank title, not an empty one, which Qt would turn into the program's name.
 */
void giveWayTo(const QWidget &window)
{
    for (QWidget *other : QApplication::topLevelWidgets())
        if (other != &window && other->isVisible() && isProgramWindow(*other) &&
            other->windowTitle() == window.windowTitle())
            other->setWindowTitle(QStringLiteral(" "));
}

/** Applies the window rules to each of the program's windows as it is shown. */
class WindowRules : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
            // A window out of the task bar that is minimised all the same (KWin offers it) would
            // be nowhere to be seen: while minimised it is listed there.
            auto *window = static_cast<QWidget *>(watched);
            if (window->isWindow() && isProgramWindow(*window))
                showInTaskBar(*window, window->isMinimized());
            return false;
        }
        // Qt sends the Show event when the native window exists but is not mapped yet: the last
        // moment at which the window system takes a position and a state as the window's own.
        if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(watched);
        if (!isProgramWindow(*window))
            return false;
        // Every time: an X11 window manager forgets it whenever the window is withdrawn.
        keepOutOfTaskBar(*window);
        giveWayTo(*window);
        if (!window->testAttribute(Qt::WA_Moved))
            centreOnScreen(*window);
        return false;
    }
};

} // namespace

void comeForward(const QByteArray &startupId, const QByteArray &activationToken)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !isProgramWindow(*window))
            continue;
        if (window->isMinimized())
            window->showNormal();
        window->raise();
        if (activateNatively(*window, startupId))
            return;
        // A Wayland compositor gives the focus to the holder of the launcher's token, which Qt
        // takes from the environment.
        if (!activationToken.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", activationToken);
        window->activateWindow();
        return;
    }
}

void applyWindowRules(QApplication &application)
{
    application.installEventFilter(new WindowRules(&application));
}

} // namespace desktop

#include "nativewindow.h"

#include <QWidget>

namespace desktop {

void keepOutOfTaskBar(QWidget &)
{
    // Handled by the window's flags, where the platform has a task bar at all.
}

void showInTaskBar(QWidget &, bool) {}

void activate(QWidget &window, const QByteArray &, const QByteArray &activationToken)
{
    // A Wayland compositor gives the focus to the holder of the launcher's token.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window.activateWindow();
}

ManagerFrame askWindowManager(QWidget &)
{
    return {};
}

} // namespace desktop

#include "nativewindow.h"

namespace desktop {

void keepOutOfTaskBar(QWidget &)
{
    // Handled by the window's flags, where the platform has a task bar at all.
}

void showInTaskBar(QWidget &, bool) {}

bool activateNatively(QWidget &, const QByteArray &)
{
    return false;
}

ManagerFrame askWindowManager(QWidget &)
{
    return {};
}

void keepMiddleWhenMapped(QWidget &) {}

} // namespace desktop

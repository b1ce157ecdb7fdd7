#include "nativewindow.h"

namespace desktop {

void keepOutOfTaskBar(QWidget &)
{
    // Handled by the window's flags, where the platform has a task bar at all.
}

ManagerFrame askWindowManager(QWidget &)
{
    return {};
}

} // namespace desktop

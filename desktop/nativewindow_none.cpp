#include "nativewindow.h"

namespace desktop {

void keepOutOfTaskBar(QWidget &)
{
    // Handled by the window's flags, where the platform has a task bar at all.
}

std::optional<QMargins> frameBeforeShow(QWidget &)
{
    return std::nullopt;
}

bool windowManagerPlaces(QWidget &)
{
    return false;
}

} // namespace desktop

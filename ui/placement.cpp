#include "placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // With its native window created, a platform that can tell the frame around the window
    // before it is shown (Windows, for one) includes it in the frame geometry.
    window.winId();
    const QRectF area = screen->geometry();
    const QSizeF outer = window.frameGeometry().size();
    // A window larger than the screen keeps its top left corner, and so its title bar, on it.
    const double left = area.x() + std::max(0.0, (area.width() - outer.width()) / 2.0);
    const double top = area.y() + std::max(0.0, (area.height() - outer.height()) / 2.0);
    window.move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

#include "desktop.h"
#include "nativewindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace desktop {

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
    const QRect client = window.geometry();
    const QRect outside = window.frameGeometry();
    QMargins frame(client.left() - outside.left(), client.top() - outside.top(),
                   outside.right() - client.right(), outside.bottom() - client.bottom());
    // Where only the window manager knows the frame (X11), Qt places the client area where it is
    // told; it is then told where the client area goes inside the centred frame.
    bool placesClientArea = false;
    if (frame.isNull()) {
        const ManagerFrame manager = askWindowManager(window);
        if (manager.frame) {
            frame = *manager.frame;
            placesClientArea = true;
        } else if (manager.placesWindows) {
            return;
        }
    }
    const QRectF area = screen->geometry();
    const QSizeF outer = client.size().grownBy(frame);
    // A window larger than the screen keeps its top left corner, and so its title bar, on it.
    double left = area.x() + std::max(0.0, (area.width() - outer.width()) / 2.0);
    double top = area.y() + std::max(0.0, (area.height() - outer.height()) / 2.0);
    if (placesClientArea) {
        left += frame.left();
        top += frame.top();
    }
    window.move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

} // namespace desktop

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
    // told; it is then told where the client area goes inside the centred frame. Where the window
    // manager cannot tell the frame either, the client area is centred, and the window manager
    // keeps the middle of the frame where the middle of the client area was to be. One that
    // places windows by neither but places them itself is left to: KWin as a Wayland
    // compositor, which centres new windows, frame and all, on the screen's free area.
    bool placesClientArea = false;
    bool keepsMiddle = false;
    if (frame.isNull()) {
        const ManagerFrame manager = askWindowManager(window);
        if (manager.frame) {
            frame = *manager.frame;
            placesClientArea = true;
        } else if (manager.keepsGravity) {
            keepsMiddle = true;
        } else if (manager.placesWindows) {
            return;
        }
    }
    const QRectF area = screen->geometry();
    const QSizeF outer = client.size().grownBy(frame);
    // A window larger than the screen keeps its top left corner, and so its title bar, on it.
    const bool fits = outer.width() <= area.width() && outer.height() <= area.height();
    double left = area.x() + std::max(0.0, (area.width() - outer.width()) / 2.0);
    double top = area.y() + std::max(0.0, (area.height() - outer.height()) / 2.0);
    if (placesClientArea) {
        left += frame.left();
        top += frame.top();
    }
    if (keepsMiddle && fits)
        keepMiddleWhenMapped(window);
    window.move(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)));
}

} // namespace desktop

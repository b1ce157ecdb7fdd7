#include "nativewindow.h"

#include <QWidget>
#include <QWindow>

#include <windows.h>

namespace desktop {

void keepOutOfTaskBar(QWidget &window)
{
    // Windows gives a task bar button to every top-level window that no other window owns. One
    // hidden window, created but never shown, owns both of the program's windows.
    static QWindow *const owner = [] {
        auto *hidden = new QWindow;
        hidden->create();
        return hidden;
    }();
    window.winId();
    window.windowHandle()->setTransientParent(owner);
}

void showInTaskBar(QWidget &, bool)
{
    // The window has no minimise button on Windows: it is never minimised out of sight.
}

bool activateNatively(QWidget &window, const QByteArray &)
{
    // The start that asked has allowed this process to take the foreground; Qt would only
    // flash the window of a program that is not in front. Qt then gives its window the focus.
    SetForegroundWindow(reinterpret_cast<HWND>(window.winId()));
    return false;
}

ManagerFrame askWindowManager(QWidget &)
{
    // Qt knows the frame of a Windows window before it is shown, and counts it already.
    return {};
}

void keepMiddleWhenMapped(QWidget &)
{
    // Never asked for: the frame is known beforehand.
}

} // namespace desktop

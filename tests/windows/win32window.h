// What Numerillo's windows look like to Windows, read through the Win32 API, and input that
// comes in the way the keyboard's does: for tests that look at the program from outside, as
// Windows and the user see it.
#pragma once

#include <QString>
#include <QStringList>

#include <windows.h>

namespace win32window {

/**
 * What is wrong with the frame of one of Numerillo's windows, or nothing: a title bar with the
 * system menu, and so a close box; a frame that does not resize; the normal dialog frame, not
 * the thin one of a tool window; and an owner without WS_EX_APPWINDOW, so no task bar button.
 */
inline QStringList frameProblems(HWND window)
{
    QStringList problems;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR extendedStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((style & WS_CAPTION) != WS_CAPTION)
        problems << QStringLiteral("no title bar");
    if (!(style & WS_SYSMENU))
        problems << QStringLiteral("no system menu");
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        problems << QStringLiteral("a minimize or maximize box, or a resizing frame");
    if (extendedStyle & WS_EX_TOOLWINDOW)
        problems << QStringLiteral("a tool window's frame");
    if (GetWindow(window, GW_OWNER) == nullptr)
        problems << QStringLiteral("no owner");
    if (extendedStyle & WS_EX_APPWINDOW)
        problems << QStringLiteral("WS_EX_APPWINDOW, so a task bar button");
    return problems;
}

/** A key pressed and let go, as the keyboard does it; false if Windows refused the input. */
inline bool pressKey(WORD key)
{
    INPUT inputs[2] = {};
    for (INPUT &input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

} // namespace win32window

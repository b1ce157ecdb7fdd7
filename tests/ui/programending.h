// Helpers for window tests: whether an action ends the program, and which windows are open.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

/**
 * Runs `action` from inside the application's event loop and tells whether the program ended:
 * the loop was told to exit with code 0. Gives up after a few seconds, which counts as not ended.
 * Each call runs a fresh QApplication::exec(), so one ended program does not affect the next.
 */
inline bool endsProgram(const std::function<void()> &action)
{
    QTimer::singleShot(0, qApp, action);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    const int code = QApplication::exec();
    // Windows closed with Qt::WA_DeleteOnClose are deleted now, not later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code == 0;
}

/** The top-level windows on screen. */
inline QWidgetList visibleWindows()
{
    QWidgetList visible;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            visible.append(widget);
    return visible;
}

/** Deletes every top-level window, so each test starts with none. */
inline void deleteAllWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qDeleteAll(QApplication::topLevelWidgets());
}

// Helpers for window tests: the program's own application, the ways out of a window, whether an
// action ends the program, and which windows are open.
#pragma once

#include "application.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
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

/**
 * The ways a child can leave a window, as the rows of a test's data table (column "way"). The
 * window has an exit button, the cancel button that Escape presses, with an access key, and a
 * picture area named Picture1.
 */
inline void addWaysOut()
{
    QTest::addColumn<QString>("way");
    for (const char *way :
         {"exit button clicked", "Escape where the focus is", "Escape on the picture", "access key",
          "Enter on the exit button", "Space on the exit button", "close box"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

/** Leaves `window` the way named, one of those of addWaysOut(). */
inline void leave(QWidget *window, const QString &way, QAbstractButton *exitButton,
                  Qt::Key accessKey)
{
    if (way == QLatin1String("exit button clicked")) {
        QTest::mouseClick(exitButton, Qt::LeftButton);
    } else if (way == QLatin1String("Escape where the focus is")) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else if (way == QLatin1String("Escape on the picture")) {
        QTest::keyClick(window->findChild<QWidget *>(QStringLiteral("Picture1")), Qt::Key_Escape);
    } else if (way == QLatin1String("access key")) {
        QTest::keyClick(QApplication::focusWidget(), accessKey, Qt::AltModifier);
    } else if (way == QLatin1String("Enter on the exit button")) {
        exitButton->setFocus();
        QTest::keyClick(exitButton, Qt::Key_Return);
    } else if (way == QLatin1String("Space on the exit button")) {
        exitButton->setFocus();
        QTest::keyClick(exitButton, Qt::Key_Space);
    } else if (way == QLatin1String("close box")) {
        window->close();
    } else {
        QFAIL(qPrintable(QStringLiteral("no such way out: ") + way));
    }
}

/** A test program's main(), with the program's own application in place of a plain one. */
#define NUMERILLO_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        Application app(argc, argv);                                                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

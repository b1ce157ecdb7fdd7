#include "fixedwindow.h"

#include "desktop.h"
#include "focusring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>

#include <algorithm>

FixedWindow::FixedWindow(QWidget *parent) : QWidget(parent, desktop::fixedWindow)
{
    // Both windows belong to the program, never to another widget: closing one deletes it.
    setAttribute(Qt::WA_DeleteOnClose);
    new FocusRing(this);
}

void FixedWindow::endProgram()
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

void FixedWindow::setCancelButton(QAbstractButton *button)
{
    auto *escape = new QShortcut(QKeySequence::Cancel, this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}

void FixedWindow::closeEvent(QCloseEvent *event)
{
    // The program lives as long as one of its windows is open. Qt's own rule would miss a window
    // that another owns, as a window kept out of the Windows task bar is.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool last = std::none_of(windows.begin(), windows.end(), [this](const QWidget *window) {
        return window != this && window->isVisible() && qobject_cast<const FixedWindow *>(window);
    });
    QWidget::closeEvent(event);
    if (last)
        QCoreApplication::quit();
}

#include "fixedwindow.h"

#include "nativewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStyleFactory>

#include <algorithm>

namespace {

/**
 * A font that a form names, with the faces that stand in for it where it is missing:
 * - Comic Sans MS is a Windows font; Comic Neue takes its place elsewhere. Left to itself,
 *   fontconfig serves a calligraphic script for Comic Sans MS, which a child cannot read.
 * - MS Sans Serif is a bitmap font, which Qt does not use on Windows; Microsoft Sans Serif is its
 *   TrueType twin.
 * Where none of them is installed the text falls back to a plain sans-serif face.
 */
void addStandIns(QFont &font)
{
    QStringList families{font.family()};
    if (font.family() == QLatin1String("Comic Sans MS"))
        families << QStringLiteral("Comic Neue");
    else if (font.family() == QLatin1String("MS Sans Serif"))
        families << QStringLiteral("Microsoft Sans Serif");
    else
        return;
#ifdef Q_OS_WIN
    // Qt on Windows falls back to the first face it knows, which may well be a serif (under wine,
    // where the faces are those of the Linux host): the plain faces are named.
    families << QStringLiteral("Tahoma") << QStringLiteral("Arial")
             << QStringLiteral("DejaVu Sans");
#endif
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
}

} // namespace

FixedWindow::FixedWindow(QWidget *parent) : QWidget(parent)
{
    // A dialog, to the window system: a fixed frame, activated when it is shown. Some X11
    // window managers (openbox) never give the keyboard focus to a normal window that stays out
    // of the task bar, but do to a dialog.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Both windows belong to the program, never to another widget: closing one deletes it.
    setAttribute(Qt::WA_DeleteOnClose);
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

void FixedWindow::finishControls()
{
    for (QWidget *control : findChildren<QWidget *>()) {
        if (!control->testAttribute(Qt::WA_SetFont))
            continue;
        QFont font = control->font();
        addStandIns(font);
        if (font != control->font())
            control->setFont(font);
    }
#ifdef Q_OS_WIN
    // The native Windows styles draw buttons in the system's colours; Fusion paints the face in
    // the palette's button colour, with the usual focus and pressed looks.
    static QStyle *const fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setStyle(fusion);
#endif
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

bool FixedWindow::event(QEvent *event)
{
    // Sent once, before the window is first shown: the derived window has built its form.
    if (event->type() == QEvent::Polish)
        finishControls();
    return QWidget::event(event);
}

void FixedWindow::showEvent(QShowEvent *event)
{
    // Sent before the window is mapped, every time it is shown.
    if (!event->spontaneous())
        keepOutOfTaskBar(*this);
    QWidget::showEvent(event);
}

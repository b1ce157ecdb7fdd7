#include "fixedwindow.h"

#include "nativewindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStyleFactory>

namespace {

/**
 * A font that a form names, with what stands in for it where it is missing. Comic Sans MS is a
 * Windows font; Comic Neue takes its place elsewhere. Where neither is installed the text falls
 * back to the plain sans-serif face: left to itself, fontconfig serves a calligraphic script for
 * Comic Sans MS, which a child cannot read.
 */
void addStandIns(QFont &font)
{
    if (font.family() != QLatin1String("Comic Sans MS"))
        return;
    font.setFamilies({font.family(), QStringLiteral("Comic Neue")});
    font.setStyleHint(QFont::SansSerif);
}

} // namespace

FixedWindow::FixedWindow(QWidget *parent) : QWidget(parent)
{
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
#ifdef Q_OS_WIN
    // A tool window has no task bar button on Windows.
    flags |= Qt::Tool;
#else
    // A dialog to the window manager. Some (openbox) never give the keyboard focus to a normal
    // window that stays out of the task bar, but do to a dialog.
    flags |= Qt::Dialog;
#endif
    setWindowFlags(flags);
    // A tool window or a dialog would not end the program when it closes; these do.
    setAttribute(Qt::WA_QuitOnClose);
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

#include "fixedwindow.h"

#include "picturebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QShortcut>
#include <QShowEvent>
#include <QStyleFactory>
#include <QSvgRenderer>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include <cstdlib>
#include <string_view>

static void loadResources()
{
    // The pictures live in the ui library, which is static: register them explicitly so the
    // linker keeps them.
    Q_INIT_RESOURCE(resources);
}

namespace {

#if QT_CONFIG(xcb)
xcb_atom_t internAtom(xcb_connection_t *connection, std::string_view name)
{
    const auto cookie =
        xcb_intern_atom(connection, false, static_cast<uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    free(reply);
    return atom;
}
#endif

/**
 * Keeps the window out of the task bar. On X11 that is the window manager state
 * _NET_WM_STATE_SKIP_TASKBAR, set on the window before it is mapped (the window manager drops
 * the state whenever the window is withdrawn); Qt merges it with the states it sets itself.
 */
void skipTaskBar([[maybe_unused]] QWidget &window)
{
#if QT_CONFIG(xcb)
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskBar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskBar == XCB_ATOM_NONE)
        return;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskBar);
    xcb_flush(connection);
#endif
}

/**
 * The calculator icon, drawn for the sizes a desktop asks for. Each size comes from the drawing
 * made for its pixel grid, rendered here rather than loaded from PNG files: reading images would
 * load Qt's image format plugins, which costs more start-up time than drawing the few squares.
 */
QIcon programIcon()
{
    struct Drawing
    {
        const char *path;
        std::initializer_list<int> sizes; // multiples of the grid it is drawn on
    };
    static const Drawing drawings[] = {{":/icons/numerillo-16.svg", {16}},
                                       {":/icons/numerillo-24.svg", {24, 48}},
                                       {":/icons/numerillo.svg", {32, 64}}};
    QIcon icon;
    for (const Drawing &drawing : drawings) {
        QSvgRenderer picture(QString::fromLatin1(drawing.path));
        for (const int size : drawing.sizes)
            icon.addPixmap(QPixmap::fromImage(drawPicture(picture, QSize(size, size))));
    }
    return icon;
}

} // namespace

FixedWindow::FixedWindow(QWidget *parent) : QWidget(parent)
{
    static const bool resourcesLoaded = (loadResources(), true);
    Q_UNUSED(resourcesLoaded);
    // Both windows show the same icon: drawn once, for the application, which windows inherit.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(programIcon());

    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
#ifdef Q_OS_WIN
    // A tool window has no task bar button on Windows; it would stop closing it from ending the
    // program, so that is switched back on.
    flags |= Qt::Tool;
#endif
    setWindowFlags(flags);
    setAttribute(Qt::WA_QuitOnClose);
    // Both windows belong to the program, never to another widget: closing one deletes it.
    setAttribute(Qt::WA_DeleteOnClose);
}

void FixedWindow::endProgram()
{
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

void FixedWindow::showButtonColours()
{
#ifdef Q_OS_WIN
    // The native Windows styles draw buttons in the system's colours; Fusion paints the face in
    // the palette's button colour, with the usual focus and pressed looks.
    static QStyle *const fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setStyle(fusion);
#endif
}

void FixedWindow::setCancelButton(QAbstractButton *button)
{
    auto *escape = new QShortcut(QKeySequence::Cancel, this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}

void FixedWindow::showEvent(QShowEvent *event)
{
    // Sent before the window is mapped, every time it is shown.
    if (!event->spontaneous())
        skipTaskBar(*this);
    QWidget::showEvent(event);
}

#include "application.h"

#include "drawing.h"
#include "numerillo_version.h"

#include <QIcon>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

char defaultName[] = "numerillo";

struct Report
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler qtHandler = nullptr;
std::vector<Report> startUpReports;

/**
 * Holds back what Qt reports while it starts. If it cannot start, which happens only when it
 * finds no display, its reports (a missing display, and advice to reinstall the program) would
 * mislead: one line says what is wrong instead.
 */
void watchStartUp(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs("numerillo: serve uno schermo grafico (X11 o Wayland), ma non ce n'è nessuno "
                   "disponibile.\n",
                   stderr);
        std::fflush(stderr);
        std::_Exit(1);
    }
    startUpReports.push_back({type, QByteArray(context.category), text});
}

/**
 * The calculator icon, drawn for the sizes a desktop asks for. Each size comes from the drawing
 * made for its pixel grid, drawn here rather than loaded from PNG files: reading images would
 * load Qt's image format plugins, which costs more start-up time than drawing the few squares.
 */
QIcon programIcon()
{
    struct Grid
    {
        const char *drawing;
        std::initializer_list<int> sizes; // multiples of the grid it is drawn on
    };
    static const Grid grids[] = {{"icon-16", {16}}, {"icon-24", {24, 48}}, {"icon", {32, 64}}};
    QIcon icon;
    for (const Grid &grid : grids) {
        const Drawing *drawing = Drawing::find(grid.drawing);
        for (const int size : grid.sizes)
            icon.addPixmap(QPixmap::fromImage(drawing->image(QSizeF(size, size))));
    }
    return icon;
}

} // namespace

namespace detail {

BeforeQt::BeforeQt(char *name) : argv{name, nullptr}
{
    qtHandler = qInstallMessageHandler(watchStartUp);
}

void BeforeQt::qtStarted()
{
    qInstallMessageHandler(qtHandler);
    for (const Report &report : startUpReports) {
        const QMessageLogContext context(nullptr, 0, nullptr, report.category.constData());
        qt_message_output(report.type, context, report.text);
    }
    startUpReports.clear();
}

} // namespace detail

Application::Application(int argumentCount, char *arguments[])
    : BeforeQt(argumentCount > 0 && arguments[0] ? arguments[0] : defaultName),
      QApplication(BeforeQt::argc, BeforeQt::argv)
{
    qtStarted();
    setApplicationName(QStringLiteral("Numerillo"));
    setApplicationVersion(QStringLiteral(NUMERILLO_VERSION));
    // Ties the windows to the desktop entry, and so to its icon, under Wayland.
    setDesktopFileName(QStringLiteral("org.numerillo.Numerillo"));
    setWindowIcon(programIcon());

    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral(":/translations/qtbase_it.qm")))
        installTranslator(qtTexts);
}

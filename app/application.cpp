#include "application.h"

#include "desktop.h"
#include "drawing.h"
#include "numerillo_version.h"

#include <QFont>
#include <QIcon>
#include <QTranslator>

namespace {

/** The command line Qt is given, which must outlive the application: the program's name only. */
char **qtArguments(char *name)
{
    static char defaultName[] = "numerillo";
    static char *arguments[] = {defaultName, nullptr};
    if (name)
        arguments[0] = name;
    return arguments;
}
int qtArgumentCount = 1;

/**
 * The faces that stand in for those the forms name, where these are missing:
 * - Comic Sans MS is a Windows font; Comic Neue takes its place elsewhere. Left to itself,
 *   fontconfig serves a calligraphic script for Comic Sans MS, which a child cannot read.
 * - MS Sans Serif is a bitmap font, which Qt does not use on Windows; Microsoft Sans Serif is its
 *   TrueType twin.
 * Where none of them is installed the text falls back to a plain sans-serif face.
 */
void substituteFonts()
{
    QStringList plainFaces;
#ifdef Q_OS_WIN
    // Qt on Windows falls back to the first face it knows, which may well be a serif (under wine,
    // where the faces are those of the Linux host): the plain faces are named.
    plainFaces << QStringLiteral("Tahoma") << QStringLiteral("Arial")
               << QStringLiteral("DejaVu Sans");
#endif
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               QStringList{QStringLiteral("Comic Neue")} + plainFaces);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("Microsoft Sans Serif")} + plainFaces);
    // Where none of those is there either, Qt falls back on a plain face rather than on what
    // the system makes of the name. The forms set no style hint, so every control takes this.
    QFont plain = QApplication::font();
    plain.setStyleHint(QFont::SansSerif);
    QApplication::setFont(plain);
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

Application::Application(int argumentCount, char *arguments[])
    : QApplication(qtArgumentCount, qtArguments(argumentCount > 0 ? arguments[0] : nullptr))
{
    setApplicationName(QStringLiteral("Numerillo"));
    setApplicationVersion(QStringLiteral(NUMERILLO_VERSION));
    // Ties the windows to the desktop entry, and so to its icon, under Wayland.
    setDesktopFileName(QStringLiteral("org.numerillo.Numerillo"));
    setWindowIcon(programIcon());

    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral(":/translations/qtbase_it.qm")))
        installTranslator(qtTexts);

    substituteFonts();
    // The windows' colours are their own, whatever the desktop's theme: a native Windows style,
    // Breeze or Adwaita paints the button faces in the theme's colours. Fusion paints them in the
    // palette's button colour, with the usual focus and pressed looks, and takes the answer boxes'
    // colours from the theme.
    setStyle(QStringLiteral("Fusion"));
    desktop::applyWindowRules(*this);
}

// The program's QApplication.
#pragma once

#include <QApplication>

namespace detail {
/**
 * What has to be in place before QApplication is built, so a base of Application, built first:
 * the argument list that QApplication keeps a reference to, and a watch on what Qt reports while
 * it connects to the display.
 */
class BeforeQt
{
public:
    explicit BeforeQt(char *name);

protected:
    /** Qt has started: what it reported on the way goes out as usual. */
    static void qtStarted();

    int argc = 1;
    char *argv[2];
};
} // namespace detail

/**
 * Numerillo. The program takes no arguments: of its command line Qt sees only the program's
 * name, so options such as -style, -platform or -reverse change nothing. Environment variables
 * such as QT_QPA_PLATFORM still apply. Without a display to show its windows on, the program
 * says so in one line and ends with status 1.
 *
 * Qt's own texts are Italian, like the program's; the windows show the program's icon.
 */
class Application : private detail::BeforeQt, public QApplication
{
public:
    Application(int argumentCount, char *arguments[]);
};

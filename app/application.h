// The program's QApplication.
#pragma once

#include <QApplication>

/**
 * Numerillo. The program takes no arguments: of its command line Qt sees only the program's
 * name, so options such as -style, -platform or -reverse change nothing. Environment variables
 * such as QT_QPA_PLATFORM still apply.
 *
 * Qt's own texts are Italian, like the program's; the windows show the program's icon, keep the
 * window system's rules (desktop::applyWindowRules) and find a readable face where the fonts
 * their forms name are missing.
 */
class Application : public QApplication
{
public:
    Application(int argumentCount, char *arguments[]);
};

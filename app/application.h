// The program's QApplication.
#pragma once

#include <QApplication>

namespace detail {
/** Holds the argument list that QApplication keeps a reference to; a base so it is built first. */
struct ProgramName
{
    explicit ProgramName(char *name) : argv{name, nullptr} {}
    int argc = 1;
    char *argv[2];
};
} // namespace detail

/**
 * Numerillo, version 1.00. The program takes no arguments: of its command line Qt sees only the
 * program's name, so options such as -style, -platform or -reverse change nothing. Environment
 * variables such as QT_QPA_PLATFORM still apply.
 */
class Application : private detail::ProgramName, public QApplication
{
public:
    Application(int argc, char *argv[]);
};

#include "application.h"

namespace {
char defaultName[] = "numerillo";
}

Application::Application(int argc, char *argv[])
    : ProgramName(argc > 0 && argv[0] ? argv[0] : defaultName),
      QApplication(ProgramName::argc, ProgramName::argv)
{
    setApplicationName(QStringLiteral("Numerillo"));
    setApplicationVersion(QStringLiteral("1.00"));
    // Ties the windows to the desktop entry, and so to its icon, under Wayland.
    setDesktopFileName(QStringLiteral("org.numerillo.Numerillo"));
}

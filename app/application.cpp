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
}

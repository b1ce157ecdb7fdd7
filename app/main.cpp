// Numerillo: practice of the multiplication tables 0 to 9.
#include "startwindow.h"

#include <QApplication>

int main(int, char *argv[])
{
    // The program takes no arguments: Qt sees only the program's name, so options such as
    // -style or -reverse change nothing. Environment variables still apply.
    int qtArgc = 1;
    char *qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Numerillo"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));

    auto *window = new StartWindow;
    window->show();
    return app.exec();
}

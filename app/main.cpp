// Numerillo: practice of the multiplication tables 0 to 9.
#include "application.h"
#include "startwindow.h"

int main(int argc, char *argv[])
{
    Application app(argc, argv);
    auto *start = new StartWindow;
    start->show();
    return app.exec();
}

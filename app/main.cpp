// Numerillo: practice of the multiplication tables 0 to 9.
#include "application.h"
#include "desktop.h"
#include "startwindow.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!desktop::choosePlatform()) {
        std::fputs("numerillo: serve uno schermo grafico (X11 o Wayland), ma non ce n'è nessuno "
                   "disponibile.\n",
                   stderr);
        return 1;
    }
    Application app(argc, argv);
    auto *start = new StartWindow;
    start->show();
    return app.exec();
}

// Numerillo: practice of the multiplication tables 0 to 9.
#include "application.h"
#include "desktop.h"
#include "startwatch.h"
#include "startwindow.h"

#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!desktop::choosePlatform()) {
        std::fputs("numerillo: serve uno schermo grafico (X11 o Wayland), ma non ce n'è nessuno "
                   "disponibile.\n",
                   stderr);
        return 1;
    }
    desktop::useOnlyARunningSessionBus();
    StartWatch watch;
    Application app(argc, argv);
    watch.started();
    if (const QScreen *screen = QGuiApplication::primaryScreen();
        screen && screen->depth() < desktop::minimumScreenDepth) {
        std::fprintf(stderr, "numerillo: lo schermo ha %d bit di colore, ne servono almeno %d.\n",
                     screen->depth(), desktop::minimumScreenDepth);
        return 1;
    }
    auto *start = new StartWindow;
    start->show();
    return app.exec();
}

// Numerillo: practice of the multiplication tables 0 to 9.
#include "application.h"
#include "desktop.h"
#include "startwatch.h"
#include "startwindow.h"

#include <QScreen>

#include <cstdio>
#include <optional>

int main(int argc, char *argv[])
{
    if (!desktop::choosePlatform()) {
        std::fputs("numerillo: serve uno schermo grafico (X11 o Wayland), ma non ce n'è nessuno "
                   "disponibile.\n",
                   stderr);
        return 1;
    }
    // A child who starts the program again gets the window already open.
    desktop::OneCopy oneCopy;
    if (oneCopy.handedOver())
        return 0;
    desktop::useOnlyARunningSessionBus();
    auto runtimeDirectory = std::make_optional<desktop::StartRuntimeDirectory>();
    StartWatch watch;
    Application app(argc, argv);
    watch.started();
    runtimeDirectory.reset();
    if (const QScreen *screen = QGuiApplication::primaryScreen();
        screen && screen->depth() < desktop::minimumScreenDepth) {
        std::fprintf(stderr, "numerillo: lo schermo ha %d bit di colore, ne servono almeno %d.\n",
                     screen->depth(), desktop::minimumScreenDepth);
        return 1;
    }
    oneCopy.listen();
    auto *start = new StartWindow;
    start->show();
    return app.exec();
}

// The yardstick for numerillo's start-up: the least a Qt Widgets program can show in a window of
// the same client size, fixed like numerillo's. The label's text gives the painted window a
// second colour, which is how the start-up probe tells a painted window from an empty one.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setFixedSize(665, 332);
    auto *label = new QLabel(QStringLiteral("3 x 4 = 12"), &window);
    label->move(24, 24);
    window.show();
    return app.exec();
}

// Which of Qt's platforms the program asks for, from what the environment offers.
#include "desktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void followsTheDisplaysThereAre_data();
    void followsTheDisplaysThereAre();
};

void TestPlatform::followsTheDisplaysThereAre_data()
{
    QTest::addColumn<QString>("userChoice");
    QTest::addColumn<QString>("x11Display");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("platform");
    // "socket" stands for a Wayland display that exists, made for the test.
    QTest::newRow("nothing at all") << ""
                                    << ""
                                    << "" << false << "";
    QTest::newRow("a Wayland display that is not there") << ""
                                                         << ""
                                                         << "wayland-77" << false << "";
    QTest::newRow("Wayland only") << ""
                                  << ""
                                  << "socket" << true << "wayland";
    QTest::newRow("an X display on the network, over Wayland") << ""
                                                               << "otherhost:0"
                                                               << "socket" << true << "xcb";
    QTest::newRow("Wayland, over an X display whose socket is not there")
        << ""
        << ":987"
        << "socket" << true << "wayland";
    QTest::newRow("an X display whose socket is not there, alone") << ""
                                                                   << ":987.0"
                                                                   << "" << true << "xcb";
    QTest::newRow("the user's choice, with nothing there") << "offscreen"
                                                           << ""
                                                           << "" << true << "offscreen";
    QTest::newRow("the user's choice over X11") << "wayland"
                                                << "otherhost:0"
                                                << "" << true << "wayland";
}

void TestPlatform::followsTheDisplaysThereAre()
{
    QFETCH(QString, userChoice);
    QFETCH(QString, x11Display);
    QFETCH(QString, waylandDisplay);
    QFETCH(bool, started);
    QFETCH(QString, platform);

    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    const auto setOrUnset = [](const char *name, const QString &value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    };
    qunsetenv("WAYLAND_SOCKET");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    setOrUnset("QT_QPA_PLATFORM", userChoice);
    setOrUnset("DISPLAY", x11Display);
    if (waylandDisplay == QLatin1String("socket")) {
        // Only its presence counts: the program leaves the talking to Qt.
        QFile socket(runtime.filePath(QStringLiteral("wayland-5")));
        QVERIFY(socket.open(QIODevice::WriteOnly));
        waylandDisplay = QStringLiteral("wayland-5");
    }
    setOrUnset("WAYLAND_DISPLAY", waylandDisplay);

    QCOMPARE(desktop::choosePlatform(), started);
    QCOMPARE(qEnvironmentVariable("QT_QPA_PLATFORM"), platform);
}

QTEST_APPLESS_MAIN(TestPlatform)
#include "tst_platform.moc"

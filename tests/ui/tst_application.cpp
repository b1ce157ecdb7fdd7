// The program ignores its command line: Qt's own options must not reach Qt.
#include "application.h"
#include "startwindow.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void identifiesItself()
    {
        QCOMPARE(QApplication::applicationName(), QStringLiteral("Numerillo"));
        // The desktop entry that gives the windows their icon under Wayland.
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.numerillo.Numerillo"));
    }

    void ignoresQtOptions()
    {
        // Had Qt seen "-platform no-such-platform" it would have stopped at start-up.
        QCOMPARE(QApplication::arguments(), QStringList{QStringLiteral("numerillo")});
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QVERIFY(qApp->styleSheet().isEmpty());

        auto *window = new StartWindow;
        window->show();
        QCOMPARE(window->layoutDirection(), Qt::LeftToRight);
        QCOMPARE(window->findChild<QWidget *>(QStringLiteral("Picture1"))->geometry().left(), 16);
        delete window;
    }

    void qtTextsAreItalian()
    {
        // The answer boxes' context menu comes from Qt; run under several system languages.
        QLineEdit box;
        box.setText(QStringLiteral("21"));
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            if (!action->isSeparator())
                texts.append(action->text().section(QLatin1Char('\t'), 0, 0).remove('&'));
        const QStringList italian{"Annulla", "Rifai",   "Taglia",         "Copia",
                                  "Incolla", "Elimina", "Seleziona tutto"};
        QCOMPARE(texts, italian);
    }
};

int main(int, char *[])
{
    // A command line full of Qt's options, none of which may take effect.
    char name[] = "numerillo";
    char reverse[] = "-reverse";
    char platform[] = "-platform";
    char noSuchPlatform[] = "no-such-platform";
    char styleSheet[] = "-stylesheet";
    char sheetFile[] = "/nonexistent.qss";
    char *arguments[] = {name, reverse, platform, noSuchPlatform, styleSheet, sheetFile, nullptr};
    Application app(6, arguments);

    TestApplication test;
    char *testArguments[] = {name, nullptr};
    return QTest::qExec(&test, 1, testArguments);
}

#include "tst_application.moc"

// The windows' comic font, and what the texts fall back to where it is missing.
#include "quizwindow.h"
#include "startwindow.h"
#include "windowtest.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class TestFonts : public QObject
{
    Q_OBJECT

private slots:
    void comicTextsNeverFallToAScript_data();
    void comicTextsNeverFallToAScript();
};

void TestFonts::comicTextsNeverFallToAScript_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("controls");
    QTest::newRow("quiz window") << QStringLiteral("quiz")
                                 << QStringList{"lblcomando", "lblmessaggio", "cmdcontrolla",
                                                "cmdfine"};
    QTest::newRow("start window") << QStringLiteral("start") << QStringList{"cmdesci"};
}

void TestFonts::comicTextsNeverFallToAScript()
{
    QFETCH(QString, window);
    QFETCH(QStringList, controls);
    std::unique_ptr<QWidget> shown;
    if (window == QLatin1String("quiz"))
        shown = std::make_unique<QuizWindow>();
    else if (window == QLatin1String("start"))
        shown = std::make_unique<StartWindow>();
    else
        QFAIL("unknown window");
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));

    // Run once as the system is, and once with Comic Neue hidden from fontconfig.
    const bool comicInstalled = QFontDatabase::hasFamily(QStringLiteral("Comic Neue"));
    QFont plain(QStringLiteral("sans-serif"));
    plain.setStyleHint(QFont::SansSerif);
    const QString expected =
        comicInstalled ? QStringLiteral("Comic Neue") : QFontInfo(plain).family();
    for (const QString &name : controls) {
        auto *control = shown->findChild<QWidget *>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->font().family(), QStringLiteral("Comic Sans MS"));
        QCOMPARE(QFontInfo(control->font()).family(), expected);
    }
}

NUMERILLO_TEST_MAIN(TestFonts)
#include "tst_fonts.moc"

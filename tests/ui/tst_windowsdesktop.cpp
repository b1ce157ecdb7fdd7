// The windows as Windows shows them, on a desktop: which window is in front with the keyboard
// focus, who owns it, its frame and its fonts, read back through the Win32 API. Mouse clicks and
// key presses go in through SendInput, the way the mouse and the keyboard's come.
#include "quizwindow.h"
#include "startwindow.h"
#include "win32window.h"
#include "windowtest.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <windows.h>

class TestWindowsDesktop : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void startWindowOpensInFrontWithFocusOnThePicture();
    void startButtonOpensTheQuizInFrontWithFocusInFirstBox();
    void framesHaveACloseBoxOnlyAndNoTaskBarButton_data();
    void framesHaveACloseBoxOnlyAndNoTaskBarButton();
    void realEscapeEndsTheProgram_data();
    void realEscapeEndsTheProgram();
    void closingTheLastWindowEndsTheProgram();
    void textsAreInAPlainSansSerifFace();
};

namespace {

HWND handleOf(QWidget *window)
{
    return reinterpret_cast<HWND>(window->winId());
}

/** A left click at a point of the screen, as the mouse makes it. */
void clickAt(QPoint global)
{
    // Absolute input positions run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT &input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(global.x(), 65536, width) + 1;
        input.mi.dy = MulDiv(global.y(), 65536, height) + 1;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    QCOMPARE(SendInput(3, inputs, sizeof(INPUT)), 3u);
}

QuizWindow *openQuizWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *quiz = qobject_cast<QuizWindow *>(window); quiz && quiz->isVisible())
            return quiz;
    return nullptr;
}

/** The start window, shown and in front; the quiz window, opened from it with a real click. */
QWidget *showWindow(const QString &which)
{
    auto *start = new StartWindow;
    start->show();
    if (!QTest::qWaitForWindowActive(start))
        return nullptr;
    if (which == QLatin1String("start"))
        return start;
    auto *button = start->findChild<QPushButton *>(QStringLiteral("cmdcomincia"));
    clickAt(button->mapToGlobal(button->rect().center()));
    if (!QTest::qWaitFor([] { return openQuizWindow() != nullptr; }, 5000))
        return nullptr;
    QWidget *quiz = openQuizWindow();
    return QTest::qWaitForWindowActive(quiz) ? quiz : nullptr;
}

} // namespace

void TestWindowsDesktop::cleanup()
{
    deleteAllWindows();
}

void TestWindowsDesktop::startWindowOpensInFrontWithFocusOnThePicture()
{
    auto *start = new StartWindow;
    start->show();

    QTRY_COMPARE_WITH_TIMEOUT(GetForegroundWindow(), handleOf(start), 5000);
    QCOMPARE(GetFocus(), handleOf(start));
    QTRY_COMPARE(QApplication::focusWidget(), start->findChild<QWidget *>("Picture1"));
}

void TestWindowsDesktop::startButtonOpensTheQuizInFrontWithFocusInFirstBox()
{
    QWidget *quiz = showWindow(QStringLiteral("quiz"));
    QVERIFY(quiz);

    QTRY_COMPARE_WITH_TIMEOUT(GetForegroundWindow(), handleOf(quiz), 5000);
    QCOMPARE(GetFocus(), handleOf(quiz));
    QCOMPARE(QApplication::focusWidget(), quiz->findChild<QWidget *>("txt1"));
    // The start window is gone for good.
    QTRY_COMPARE(visibleWindows(), QWidgetList{quiz});
}

void TestWindowsDesktop::framesHaveACloseBoxOnlyAndNoTaskBarButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("start window") << QStringLiteral("start");
    QTest::newRow("quiz window") << QStringLiteral("quiz");
}

void TestWindowsDesktop::framesHaveACloseBoxOnlyAndNoTaskBarButton()
{
    QFETCH(QString, window);
    QWidget *shown = showWindow(window);
    QVERIFY(shown);
    const QStringList problems = win32window::frameProblems(handleOf(shown));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
}

void TestWindowsDesktop::realEscapeEndsTheProgram_data()
{
    framesHaveACloseBoxOnlyAndNoTaskBarButton_data();
}

void TestWindowsDesktop::realEscapeEndsTheProgram()
{
    QFETCH(QString, window);
    QPointer<QWidget> shown = showWindow(window);
    QVERIFY(shown);
    QTRY_COMPARE_WITH_TIMEOUT(GetForegroundWindow(), handleOf(shown), 5000);

    QVERIFY(endsProgram([] { QVERIFY(win32window::pressKey(VK_ESCAPE)); }));
    QVERIFY(shown.isNull());
    QVERIFY(visibleWindows().isEmpty());
}

void TestWindowsDesktop::closingTheLastWindowEndsTheProgram()
{
    // The windows have an owner, which Qt's own rule for the last window does not count.
    QPointer<QWidget> quiz = showWindow(QStringLiteral("quiz"));
    QVERIFY(quiz);

    QVERIFY(endsProgram([&] { quiz->close(); }));
    QVERIFY(quiz.isNull());
}

void TestWindowsDesktop::textsAreInAPlainSansSerifFace()
{
    QWidget *quiz = showWindow(QStringLiteral("quiz"));
    QVERIFY(quiz);
    // Microsoft Sans Serif and Comic Sans MS on Windows; under wine the faces of the Linux host.
    const QStringList plain{
        "Microsoft Sans Serif", "Comic Sans MS", "Comic Neue", "Tahoma", "Arial", "DejaVu Sans"};
    for (const char *name :
         {"lbl1", "lbl10", "txt1", "lblcomando", "lblmessaggio", "cmdcontrolla"}) {
        const QString family = QFontInfo(quiz->findChild<QWidget *>(name)->font()).family();
        QVERIFY2(plain.contains(family), qPrintable(QStringLiteral("%1: %2").arg(name, family)));
    }
}

NUMERILLO_TEST_MAIN(TestWindowsDesktop)
#include "tst_windowsdesktop.moc"

#include "quizwindow.h"
#include "startwindow.h"
#include "windowtest.h"

#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

class TestStartWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensCentredWithFocusOnTheIllustration();
    void tabVisitsPicturesThenButtons();
    void startButtonLeavesOnlyTheQuizWindow_data();
    void startButtonLeavesOnlyTheQuizWindow();
    void everyWayOutEndsTheProgramWithoutTheQuiz_data();
    void everyWayOutEndsTheProgramWithoutTheQuiz();

private:
    QPushButton *button(const char *name) const { return m_window->findChild<QPushButton *>(name); }

    QPointer<StartWindow> m_window;
};

namespace {

/** Remembers whether a quiz window was ever shown while it lives. */
class QuizWatcher : public QObject
{
public:
    QuizWatcher() { qApp->installEventFilter(this); }
    bool quizShown = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmcalcolo"))
            quizShown = true;
        return false;
    }
};

bool isCentred(const QWidget &window)
{
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    return qAbs(frame.left() - (screen.width() - frame.width()) / 2) <= 1 &&
           qAbs(frame.top() - (screen.height() - frame.height()) / 2) <= 1;
}

} // namespace

void TestStartWindow::init()
{
    m_window = new StartWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestStartWindow::cleanup()
{
    deleteAllWindows();
}

void TestStartWindow::opensCentredWithFocusOnTheIllustration()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("devuruvozuvu"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Numerillo"));
    QCOMPARE(m_window->size(), QSize(665, 332));
    QVERIFY(isCentred(*m_window));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Picture1"));
    QCOMPARE(button("cmdcomincia")->accessibleName(), QStringLiteral("Si parte!"));
}

void TestStartWindow::tabVisitsPicturesThenButtons()
{
    const QStringList expected{QStringLiteral("Picture2"), QStringLiteral("cmdcomincia"),
                               QStringLiteral("cmdesci"), QStringLiteral("Picture1")};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, expected);
}

void TestStartWindow::startButtonLeavesOnlyTheQuizWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("click") << 0;
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void TestStartWindow::startButtonLeavesOnlyTheQuizWindow()
{
    QFETCH(int, key);
    QPushButton *start = button("cmdcomincia");
    if (key == 0) {
        QTest::mouseClick(start, Qt::LeftButton);
    } else {
        start->setFocus();
        QTest::keyClick(start, Qt::Key(key));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QVERIFY(m_window.isNull());
    const QWidgetList windows = visibleWindows();
    QCOMPARE(windows.size(), 1);
    auto *quiz = qobject_cast<QuizWindow *>(windows.first());
    QVERIFY(quiz);
    QCOMPARE(quiz->objectName(), QStringLiteral("frmcalcolo"));
    QVERIFY(isCentred(*quiz));
    QVERIFY(QTest::qWaitForWindowActive(quiz));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txt1"));
}

void TestStartWindow::everyWayOutEndsTheProgramWithoutTheQuiz_data()
{
    addWaysOut();
}

void TestStartWindow::everyWayOutEndsTheProgramWithoutTheQuiz()
{
    QFETCH(QString, way);
    QuizWatcher watcher;
    const bool ended = endsProgram([&] { leave(m_window, way, button("cmdesci"), Qt::Key_E); });
    QVERIFY(ended);
    QVERIFY(m_window.isNull());
    QVERIFY(visibleWindows().isEmpty());
    QVERIFY(!watcher.quizShown);
}

NUMERILLO_TEST_MAIN(TestStartWindow)
#include "tst_startwindow.moc"

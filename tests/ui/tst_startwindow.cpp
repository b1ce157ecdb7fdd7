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

/** Remembers whether a quiz window was ever shown while it lives, and the titles of the other
 * windows still open once it was. */
class QuizWatcher : public QObject
{
public:
    QuizWatcher() { qApp->installEventFilter(this); }
    bool quizShown = false;
    QStringList titlesBeside;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->objectName() != QLatin1String("frmcalcolo"))
            return false;
        if (event->type() == QEvent::Show)
            quizShown = true;
        // Sent once the window is on screen.
        if (event->type() == QEvent::ShowToParent)
            for (const QWidget *window : visibleWindows())
                if (window != watched)
                    titlesBeside.append(window->windowTitle());
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
    QuizWatcher watcher;
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
    QCOMPARE(quiz->windowTitle(), QStringLiteral("Numerillo"));
    // The start window was still open beside it, under no title of the same name: a window
    // manager would have numbered the quiz window's.
    QCOMPARE(watcher.titlesBeside.size(), 1);
    QVERIFY(!watcher.titlesBeside.contains(QStringLiteral("Numerillo")));
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

#include "quizwindow.h"
#include "windowtest.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>

class TestQuizWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensCentredWithTenQuestionsAndFocusInFirstBox();
    void wrongAnswersAreEmptiedOthersKeptAsTyped_data();
    void wrongAnswersAreEmptiedOthersKeptAsTyped();
    void allRightPraisesAndShowsNewQuestions();
    void emptyBoxesAreRightOnlyWhereTheProductIsZero();
    void emptiedBoxesStayEmptyAfterUndo_data();
    void emptiedBoxesStayEmptyAfterUndo();
    void checkButtonAnswersToItsKeys_data();
    void checkButtonAnswersToItsKeys();
    void enterInAnAnswerBoxPressesNothing();
    void tabVisitsBoxesThenButtonsThenPicture();
    void answerBoxesTakeLongTexts();
    void everyWayOutEndsTheProgram_data();
    void everyWayOutEndsTheProgram();
    void timerEmptiesTheMessage();

private:
    QLineEdit *box(int k) const
    {
        return m_window->findChild<QLineEdit *>(QStringLiteral("txt%1").arg(k));
    }
    QLabel *question(int k) const
    {
        return m_window->findChild<QLabel *>(QStringLiteral("lbl%1").arg(k));
    }
    QLabel *message() const
    {
        return m_window->findChild<QLabel *>(QStringLiteral("lblmessaggio"));
    }
    QPushButton *button(const char *name) const { return m_window->findChild<QPushButton *>(name); }
    int expectedProduct(int k) const;
    void typeRightAnswers();
    QStringList captions() const;

    QPointer<QuizWindow> m_window;
};

namespace {

const QRegularExpression captionPattern(QStringLiteral("^([0-9]) x ([0-9]) =$"));

/** Whether the ten captions form an acceptable set: one factor column holds every digit once. */
bool oneColumnHoldsEveryDigit(const QStringList &captions)
{
    QList<int> first;
    QList<int> second;
    for (const QString &caption : captions) {
        const auto match = captionPattern.match(caption);
        if (!match.hasMatch())
            return false;
        first.append(match.captured(1).toInt());
        second.append(match.captured(2).toInt());
    }
    const QList<int> digits{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    return first == digits || second == digits;
}

} // namespace

void TestQuizWindow::init()
{
    m_window = new QuizWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestQuizWindow::cleanup()
{
    deleteAllWindows();
}

int TestQuizWindow::expectedProduct(int k) const
{
    const auto match = captionPattern.match(question(k)->text());
    return match.captured(1).toInt() * match.captured(2).toInt();
}

void TestQuizWindow::typeRightAnswers()
{
    for (int k = 1; k <= 10; ++k)
        box(k)->setText(QString::number(expectedProduct(k)));
}

QStringList TestQuizWindow::captions() const
{
    QStringList all;
    for (int k = 1; k <= 10; ++k)
        all.append(question(k)->text());
    return all;
}

void TestQuizWindow::opensCentredWithTenQuestionsAndFocusInFirstBox()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("frmcalcolo"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Numerillo"));
    QCOMPARE(m_window->size(), QSize(657, 433));
    QVERIFY(oneColumnHoldsEveryDigit(captions()));
    for (int k = 1; k <= 10; ++k) {
        QVERIFY(box(k)->text().isEmpty());
        QCOMPARE(box(k)->accessibleName(), question(k)->text());
    }
    QVERIFY(message()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), box(1));

    const QRect screen = m_window->screen()->geometry();
    const QRect frame = m_window->frameGeometry();
    QVERIFY(qAbs(frame.left() - (screen.width() - frame.width()) / 2) <= 1);
    QVERIFY(qAbs(frame.top() - (screen.height() - frame.height()) / 2) <= 1);
}

void TestQuizWindow::wrongAnswersAreEmptiedOthersKeptAsTyped_data()
{
    QTest::addColumn<int>("wrongBox");
    QTest::addColumn<QString>("rightForm");
    QTest::newRow("first wrong, plain digits") << 1 << QStringLiteral("%1");
    QTest::newRow("middle wrong, blanks and letters") << 5 << QStringLiteral(" %1 ciao");
    QTest::newRow("last wrong, comma and decimals") << 10 << QStringLiteral("%1,5");
    QTest::newRow("right column, point zero") << 7 << QStringLiteral("%1.0");
}

void TestQuizWindow::wrongAnswersAreEmptiedOthersKeptAsTyped()
{
    QFETCH(int, wrongBox);
    QFETCH(QString, rightForm);
    const QStringList before = captions();
    for (int k = 1; k <= 10; ++k)
        box(k)->setText(rightForm.arg(expectedProduct(k)));
    box(wrongBox)->setText(QString::number(expectedProduct(wrongBox)) + QStringLiteral(".5"));
    box(4)->setFocus();

    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);

    QCOMPARE(message()->text(), QStringLiteral("Attento. Correggiti"));
    for (int k = 1; k <= 10; ++k) {
        const QString expected = k == wrongBox ? QString() : rightForm.arg(expectedProduct(k));
        QCOMPARE(box(k)->text(), expected);
    }
    QCOMPARE(captions(), before);
    QCOMPARE(QApplication::focusWidget(), box(1));
}

void TestQuizWindow::allRightPraisesAndShowsNewQuestions()
{
    const QStringList before = captions();
    typeRightAnswers();
    box(9)->setFocus();

    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);

    QCOMPARE(message()->text(), QStringLiteral("Bravissimo !"));
    QVERIFY(captions() != before);
    QVERIFY(oneColumnHoldsEveryDigit(captions()));
    for (int k = 1; k <= 10; ++k) {
        QVERIFY(box(k)->text().isEmpty());
        QCOMPARE(box(k)->accessibleName(), question(k)->text());
    }
    QCOMPARE(QApplication::focusWidget(), box(1));
}

void TestQuizWindow::emptyBoxesAreRightOnlyWhereTheProductIsZero()
{
    // Straight after a fully right check every box is empty; checking again marks the new set.
    typeRightAnswers();
    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);
    QCOMPARE(message()->text(), QStringLiteral("Bravissimo !"));
    const QStringList newSet = captions();

    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);

    QCOMPARE(message()->text(), QStringLiteral("Attento. Correggiti"));
    QCOMPARE(captions(), newSet);
    for (int k = 1; k <= 10; ++k)
        QVERIFY(box(k)->text().isEmpty());
}

void TestQuizWindow::emptiedBoxesStayEmptyAfterUndo_data()
{
    QTest::addColumn<bool>("allRight");
    QTest::addColumn<int>("undoBox");
    QTest::newRow("wrong answer in the first box") << false << 1;
    QTest::newRow("wrong answer in the last box") << false << 10;
    QTest::newRow("first box after all right") << true << 1;
    QTest::newRow("seventh box after all right") << true << 7;
}

void TestQuizWindow::emptiedBoxesStayEmptyAfterUndo()
{
    QFETCH(bool, allRight);
    QFETCH(int, undoBox);
    // Typed key by key, so every box has something to undo before the check.
    for (int k = 1; k <= 10; ++k) {
        const int answer = expectedProduct(k) + (!allRight && k == undoBox ? 1 : 0);
        QTest::keyClicks(box(k), QString::number(answer));
    }

    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);
    QCOMPARE(message()->text(),
             allRight ? QStringLiteral("Bravissimo !") : QStringLiteral("Attento. Correggiti"));
    QVERIFY(box(undoBox)->text().isEmpty());

    box(undoBox)->setFocus();
    for (int press = 0; press < 2; ++press) {
        QTest::keyClick(box(undoBox), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(undoBox)->text(), QString());
    }
}

void TestQuizWindow::checkButtonAnswersToItsKeys_data()
{
    QTest::addColumn<bool>("focusButton");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Alt+C from an answer box") << false << int(Qt::Key_C) << int(Qt::AltModifier);
    QTest::newRow("Space on the button") << true << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("Enter on the button") << true << int(Qt::Key_Return) << int(Qt::NoModifier);
}

void TestQuizWindow::checkButtonAnswersToItsKeys()
{
    QFETCH(bool, focusButton);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    box(3)->setText(QStringLiteral("x"));
    QWidget *target = focusButton ? static_cast<QWidget *>(button("cmdcontrolla")) : box(3);
    target->setFocus();

    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    // Access keys click with a short animation.
    QTRY_COMPARE(message()->text(), QStringLiteral("Attento. Correggiti"));
    QVERIFY(box(3)->text().isEmpty() || expectedProduct(3) == 0);
}

void TestQuizWindow::enterInAnAnswerBoxPressesNothing()
{
    box(2)->setText(QStringLiteral("999"));
    box(2)->setFocus();

    QTest::keyClick(box(2), Qt::Key_Return);
    QTest::keyClick(box(2), Qt::Key_Enter);
    QTest::qWait(200); // longer than an access key's click animation

    QVERIFY(message()->text().isEmpty());
    QCOMPARE(box(2)->text(), QStringLiteral("999"));
    QVERIFY(m_window->isVisible());
}

void TestQuizWindow::tabVisitsBoxesThenButtonsThenPicture()
{
    QStringList expected;
    for (int k = 2; k <= 10; ++k)
        expected.append(QStringLiteral("txt%1").arg(k));
    expected << QStringLiteral("cmdcontrolla") << QStringLiteral("cmdfine")
             << QStringLiteral("Picture1") << QStringLiteral("txt1");

    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, expected);
}

void TestQuizWindow::answerBoxesTakeLongTexts()
{
    // A right answer pasted behind more blanks than a line edit takes by default (32767
    // characters): cut short, the box would hold blanks only.
    int k = 1;
    while (expectedProduct(k) == 0)
        ++k;
    typeRightAnswers();
    const QString pasted = QString(40'000, QLatin1Char(' ')) + QString::number(expectedProduct(k));
    QGuiApplication::clipboard()->setText(pasted);
    box(k)->clear();
    box(k)->setFocus();
    QTest::keyClick(box(k), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box(k)->text().size(), pasted.size());

    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);
    QCOMPARE(message()->text(), QStringLiteral("Bravissimo !"));
}

void TestQuizWindow::everyWayOutEndsTheProgram_data()
{
    addWaysOut();
}

void TestQuizWindow::everyWayOutEndsTheProgram()
{
    QFETCH(QString, way);
    const bool ended = endsProgram([&] { leave(m_window, way, button("cmdfine"), Qt::Key_F); });
    QVERIFY(ended);
    QVERIFY(m_window.isNull());
    QVERIFY(visibleWindows().isEmpty());
}

void TestQuizWindow::timerEmptiesTheMessage()
{
    auto *timer = m_window->findChild<QTimer *>(QStringLiteral("tmrtempo"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());

    // The check comes some way into the period, so a restarted timer would show more time left.
    QTest::qWait(150);
    const int before = timer->remainingTime();
    QTest::mouseClick(button("cmdcontrolla"), Qt::LeftButton);
    const int after = timer->remainingTime();
    QVERIFY(!message()->text().isEmpty());
    QVERIFY(after <= 3000);
    // The free-running timer is not restarted by the check: a message never outlives one period.
    QVERIFY2(
        after <= before,
        qPrintable(
            QStringLiteral("%1 ms left before the check, %2 ms after").arg(before).arg(after)));
    QTRY_VERIFY_WITH_TIMEOUT(message()->text().isEmpty(), after + 500);
    QVERIFY(timer->isActive());
}

NUMERILLO_TEST_MAIN(TestQuizWindow)
#include "tst_quizwindow.moc"

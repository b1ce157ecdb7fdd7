// What a child sees of both windows in any theme, read from their pixels: every text readable on
// its background, the fixed colours as the windows give them, the yellow faces, a focus ring that
// stands out; and every control where the window puts it.
#include "quizwindow.h"
#include "startwindow.h"
#include "windowtest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace {

/** Relative luminance, as the WCAG contrast ratio defines it. */
double luminance(QColor colour)
{
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double contrast(QColor a, QColor b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

/** The colour most of `area` has, and the one that stands out most against it. */
struct Colours
{
    QColor background;
    QColor text;
};

Colours coloursIn(const QImage &image, QRect area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    Colours colours;
    int most = 0;
    for (const auto &[rgb, count] : counts)
        if (count > most) {
            most = count;
            colours.background = QColor(rgb);
        }
    colours.text = colours.background;
    for (const auto &[rgb, count] : counts)
        if (contrast(QColor(rgb), colours.background) > contrast(colours.text, colours.background))
            colours.text = QColor(rgb);
    return colours;
}

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QPalette themePalette(QColor window, QColor text, QColor base, QColor button, QColor highlight)
{
    QPalette palette(button, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, text);
    return palette;
}

const QColor green(192, 255, 192), cyan(128, 255, 255);

/** A yellow face, as Fusion shades it: #fefe6e at the top, #fafa44 in the middle. */
bool yellow(QColor face)
{
    return face.red() >= 230 && face.green() >= 230 && face.blue() <= 128;
}

std::unique_ptr<QWidget> openWindow(const QString &which)
{
    std::unique_ptr<QWidget> window;
    if (which == QLatin1String("quiz")) {
        window = std::make_unique<QuizWindow>();
        window->findChild<QLabel *>(QStringLiteral("lblmessaggio"))
            ->setText(QStringLiteral("Attento. Correggiti"));
        window->findChild<QLineEdit *>(QStringLiteral("txt2"))->setText(QStringLiteral("42"));
    } else {
        window = std::make_unique<StartWindow>();
    }
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

} // namespace

class TestLooks : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QApplication::setPalette(QApplication::style()->standardPalette());
        deleteAllWindows();
    }
    void readableInEveryTheme_data();
    void readableInEveryTheme();
    void controlsSitWhereTheWindowPutsThem_data();
    void controlsSitWhereTheWindowPutsThem();
};

void TestLooks::readableInEveryTheme_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QPalette>("palette");
    const std::pair<const char *, QPalette> themes[] = {
        {"light", QApplication::style()->standardPalette()},
        {"Breeze Dark",
         themePalette({42, 46, 50}, {252, 252, 252}, {27, 30, 32}, {49, 54, 59}, {61, 174, 233})},
        {"Adwaita dark",
         themePalette({53, 53, 53}, {238, 238, 236}, {45, 45, 45}, {57, 57, 57}, {21, 83, 158})},
        {"qt6ct darker",
         themePalette({66, 66, 66}, {255, 255, 255}, {48, 48, 48}, {66, 66, 66}, {18, 81, 108})},
        {"high contrast black",
         themePalette(Qt::black, Qt::white, Qt::black, Qt::black, {26, 235, 255})},
    };
    for (const auto &[theme, palette] : themes)
        for (const char *window : {"start", "quiz"})
            QTest::addRow("%s, %s window", theme, window) << QString::fromLatin1(window) << palette;
}

void TestLooks::readableInEveryTheme()
{
    QFETCH(QString, window);
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    const auto shown = openWindow(window);
    QVERIFY(shown);
    const bool quiz = window == QLatin1String("quiz");
    const QColor background = quiz ? green : cyan;

    struct Text
    {
        QString name;
        double least;  // the contrast it needs against its background
        QColor colour; // where the window fixes it
    };
    QList<Text> texts;
    if (quiz) {
        texts = {{QStringLiteral("lblcomando"), 4.5, Qt::blue},
                 {QStringLiteral("lblmessaggio"), 3.0, Qt::red},
                 {QStringLiteral("cmdcontrolla"), 4.5, Qt::black},
                 {QStringLiteral("cmdfine"), 4.5, Qt::black},
                 {QStringLiteral("txt2"), 4.5, {}}};
        for (int k = 1; k <= 10; ++k)
            texts.append({QStringLiteral("lbl%1").arg(k), 4.5, Qt::black});
    } else {
        // The start button's picture, large lettering in colours of its own.
        texts = {{QStringLiteral("cmdesci"), 4.5, Qt::black},
                 {QStringLiteral("cmdcomincia"), 3.0, {}}};
    }
    shown->findChild<QWidget *>(QStringLiteral("Picture1"))->setFocus();
    const QImage unfocused = shown->grab().toImage();
    for (const Text &text : std::as_const(texts)) {
        const QWidget *control = shown->findChild<QWidget *>(text.name);
        QVERIFY2(control, qPrintable(text.name));
        // Inside its border, where there is one.
        const Colours colours = coloursIn(unfocused, control->geometry().adjusted(3, 3, -3, -3));
        const QString what = QStringLiteral("%1: %2 on %3, %4:1")
                                 .arg(text.name, colours.text.name(), colours.background.name())
                                 .arg(contrast(colours.text, colours.background), 0, 'f', 2);
        QVERIFY2(contrast(colours.text, colours.background) >= text.least, qPrintable(what));
        if (text.colour.isValid())
            QVERIFY2(near(colours.text, text.colour, 40), qPrintable(what));
        if (text.name.startsWith(QLatin1String("lbl")))
            QVERIFY2(colours.background == background, qPrintable(what));
        // The question's border, as much as its digits.
        if (text.name.startsWith(QLatin1String("lbl")) && text.name.size() <= 5) {
            const QColor border =
                unfocused.pixelColor(control->geometry().left(), control->geometry().center().y());
            QVERIFY2(contrast(border, background) >= 3.0, qPrintable(text.name + " border"));
        }
    }
    const QStringList start{QStringLiteral("cmdcomincia"), QStringLiteral("cmdesci")};
    const QStringList faces =
        quiz ? QStringList{QStringLiteral("cmdcontrolla"), QStringLiteral("cmdfine")} : start;
    for (const QString &name : faces) {
        QWidget *control = shown->findChild<QWidget *>(name);
        // Along the top of the face, clear of caption and picture.
        const QRect area = control->geometry();
        const QColor face =
            coloursIn(unfocused, QRect(area.left() + 3, area.top() + 3, area.width() - 6, 4))
                .background;
        QVERIFY2(yellow(face), qPrintable(name + " face " + face.name()));
    }

    // The focus ring, on each kind of control: against the window around it and against the
    // look of the same place without the focus.
    const QStringList focused = quiz ? QStringList{QStringLiteral("txt1"), QStringLiteral("txt2"),
                                                   QStringLiteral("cmdcontrolla")}
                                     : start;
    for (const QString &name : focused) {
        QWidget *control = shown->findChild<QWidget *>(name);
        control->setFocus();
        const QImage image = shown->grab().toImage();
        const QRect area = control->geometry();
        for (const QPoint at : {QPoint(area.left() - 2, area.center().y()),
                                QPoint(area.center().x(), area.bottom() + 2)}) {
            const QColor ring = image.pixelColor(at);
            const QString what = QStringLiteral("%1's ring %2 at %3,%4")
                                     .arg(name, ring.name())
                                     .arg(at.x())
                                     .arg(at.y());
            QVERIFY2(contrast(ring, background) >= 3.0, qPrintable(what));
            QVERIFY2(contrast(ring, unfocused.pixelColor(at)) >= 3.0, qPrintable(what));
        }
    }
}

void TestLooks::controlsSitWhereTheWindowPutsThem_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("twips");
    const auto row = [](const char *window, const QString &control, QRect twips) {
        QTest::addRow("%s %s", window, qPrintable(control))
            << QString::fromLatin1(window) << control << twips;
    };
    row("quiz", QStringLiteral("lblcomando"), {1560, 240, 6615, 855});
    for (int k = 1; k <= 10; ++k) {
        const int top = 1440 + 600 * ((k - 1) % 5);
        row("quiz", QStringLiteral("lbl%1").arg(k), {k <= 5 ? 360 : 2760, top, 1335, 495});
        row("quiz", QStringLiteral("txt%1").arg(k),
            {k <= 5 ? 1800 : 4200, top, 615, k == 1 ? 525 : 495});
    }
    row("quiz", QStringLiteral("lblmessaggio"), {360, 4560, 4455, 735});
    row("quiz", QStringLiteral("Picture1"), {6000, 1440, 3615, 3735});
    row("quiz", QStringLiteral("cmdcontrolla"), {1800, 5640, 1695, 495});
    row("quiz", QStringLiteral("cmdfine"), {8640, 5880, 1095, 495});
    row("start", QStringLiteral("Picture1"), {240, 240, 3015, 4215});
    row("start", QStringLiteral("Picture2"), {3600, 240, 6255, 1215});
    row("start", QStringLiteral("cmdcomincia"), {5640, 2400, 2175, 975});
    row("start", QStringLiteral("cmdesci"), {8880, 4320, 975, 495});
    row("start", QStringLiteral("Image1"), {120, 4680, 1230, 165});
}

void TestLooks::controlsSitWhereTheWindowPutsThem()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QRect, twips);
    const auto shown = openWindow(window);
    QVERIFY(shown);
    const QWidget *widget = shown->findChild<QWidget *>(control);
    QVERIFY(widget);
    // 15 twips to a pixel at 96 dots per inch: every place and size here is a whole pixel.
    QCOMPARE(widget->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

NUMERILLO_TEST_MAIN(TestLooks)
#include "tst_looks.moc"

// The program's drawings, as made at build time from their SVG files, against the same files
// drawn by Qt Svg, which the program itself does not use.
#include "drawing.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

class TestDrawings : public QObject
{
    Q_OBJECT

private slots:
    void looksLikeItsSvg_data();
    void looksLikeItsSvg();
    void unknownNamesFindNothing();
};

namespace {

QImage onWhite(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter(&flat).drawImage(0, 0, image);
    return flat;
}

int difference(QRgb a, QRgb b)
{
    return std::max(
        {qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
}

/**
 * The pixels of `image` that match no pixel within one pixel's distance in `reference`: a shape
 * that is missing, in the wrong place or the wrong colour. Edges that differ by less than a pixel
 * count as alike.
 */
QList<QPoint> unmatched(const QImage &image, const QImage &reference)
{
    constexpr int tolerance = 32;
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            bool matched = false;
            for (int dy = -1; dy <= 1 && !matched; ++dy)
                for (int dx = -1; dx <= 1 && !matched; ++dx)
                    matched =
                        reference.valid(x + dx, y + dy) &&
                        difference(image.pixel(x, y), reference.pixel(x + dx, y + dy)) <= tolerance;
            if (!matched)
                points.append(QPoint(x, y));
        }
    }
    return points;
}

} // namespace

void TestDrawings::looksLikeItsSvg_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QSize>("pixels");
    const struct
    {
        const char *name;
        const char *file;
        QSize shown; // as the windows show it
    } drawings[] = {
        {"quiz", "pictures/quiz.svg", {241, 263}},
        {"start", "pictures/start.svg", {201, 236}},
        {"title", "pictures/title.svg", {221, 49}},
        {"signature", "pictures/signature.svg", {82, 11}},
        {"startbutton", "pictures/startbutton.svg", {109, 34}},
        {"icon-16", "icons/numerillo-16.svg", {16, 16}},
        {"icon-24", "icons/numerillo-24.svg", {24, 24}},
        {"icon", "icons/numerillo.svg", {32, 32}},
    };
    for (const auto &drawing : drawings) {
        for (const qreal ratio : {1.0, 1.25, 2.0, 3.0}) {
            QTest::addRow("%s at %gx", drawing.name, ratio)
                << drawing.name << QString::fromLatin1(drawing.file)
                << (QSizeF(drawing.shown) * ratio).toSize();
        }
    }
}

void TestDrawings::looksLikeItsSvg()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QSize, pixels);
    const Drawing *drawing = Drawing::find(name.toStdString());
    QVERIFY(drawing);
    QSvgRenderer svg(QStringLiteral(NUMERILLO_RESOURCES_DIR "/") + file);
    QVERIFY(svg.isValid());
    QCOMPARE(drawing->viewBox, svg.viewBoxF().size());
    QVERIFY(qAbs(drawing->size.width() - svg.defaultSize().width()) < 1);
    QVERIFY(qAbs(drawing->size.height() - svg.defaultSize().height()) < 1);

    QImage reference(pixels, QImage::Format_ARGB32_Premultiplied);
    reference.fill(Qt::transparent);
    {
        // Where SVG puts the view box: scaled alike both ways, as large as fits, centred.
        QSizeF fitted = svg.viewBoxF().size();
        fitted.scale(QSizeF(pixels), Qt::KeepAspectRatio);
        const QPointF corner((pixels.width() - fitted.width()) / 2,
                             (pixels.height() - fitted.height()) / 2);
        QPainter painter(&reference);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter, QRectF(corner, fitted));
    }
    reference = onWhite(reference);
    const QImage ours = onWhite(drawing->image(pixels));
    QCOMPARE(ours.size(), pixels);

    // Qt Svg draws the corners of rounded rectangles a little tighter than SVG says (librsvg draws
    // them as we do): the placard's and the calculator's corners differ by up to 22 pixels.
    const QList<QPoint> wrong = unmatched(ours, reference);
    if (wrong.size() > 24) {
        const QPoint p = wrong.first();
        QFAIL(qPrintable(QStringLiteral("%1 pixels differ, the first at (%2, %3): #%4, not #%5")
                             .arg(wrong.size())
                             .arg(p.x())
                             .arg(p.y())
                             .arg(ours.pixel(p) & 0xffffff, 6, 16, QLatin1Char('0'))
                             .arg(reference.pixel(p) & 0xffffff, 6, 16, QLatin1Char('0'))));
    }
}

void TestDrawings::unknownNamesFindNothing()
{
    QVERIFY(!Drawing::find("no such drawing"));
    QVERIFY(!Drawing::find(""));
    QVERIFY(!Drawing::find("quiz.svg"));
}

QTEST_MAIN(TestDrawings)
#include "tst_drawings.moc"

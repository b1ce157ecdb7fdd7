#include "drawing.h"
#include "picturebox.h"

#include <QPainter>
#include <QTest>

class TestPictureBox : public QObject
{
    Q_OBJECT

private slots:
    void fitsThePictureWithItsProportionsCentred_data();
    void fitsThePictureWithItsProportionsCentred();
    void showsASmallerPictureAtItsOwnSizeTopLeft_data();
    void showsASmallerPictureAtItsOwnSizeTopLeft();
    void paintsWhatTheRendererDraws_data();
    void paintsWhatTheRendererDraws();
};

namespace {

const QColor background(192, 255, 192);

/** A picture box on a plain background, as on the windows. */
struct Scene
{
    explicit Scene(const QString &picture, QSize size)
    {
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, background);
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        parent.resize(size);
        box = new PictureBox(&parent);
        box->setGeometry(QRect(QPoint(0, 0), size));
        box->setPicture(picture);
    }
    QWidget parent;
    PictureBox *box = nullptr;
};

} // namespace

void TestPictureBox::fitsThePictureWithItsProportionsCentred_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSizeF>("ownSize");
    // Own sizes in twips (15 to a pixel); each picture is larger than its area, in one direction
    // or both.
    QTest::newRow("quiz picture") << "quiz" << QSize(241, 249) << QSizeF(3964, 4324);
    QTest::newRow("start illustration") << "start" << QSize(201, 281) << QSizeF(3709, 4353);
    QTest::newRow("signature, a little wider") << "signature" << QSize(82, 11) << QSizeF(1234, 161);
    QTest::newRow("title in a narrower area") << "title" << QSize(200, 81) << QSizeF(3315, 730);
}

void TestPictureBox::fitsThePictureWithItsProportionsCentred()
{
    QFETCH(QString, picture);
    QFETCH(QSize, area);
    QFETCH(QSizeF, ownSize);
    Scene scene(picture, area);
    const QRectF fitted = scene.box->pictureRect();

    QVERIFY(QRectF(QPointF(0, 0), area).adjusted(-0.01, -0.01, 0.01, 0.01).contains(fitted));
    QVERIFY(qAbs(fitted.width() - area.width()) < 0.01 ||
            qAbs(fitted.height() - area.height()) < 0.01);
    // The drawings give their own size in pixels to two decimals.
    QVERIFY(qAbs(fitted.width() / fitted.height() / (ownSize.width() / ownSize.height()) - 1) <
            0.001);
    QVERIFY(qAbs(fitted.center().x() - area.width() / 2.0) < 0.01);
    QVERIFY(qAbs(fitted.center().y() - area.height() / 2.0) < 0.01);
}

void TestPictureBox::showsASmallerPictureAtItsOwnSizeTopLeft_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QSizeF>("ownSize");
    QTest::newRow("title") << "title" << QSize(417, 81) << QSizeF(3315, 730);
    QTest::newRow("start button, just fits")
        << "startbutton" << QSize(110, 35) << QSizeF(1637, 511);
}

void TestPictureBox::showsASmallerPictureAtItsOwnSizeTopLeft()
{
    QFETCH(QString, picture);
    QFETCH(QSize, area);
    QFETCH(QSizeF, ownSize);
    Scene scene(picture, area);
    const QRectF shown = scene.box->pictureRect();

    QCOMPARE(shown.topLeft(), QPointF(0, 0));
    QVERIFY(qAbs(shown.width() - ownSize.width() / 15) < 0.01);
    QVERIFY(qAbs(shown.height() - ownSize.height() / 15) < 0.01);
}

void TestPictureBox::paintsWhatTheRendererDraws_data()
{
    QTest::addColumn<QSize>("finalArea");
    QTest::newRow("drawn in the background") << QSize(241, 249);
    QTest::newRow("resized after it was set") << QSize(120, 200);
}

void TestPictureBox::paintsWhatTheRendererDraws()
{
    QFETCH(QSize, finalArea);
    Scene scene(QStringLiteral("quiz"), QSize(241, 249));
    scene.parent.resize(finalArea);
    scene.box->resize(finalArea);

    const QImage shot =
        scene.parent.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect fitted = scene.box->pictureRect().toRect();

    // The same picture drawn directly, over the same background.
    QImage expected(shot.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(background);
    QPainter painter(&expected);
    painter.drawImage(scene.box->pictureRect().topLeft(),
                      Drawing::find("quiz")->image(scene.box->pictureRect().size()));
    painter.end();

    QCOMPARE(shot, expected);
    // Something was drawn: the picture is not one flat colour.
    QVERIFY(shot.pixel(fitted.center()) != shot.pixel(fitted.topLeft()) ||
            shot.pixel(fitted.center()) != background.rgb());
}

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"

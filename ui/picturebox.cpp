#include "picturebox.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

QImage drawPicture(QSvgRenderer &picture, QSize pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.render(&painter);
    return image;
}

QIcon pictureIcon(const QString &path, QSize size)
{
    QSvgRenderer picture(path);
    QIcon icon;
    QList<qreal> ratios{1.0, 2.0};
    const qreal screenRatio = qApp->devicePixelRatio();
    if (!ratios.contains(screenRatio))
        ratios.append(screenRatio);
    for (const qreal ratio : ratios) {
        QPixmap pixmap = QPixmap::fromImage(drawPicture(picture, (QSizeF(size) * ratio).toSize()));
        pixmap.setDevicePixelRatio(ratio);
        icon.addPixmap(pixmap);
    }
    return icon;
}

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setPicture(const QString &path)
{
    m_picture = path;
    m_renderer.load(path);
    m_cache = QPixmap();
    // Before the widget is shown its pixel ratio is the primary screen's: right, almost always.
    const QSize pixels = picturePixels(devicePixelRatioF());
    if (!pixels.isEmpty()) {
        m_drawing = std::async(std::launch::async, [path, pixels] {
            QSvgRenderer picture(path);
            return drawPicture(picture, pixels);
        });
    }
    update();
}

QSize PictureBox::picturePixels(qreal ratio) const
{
    return (pictureRect().size() * ratio).toSize();
}

QRectF PictureBox::pictureRect() const
{
    if (!m_renderer.isValid())
        return {};
    // The program's drawings give their view box in twips, 15 to a pixel at 96 dots per inch:
    // that is their exact own size. The default size would do but is cut to whole pixels.
    constexpr qreal twipsPerPixel = 15;
    QSizeF own = m_renderer.viewBoxF().size() / twipsPerPixel;
    if (own.isEmpty())
        own = m_renderer.defaultSize();
    // A picture that fits is shown at its own size from the top left corner, as drawn; a larger
    // one is scaled down to fit, centred.
    if (own.width() <= width() && own.height() <= height())
        return QRectF(QPointF(0, 0), own);
    own.scale(size(), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - own.width()) / 2, (height() - own.height()) / 2), own);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF target = pictureRect();
    if (!target.isEmpty()) {
        // Drawn once in device pixels, then only copied, so that a repaint costs nothing and the
        // picture stays sharp on high-density screens.
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = picturePixels(ratio);
        if (m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) {
            QImage drawn = m_drawing.valid() ? m_drawing.get() : QImage();
            if (drawn.size() != pixels)
                drawn = drawPicture(m_renderer, pixels);
            m_cache = QPixmap::fromImage(std::move(drawn));
            m_cache.setDevicePixelRatio(ratio);
        }
        painter.drawPixmap(target.topLeft(), m_cache);
    }
    if (hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        // Only a user who moves with the keyboard needs to see where the focus is.
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

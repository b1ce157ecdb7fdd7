#include "picturebox.h"

#include "drawing.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

QIcon pictureIcon(const QString &name, QSize size)
{
    QIcon icon;
    const Drawing *drawing = Drawing::find(name.toStdString());
    if (!drawing)
        return icon;
    QList<qreal> ratios{1.0, 2.0};
    const qreal screenRatio = qApp->devicePixelRatio();
    if (!ratios.contains(screenRatio))
        ratios.append(screenRatio);
    for (const qreal ratio : ratios) {
        QPixmap pixmap = QPixmap::fromImage(drawing->image(QSizeF(size) * ratio));
        pixmap.setDevicePixelRatio(ratio);
        icon.addPixmap(pixmap);
    }
    return icon;
}

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setPicture(const QString &name)
{
    m_picture = name;
    m_drawing = Drawing::find(name.toStdString());
    m_cache = QPixmap();
    update();
}

QRectF PictureBox::pictureRect() const
{
    if (!m_drawing)
        return {};
    QSizeF own = m_drawing->size;
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
        if (m_cache.isNull() || m_cacheSize != target.size() ||
            m_cache.devicePixelRatio() != ratio) {
            m_cache = QPixmap::fromImage(m_drawing->image(target.size() * ratio));
            m_cache.setDevicePixelRatio(ratio);
            m_cacheSize = target.size();
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

#include "picturebox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::setPicture(const QString &path)
{
    m_picture = path;
    m_renderer.load(path);
    m_cache = QPixmap();
    update();
}

QRectF PictureBox::pictureRect() const
{
    if (!m_renderer.isValid())
        return {};
    QSizeF fitted = m_renderer.defaultSize();
    fitted.scale(size(), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                  fitted);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF target = pictureRect();
    if (!target.isEmpty()) {
        // Drawn once into a pixmap of device pixels, then only copied, so that a repaint costs
        // nothing and the picture stays sharp on high-density screens.
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = (target.size() * ratio).toSize();
        if (m_cache.size() != pixels || m_cache.devicePixelRatio() != ratio) {
            m_cache = QPixmap(pixels);
            m_cache.fill(Qt::transparent);
            QPainter cachePainter(&m_cache);
            cachePainter.setRenderHint(QPainter::Antialiasing);
            m_renderer.render(&cachePainter);
            cachePainter.end();
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

// A picture area: shows one of the program's drawings at its own size from the top left corner,
// or scaled down to fit and centred when it is larger than the area, sharp at any device pixel
// ratio. Whatever the picture leaves free shows the parent's background.
// The picture is drawn when the area is first painted, and again only when its size or the
// screen's pixel density changes.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

struct Drawing;

/** An icon of `size` that shows the drawing `name`, sharp on screens of 1x and 2x density and on
 * those the application is on. Drawn here, so that no icon engine plugin is loaded for it. */
QIcon pictureIcon(const QString &name, QSize size);

class PictureBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)

public:
    explicit PictureBox(QWidget *parent = nullptr);

    /** The name of the drawing shown, such as "quiz"; an unknown name shows nothing. */
    QString picture() const { return m_picture; }
    void setPicture(const QString &name);

    /** Where the picture lands inside the widget. */
    QRectF pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_picture;
    const Drawing *m_drawing = nullptr;
    QPixmap m_cache;    // the picture as last painted
    QSizeF m_cacheSize; // and the size it was painted at, in pixels
};

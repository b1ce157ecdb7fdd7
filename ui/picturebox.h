// A picture area: shows a vector picture at its own size from the top left corner, or scaled
// down to fit and centred when it is larger than the area, sharp at any device pixel ratio.
// Whatever the picture leaves free shows the parent's background.
// The picture is drawn in the background as soon as it is set, so it is ready, or nearly, by the
// time the window first paints.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

#include <future>

/** A vector picture drawn onto a transparent image of `pixels` device pixels, filling it. */
QImage drawPicture(QSvgRenderer &picture, QSize pixels);

/** An icon of `size` that shows a vector picture, sharp on screens of 1x and 2x density and on
 * those the application is on. Drawn here, so that no icon engine plugin is loaded for it. */
QIcon pictureIcon(const QString &path, QSize size);

class PictureBox : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)

public:
    explicit PictureBox(QWidget *parent = nullptr);

    /** The picture's resource path, such as ":/pictures/quiz.svg". */
    QString picture() const { return m_picture; }
    void setPicture(const QString &path);

    /** Where the picture lands inside the widget. */
    QRectF pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    /** The size in device pixels of the picture as shown at `ratio`. */
    QSize picturePixels(qreal ratio) const;

    QString m_picture;
    QSvgRenderer m_renderer;
    std::future<QImage> m_drawing; // the first drawing, made on another thread
    QPixmap m_cache;               // the picture as last painted
};

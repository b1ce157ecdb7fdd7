// A picture area: shows a vector picture scaled to fit, its proportions kept, centred, sharp at
// any device pixel ratio. Whatever the picture leaves free shows the parent's background.
#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

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
    QString m_picture;
    QSvgRenderer m_renderer;
    QPixmap m_cache; // the picture at the size and pixel ratio it was last painted at
};

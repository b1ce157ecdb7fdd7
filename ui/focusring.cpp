#include "focusring.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

FocusRing::FocusRing(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusring"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *focused) { follow(focused); });
}

void FocusRing::follow(QWidget *focused)
{
    // No ring while the window is not the active one: the focus is then elsewhere.
    if (!focused || focused->window() != parentWidget() || focused == parentWidget()) {
        hide();
        return;
    }
    const QRect control(focused->mapTo(parentWidget(), QPoint(0, 0)), focused->size());
    setGeometry(control.marginsAdded(QMargins(1, 1, 1, 1) * (width + gap)));
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addRect(rect());
    ring.addRect(rect().marginsRemoved(QMargins(width, width, width, width)));
    painter.fillPath(ring, colour);
}

#include "Glyphs.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace quillomar::window {

namespace {

QPixmap TrianglePixmap(TGlyphDirection aDirection, qreal aRatio) {
    const int lSide = qRound(16 * aRatio);
    QPixmap lPixmap(lSide, lSide);
    lPixmap.setDevicePixelRatio(aRatio);
    lPixmap.fill(Qt::transparent);
    QPainter lPainter(&lPixmap);
    lPainter.setRenderHint(QPainter::Antialiasing);
    lPainter.setPen(Qt::NoPen);
    lPainter.setBrush(QColor(0, 0, 255));
    QPolygonF lTriangle;
    if (aDirection == TGlyphDirection::Left) {
        lTriangle << QPointF(11.5, 2.5) << QPointF(11.5, 13.5) << QPointF(4.0, 8.0);
    } else {
        lTriangle << QPointF(4.5, 2.5) << QPointF(4.5, 13.5) << QPointF(12.0, 8.0);
    }
    lPainter.drawPolygon(lTriangle);
    return lPixmap;
}

}  // namespace

QIcon TriangleGlyph(TGlyphDirection aDirection, qreal aDevicePixelRatio) {
    QIcon lIcon;
    lIcon.addPixmap(TrianglePixmap(aDirection, 1.0));
    if (aDevicePixelRatio > 1.0) lIcon.addPixmap(TrianglePixmap(aDirection, aDevicePixelRatio));
    lIcon.addPixmap(TrianglePixmap(aDirection, 2.0));
    return lIcon;
}

QIcon ProgramIcon() {
    QIcon lIcon;
    for (int lSide : {16, 32, 48, 64, 128}) {
        QPixmap lPixmap(lSide, lSide);
        lPixmap.fill(Qt::transparent);
        QPainter lPainter(&lPixmap);
        lPainter.setRenderHint(QPainter::Antialiasing);
        lPainter.scale(lSide / 64.0, lSide / 64.0);
        lPainter.setPen(Qt::NoPen);
        lPainter.setBrush(QColor(0xef, 0xef, 0xef));
        lPainter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
        lPainter.setBrush(QColor(0, 0, 255));
        lPainter.drawPolygon(QPolygonF() << QPointF(10, 28) << QPointF(30, 28) << QPointF(20, 10));  // ^
        lPainter.setBrush(QColor(255, 0, 0));
        lPainter.drawPolygon(QPolygonF() << QPointF(34, 36) << QPointF(54, 36) << QPointF(44, 54));  // v
        lPainter.setBrush(QColor(0x40, 0x40, 0x40));
        lPainter.drawRect(QRectF(8, 31, 48, 2));
        lIcon.addPixmap(lPixmap);
    }
    return lIcon;
}

}  // namespace quillomar::window

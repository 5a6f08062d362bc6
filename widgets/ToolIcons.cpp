#include "widgets/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

constexpr int IconSize = 24;

QIcon Draw(const std::function<void(QPainter &)> &paint) {
    QPixmap picture(IconSize, IconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return QIcon(picture);
}

} // namespace

QIcon NewsIcon() {
    return Draw([](QPainter &p) {
        // A folded newspaper: a page with a headline bar and text lines.
        p.setPen(QPen(QColor(0x4a, 0x5a, 0x6c), 1.2));
        p.setBrush(QColor(0xff, 0xff, 0xff));
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3a, 0x6e, 0xa5));
        p.drawRect(QRectF(6, 6, 12, 3.5));
        p.setBrush(QColor(0x9a, 0xa7, 0xb6));
        p.drawRect(QRectF(6, 11, 5, 6.5));
        for (const qreal y : {11.0, 13.5, 16.0})
            p.drawRect(QRectF(12.5, y, 5.5, 1.5));
    });
}

QIcon UpdateIcon() {
    return Draw([](QPainter &p) {
        // Two arrows chasing each other round a circle.
        const QColor green(0x2e, 0x8b, 0x3e);
        p.setPen(QPen(green, 2.6, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        const QRectF ring(5, 5, 14, 14);
        p.drawArc(ring, 30 * 16, 130 * 16);
        p.drawArc(ring, 210 * 16, 130 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        QPainterPath head;
        head.moveTo(20.5, 7.5);
        head.lineTo(20.5, 13.5);
        head.lineTo(14.5, 10.5);
        head.closeSubpath();
        p.drawPath(head);
        p.translate(24, 24);
        p.rotate(180);
        p.drawPath(head);
    });
}

QIcon HelpIcon() {
    return Draw([](QPainter &p) {
        p.setPen(QPen(QColor(0x24, 0x52, 0x85), 1));
        p.setBrush(QColor(0x3a, 0x6e, 0xa5));
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        QFont font = p.font();
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
    });
}

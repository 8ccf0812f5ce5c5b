#include "resources/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor deepBlue(20, 48, 96);
const QColor brightBlue(64, 140, 220);
const QColor needleOrange(240, 140, 30);

} // namespace

// A speed dial with its needle just past the top: the governor holding its speed.
void drawProgramIcon(QPainter& painter, const QRectF& box) {
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal pen = qMax<qreal>(1.0, box.width() / 14.0);
    QRectF face = box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    QLinearGradient fill(face.topLeft(), face.bottomRight());
    fill.setColorAt(0, brightBlue);
    fill.setColorAt(1, deepBlue);
    painter.setBrush(fill);
    painter.setPen(QPen(Qt::white, pen));
    painter.drawEllipse(face);

    const QPointF centre = face.center();
    const qreal radius = face.width() / 2;
    painter.setPen(QPen(Qt::white, pen * 0.6, Qt::SolidLine, Qt::RoundCap));
    for (int step = 0; step <= 6; ++step) {
        painter.save();
        painter.translate(centre);
        painter.rotate(-135 + step * 45);
        painter.drawLine(QPointF(0, -radius * 0.78), QPointF(0, -radius * 0.6));
        painter.restore();
    }
    painter.save();
    painter.translate(centre);
    painter.rotate(20);
    painter.setPen(QPen(needleOrange, pen, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(0, radius * 0.1), QPointF(0, -radius * 0.7));
    painter.restore();
    painter.setPen(Qt::NoPen);
    painter.setBrush(needleOrange);
    painter.drawEllipse(centre, pen * 0.9, pen * 0.9);
}

namespace {

QPixmap iconImage(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawProgramIcon(painter, QRectF(0, 0, size, size));
    return pixmap;
}

} // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(iconImage(size));
    }
    return icon;
}

QPixmap logoBitmap() {
    QPixmap pixmap(263, 52);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath plate;
    plate.addRoundedRect(QRectF(0.5, 0.5, 262, 51), 8, 8);
    QLinearGradient fill(0, 0, 263, 0);
    fill.setColorAt(0, deepBlue);
    fill.setColorAt(1, brightBlue);
    painter.fillPath(plate, fill);

    drawProgramIcon(painter, QRectF(8, 6, 40, 40));

    QFont name(QStringLiteral("Noto Sans"), 1, QFont::Bold);
    name.setPixelSize(28);
    name.setItalic(true);
    painter.setFont(name);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(58, 2, 200, 34), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Varnel"));

    QFont line(QStringLiteral("Noto Sans"), 1);
    line.setPixelSize(10);
    painter.setFont(line);
    painter.setPen(QColor(220, 232, 248));
    painter.drawText(QRectF(60, 34, 200, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Kelvo governor settings"));
    return pixmap;
}

#include "ide/shell/ShellPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace zov::shell {

QIcon PreferencesPageIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(90, 100, 120));
    painter.setBrush(QColor(250, 250, 245));
    painter.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    painter.setPen(QPen(QColor(120, 130, 150), 1));
    painter.drawLine(QPointF(4.5, 5.5), QPointF(11.5, 5.5));
    painter.drawLine(QPointF(4.5, 10.5), QPointF(11.5, 10.5));
    painter.setPen(QColor(30, 80, 160));
    painter.setBrush(QColor(70, 130, 220));
    painter.drawRect(QRectF(6.5, 4, 2, 3));
    painter.drawRect(QRectF(9, 9, 2, 3));
    return QIcon(pixmap);
}

QPixmap SplashPicture()
{
    const QSize size(380, 150);
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(22, 56, 112));
    sky.setColorAt(1, QColor(60, 120, 190));
    painter.fillRect(pixmap.rect(), sky);
    // A trace of a signal across the picture, as on a bench's scope.
    QPainterPath trace;
    trace.moveTo(0, 125);
    const int steps[] = {125, 125, 108, 108, 135, 135, 104, 104, 128, 128, 116, 116, 125};
    for (int i = 1; i < static_cast<int>(std::size(steps)); ++i)
        trace.lineTo(i * size.width() / 12.0, steps[i]);
    painter.setPen(QPen(QColor(140, 230, 160, 170), 2));
    painter.drawPath(trace);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(64);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 4, size.width(), 76), Qt::AlignCenter, QStringLiteral("ZOV"));
    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(13);
    painter.setFont(subtitle);
    painter.setPen(QColor(215, 230, 250));
    painter.drawText(QRect(0, 74, size.width(), 20), Qt::AlignCenter, QStringLiteral("Zovatron"));
    return pixmap;
}

QPixmap TipsPicture()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(24, 18), 16);
    glow.setColorAt(0, QColor(255, 250, 190));
    glow.setColorAt(1, QColor(245, 200, 40));
    painter.setPen(QPen(QColor(170, 130, 20), 1.2));
    painter.setBrush(glow);
    QPainterPath bulb;
    bulb.addEllipse(QPointF(24, 18), 12, 12);
    bulb.addRect(QRectF(19, 26, 10, 8));
    painter.drawPath(bulb.simplified());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(130, 130, 140));
    painter.drawRoundedRect(QRectF(18.5, 34, 11, 7), 2, 2);
    painter.setPen(QPen(QColor(90, 90, 100), 1));
    painter.drawLine(QPointF(19, 36.5), QPointF(29, 36.5));
    painter.drawLine(QPointF(19, 39), QPointF(29, 39));
    return pixmap;
}

}  // namespace zov::shell

#include "ide/output/PanePictures.h"

#include "ide/shell/ShellIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace zov::output {

namespace {

void Arrow(QPainter& p, bool right)
{
    QPainterPath path;
    if (right) {
        path.moveTo(4, 3);
        path.lineTo(12, 8);
        path.lineTo(4, 13);
    } else {
        path.moveTo(12, 3);
        path.lineTo(4, 8);
        path.lineTo(12, 13);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(40, 110, 200));
}

void Sheet(QPainter& p)
{
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(3, 1, 10, 14);
    p.setPen(QColor(150, 150, 150));
    for (int y = 4; y <= 12; y += 3)
        p.drawLine(5, y, 11, y);
}

void Draw(QPainter& p, PanePictureId id)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (id) {
    case PanePictureId::Save:
        p.setPen(QColor(30, 50, 110));
        p.setBrush(QColor(60, 100, 190));
        p.drawRect(2, 2, 12, 12);
        p.setBrush(Qt::white);
        p.drawRect(4, 2, 8, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(5, 10, 6, 4);
        break;
    case PanePictureId::Delete:
        p.setPen(QPen(QColor(200, 40, 40), 2.5));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
        break;
    case PanePictureId::Freeze:
        p.setPen(QPen(QColor(40, 120, 200), 1.6));
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(8, 8);
            p.rotate(60.0 * i);
            p.drawLine(0, -6, 0, 6);
            p.drawLine(-2, -5, 0, -3);
            p.drawLine(2, -5, 0, -3);
            p.drawLine(-2, 5, 0, 3);
            p.drawLine(2, 5, 0, 3);
            p.restore();
        }
        break;
    case PanePictureId::LoadScript:
        Sheet(p);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 160, 30));
        p.drawEllipse(9, 9, 6, 6);
        break;
    case PanePictureId::Results:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 160, 60));
        p.drawRect(2, 8, 3, 6);
        p.setBrush(QColor(200, 60, 60));
        p.drawRect(6, 4, 3, 10);
        p.setBrush(QColor(60, 100, 190));
        p.drawRect(10, 6, 3, 8);
        p.setPen(QColor(60, 60, 60));
        p.drawLine(1, 14, 15, 14);
        break;
    case PanePictureId::Add:
        p.setPen(QPen(QColor(40, 150, 40), 2.5));
        p.drawLine(8, 3, 8, 13);
        p.drawLine(3, 8, 13, 8);
        break;
    case PanePictureId::RealTime:
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.setBrush(Qt::white);
        p.drawEllipse(2, 2, 12, 12);
        p.drawLine(8, 8, 8, 4);
        p.drawLine(8, 8, 11, 9);
        break;
    case PanePictureId::Find:
        p.setPen(QPen(QColor(50, 50, 50), 1.8));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(2, 2, 8, 8);
        p.setPen(QPen(QColor(120, 80, 30), 2.5));
        p.drawLine(9, 9, 14, 14);
        break;
    case PanePictureId::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawRoundedRect(3, 3, 10, 10, 2, 2);
        break;
    case PanePictureId::Next:
        Arrow(p, true);
        break;
    case PanePictureId::Previous:
        Arrow(p, false);
        break;
    case PanePictureId::Traces:
        Sheet(p);
        break;
    case PanePictureId::Errors:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(210, 40, 40));
        p.drawEllipse(1, 1, 14, 14);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(8, 4, 8, 9);
        p.drawPoint(8, 12);
        break;
    case PanePictureId::Runs:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 40));
        {
            QPainterPath path;
            path.moveTo(4, 2);
            path.lineTo(14, 8);
            path.lineTo(4, 14);
            path.closeSubpath();
            p.drawPath(path);
        }
        break;
    case PanePictureId::Variables:
        p.setPen(QPen(QColor(120, 50, 150), 1.5));
        p.setFont(QFont("Sans", 9, QFont::Bold));
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, "x=");
        break;
    case PanePictureId::Data:
        p.setPen(QColor(80, 80, 80));
        p.setBrush(QColor(240, 200, 90));
        p.drawEllipse(3, 1, 10, 4);
        p.drawRect(3, 3, 10, 10);
        p.drawEllipse(3, 11, 10, 4);
        break;
    case PanePictureId::Saved:
        p.setPen(QColor(30, 50, 110));
        p.setBrush(QColor(60, 100, 190));
        p.drawRect(3, 3, 10, 10);
        p.setBrush(Qt::white);
        p.drawRect(5, 3, 6, 4);
        break;
    case PanePictureId::NotSaved:
        p.setPen(QColor(170, 170, 170));
        p.setBrush(Qt::NoBrush);
        p.drawRect(3, 3, 10, 10);
        break;
    case PanePictureId::ResultOk:
        p.setPen(QPen(QColor(30, 150, 30), 2.5));
        p.drawLine(3, 8, 7, 12);
        p.drawLine(7, 12, 13, 4);
        break;
    case PanePictureId::ResultFailed:
        p.setPen(QPen(QColor(200, 40, 40), 2.5));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
        break;
    }
}

}  // namespace

QIcon PanePicture(PanePictureId id)
{
    return shell::DrawnIcon([id](QPainter& painter) { Draw(painter, id); });
}

}  // namespace zov::output

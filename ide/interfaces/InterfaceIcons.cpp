#include "ide/interfaces/InterfaceIcons.h"

#include "ide/shell/ShellIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace zov::interfaces {

namespace {

const QColor kInk(40, 60, 90);
const QColor kGreen(40, 150, 70);
const QColor kRed(200, 50, 50);
const QColor kPaper(250, 250, 245);

void Page(QPainter& p, int x, int y)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(x, y, 8, 10);
    p.drawLine(x + 2, y + 3, x + 6, y + 3);
    p.drawLine(x + 2, y + 5, x + 6, y + 5);
    p.drawLine(x + 2, y + 7, x + 5, y + 7);
}

void Arrow(QPainter& p, bool right, int y)
{
    QPainterPath path;
    if (right) {
        path.moveTo(1, y - 2);
        path.lineTo(8, y - 2);
        path.lineTo(8, y - 5);
        path.lineTo(14, y);
        path.lineTo(8, y + 5);
        path.lineTo(8, y + 2);
        path.lineTo(1, y + 2);
    } else {
        path.moveTo(14, y - 2);
        path.lineTo(7, y - 2);
        path.lineTo(7, y - 5);
        path.lineTo(1, y);
        path.lineTo(7, y + 5);
        path.lineTo(7, y + 2);
        path.lineTo(14, y + 2);
    }
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 130, 200));
    p.drawPath(path);
}

void Draw(QPainter& p, const char* name)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    const auto is = [name](const char* n) { return std::strcmp(name, n) == 0; };
    if (is("add") || is("new")) {
        if (is("new")) {
            // A configuration: a short list of ticked lines.
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(1, 1, 10, 10);
            for (int y : {4, 7}) {
                p.drawLine(3, y, 4, y + 1);
                p.drawLine(4, y + 1, 6, y - 1);
                p.drawLine(7, y, 9, y);
            }
        } else {
            Page(p, 1, 2);
        }
        p.setPen(QPen(kGreen, 2.2));
        p.drawLine(12, 7, 12, 15);
        p.drawLine(8, 11, 16, 11);
    } else if (is("remove") || is("delete")) {
        if (is("remove"))
            Page(p, 1, 2);
        p.setPen(QPen(kRed, 2.2));
        const int x = is("remove") ? 7 : 3;
        p.drawLine(x, 6, x + 8, 14);
        p.drawLine(x + 8, 6, x, 14);
    } else if (is("store")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(70, 110, 170));
        p.drawRect(2, 2, 12, 12);
        p.setBrush(kPaper);
        p.drawRect(4, 2, 8, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(5, 9, 6, 5);
    } else if (is("move_right") || is("move_left")) {
        Arrow(p, is("move_right"), 8);
    } else if (is("copy_right") || is("copy_left")) {
        const bool right = is("copy_right");
        Page(p, right ? 1 : 7, 1);
        p.scale(1, 1);
        Arrow(p, right, 12);
    } else if (is("interface")) {
        Page(p, 3, 2);
        p.setPen(QPen(kInk, 1));
        p.drawRect(3, 2, 9, 12);
    } else if (is("kind")) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(1, 4, 14, 10);
        p.drawRect(1, 2, 6, 2);
    } else if (is("problem")) {
        QPainterPath path;
        path.moveTo(8, 1);
        path.lineTo(15, 14);
        path.lineTo(1, 14);
        path.closeSubpath();
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(245, 190, 40));
        p.drawPath(path);
        p.setPen(QPen(Qt::black, 1.6));
        p.drawLine(QPointF(8, 5), QPointF(8, 10));
        p.drawPoint(QPointF(8, 12.2));
    }
}

}  // namespace

QIcon InterfaceIcon(const char* name)
{
    return shell::DrawnIcon([name](QPainter& painter) { Draw(painter, name); });
}

}  // namespace zov::interfaces

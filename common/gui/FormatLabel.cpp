#include "common/gui/FormatLabel.h"

#include <QFontMetrics>
#include <QPainter>

namespace zov {

QColor ColourFromWindowsValue(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QFont FontForStyle(const markup::Style& style)
{
    QFont font(QString::fromStdString(style.face));
    font.setPointSizeF(style.sizeTenths / 10.0);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

CFormatLabel::CFormatLabel(QWidget* parent, markup::Dialect dialect) : QWidget(parent), dialect_(dialect)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFormatLabel::SetText(const std::string& text)
{
    text_ = text;
    updateGeometry();
    update();
}

void CFormatLabel::AppendText(const std::string& text)
{
    SetText(text_ + text);
}

void CFormatLabel::SetBackgroundColour(uint32_t colour)
{
    background_ = colour;
    update();
}

void CFormatLabel::SetDefaultStyle(const markup::Style& style)
{
    defaultStyle_ = style;
    updateGeometry();
    update();
}

std::vector<markup::PlacedRun> CFormatLabel::PlacedRuns() const
{
    const auto measure = [](const std::string& text, const markup::Style& style) {
        const QFontMetrics metrics(FontForStyle(style));
        return markup::Extent{metrics.horizontalAdvance(QString::fromUtf8(text)), metrics.height()};
    };
    return markup::Layout(markup::Parse(text_, dialect_, defaultStyle_), measure);
}

QSize CFormatLabel::sizeHint() const
{
    int right = 0;
    int bottom = 0;
    for (const markup::PlacedRun& run : PlacedRuns()) {
        right = std::max(right, run.x + run.extent.width);
        bottom = std::max(bottom, run.y + run.extent.height);
    }
    return QSize(right + markup::kMargin, bottom + markup::kMargin);
}

QSize CFormatLabel::minimumSizeHint() const
{
    return QSize(0, 0);
}

void CFormatLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor background = ColourFromWindowsValue(background_);
    painter.fillRect(rect(), background);
    // Every paint lays the text out afresh from the default style: nothing of the previous
    // drawing's style survives into this one.
    for (const markup::PlacedRun& run : PlacedRuns()) {
        const QRect box(run.x, run.y, run.extent.width, run.extent.height);
        painter.fillRect(box, background);
        painter.setFont(FontForStyle(run.style));
        painter.setPen(ColourFromWindowsValue(run.style.colour));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromUtf8(run.text));
    }
}

}  // namespace zov

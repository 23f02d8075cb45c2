#include "ide/editor/TextPrinting.h"

#include "ide/shell/core/Settings.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace zov::editor {

using shell::SettingId;

namespace {

constexpr int kWrapFlags = Qt::TextWordWrap;

int HundredthsOfMmToDevice(int hundredths, int dpi)
{
    return static_cast<int>(std::lround(hundredths / 100.0 / 25.4 * dpi));
}

}  // namespace

PageMargins ReadPageMargins(const shell::Settings& settings)
{
    return {settings.GetInt(SettingId::PageLeftMargin), settings.GetInt(SettingId::PageRightMargin),
            settings.GetInt(SettingId::PageTopMargin), settings.GetInt(SettingId::PageBottomMargin)};
}

void WritePageMargins(const shell::Settings& settings, const PageMargins& margins)
{
    settings.WriteInt(SettingId::PageLeftMargin, margins.left);
    settings.WriteInt(SettingId::PageRightMargin, margins.right);
    settings.WriteInt(SettingId::PageTopMargin, margins.top);
    settings.WriteInt(SettingId::PageBottomMargin, margins.bottom);
}

QRect PrintRectangle(const QRect& paper, const PageMargins& margins, int dpiX, int dpiY)
{
    return paper.adjusted(HundredthsOfMmToDevice(margins.left, dpiX), HundredthsOfMmToDevice(margins.top, dpiY),
                          -HundredthsOfMmToDevice(margins.right, dpiX), -HundredthsOfMmToDevice(margins.bottom, dpiY));
}

QString ExpandTabs(const QString& line, int tabSize)
{
    if (!line.contains(QLatin1Char('\t'))) {
        return line;
    }
    tabSize = std::max(tabSize, 1);
    QString expanded;
    expanded.reserve(line.size() + tabSize);
    for (const QChar c : line) {
        if (c == QLatin1Char('\t')) {
            expanded.append(QString(tabSize - expanded.size() % tabSize, QLatin1Char(' ')));
        } else {
            expanded.append(c);
        }
    }
    return expanded;
}

TextPrintJob::TextPrintJob(const CTextBuffer& buffer, const QFont& screenFont, int screenDpiX, int screenDpiY,
                           int tabSize)
    : buffer_(buffer),
      screenFont_(screenFont),
      screenDpiX_(std::max(screenDpiX, 1)),
      screenDpiY_(std::max(screenDpiY, 1)),
      tabSize_(tabSize)
{}

QString TextPrintJob::GetPrintHeaderText(int) const
{
    return {};
}

QString TextPrintJob::GetPrintFooterText(int page) const
{
    return QStringLiteral("Page %1/%2").arg(page).arg(PageCount());
}

int TextPrintJob::LineHeight(const QString& expanded) const
{
    if (expanded.isEmpty()) {
        return lineHeight_;
    }
    const QFontMetrics metrics(printFont_, device_);
    const QRect needed = metrics.boundingRect(QRect(0, 0, printRect_.width(), 1 << 24), kWrapFlags, expanded);
    return std::max(needed.height(), lineHeight_);
}

void TextPrintJob::Layout(QPagedPaintDevice& device, const PageMargins& margins, int dpiX, int dpiY)
{
    device_ = &device;
    // One and a half times the screen size, in printer units.
    const double screenPixels =
        screenFont_.pixelSize() > 0 ? screenFont_.pixelSize() : screenFont_.pointSizeF() * screenDpiY_ / 72.0;
    printFont_ = screenFont_;
    printFont_.setPixelSize(std::max(1, static_cast<int>(std::lround(screenPixels * 3 * dpiY / (2.0 * screenDpiY_)))));
    const QRect paper(QPoint(0, 0), device.pageLayout().fullRectPixels(dpiX).size());
    printRect_ = PrintRectangle(paper, margins, dpiX, dpiY);
    lineHeight_ = std::max(1, QFontMetrics(printFont_, &device).boundingRect(QStringLiteral("X")).height());

    pageStarts_.clear();
    pageStarts_.reserve(128);
    int used = 0;
    for (int line = 0, count = buffer_.GetLineCount(); line < count; ++line) {
        const int height = LineHeight(ExpandTabs(buffer_.GetLine(line), tabSize_));
        if (pageStarts_.empty() || (used > 0 && used + height > printRect_.height())) {
            pageStarts_.push_back(line);
            used = 0;
        }
        used += height;
    }
    if (pageStarts_.empty()) {
        pageStarts_.push_back(0);
    }
}

void TextPrintJob::PrintHeader(QPainter& painter, int page)
{
    const QString text = GetPrintHeaderText(page);
    if (!text.isEmpty()) {
        const QRect row(printRect_.left(), printRect_.top() - lineHeight_ * 3 / 2, printRect_.width(), lineHeight_);
        painter.drawText(row, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

void TextPrintJob::PrintFooter(QPainter& painter, int page)
{
    const QString text = GetPrintFooterText(page);
    if (!text.isEmpty()) {
        const QRect row(printRect_.left(), printRect_.bottom() + lineHeight_ / 2, printRect_.width(), lineHeight_);
        painter.drawText(row, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
}

void TextPrintJob::PrintPage(QPainter& painter, int page)
{
    painter.setFont(printFont_);
    painter.setPen(Qt::black);
    PrintHeader(painter, page);
    PrintFooter(painter, page);
    const int first = pageStarts_[page - 1];
    const int last = page < PageCount() ? pageStarts_[page] : buffer_.GetLineCount();
    int top = printRect_.top();
    for (int line = first; line < last; ++line) {
        const QString expanded = ExpandTabs(buffer_.GetLine(line), tabSize_);
        const int height = LineHeight(expanded);
        if (!expanded.isEmpty()) {
            painter.drawText(QRect(printRect_.left(), top, printRect_.width(), height), kWrapFlags, expanded);
        }
        top += height;
    }
}

bool TextPrintJob::Print(QPrinter& printer, const PageMargins& margins)
{
    // The margins are ours: the painter covers the whole sheet.
    printer.setFullPage(true);
    Layout(printer, margins, printer.resolution(), printer.resolution());
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    for (int page = 1; page <= PageCount(); ++page) {
        if (page > 1 && !printer.newPage()) {
            return false;
        }
        PrintPage(painter, page);
    }
    return painter.end();
}

}  // namespace zov::editor

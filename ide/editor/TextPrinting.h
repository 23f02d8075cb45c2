#pragma once
// Printing of a text buffer: the screen font enlarged to the printer, the page less the stored
// margins, each line word-wrapped within the page width, pages cut before a line that would pass
// the bottom, a centred header and footer ("Page %d/%d") around each page.

#include "ide/editor/model/TextBuffer.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace zov::shell {
class Settings;
}

namespace zov::editor {

// Page margins in hundredths of a millimetre, as "CrystalEdit\PageSetup" stores them.
struct PageMargins {
    int left = 1000;
    int right = 1000;
    int top = 1000;
    int bottom = 1000;
    bool operator==(const PageMargins&) const = default;
};

PageMargins ReadPageMargins(const shell::Settings& settings);
void WritePageMargins(const shell::Settings& settings, const PageMargins& margins);

// The paper less the margins, in device units of the given resolution.
QRect PrintRectangle(const QRect& paper, const PageMargins& margins, int dpiX, int dpiY);

// The line with its tabs expanded to blanks up to the next tab stop.
QString ExpandTabs(const QString& line, int tabSize);

class TextPrintJob {
public:
    // `screenFont` is the view's font, measured at the screen resolution given.
    TextPrintJob(const CTextBuffer& buffer, const QFont& screenFont, int screenDpiX, int screenDpiY, int tabSize);
    virtual ~TextPrintJob() = default;

    // Prints every page on the printer's paper (the whole sheet, margins applied here); false
    // when the printer cannot be painted on.
    bool Print(QPrinter& printer, const PageMargins& margins);

    int PageCount() const { return static_cast<int>(pageStarts_.size()); }
    // The first line of each page.
    const std::vector<int>& PageStartLines() const { return pageStarts_; }
    const QRect& PrintRect() const { return printRect_; }
    const QFont& PrintFont() const { return printFont_; }
    int PrintLineHeight() const { return lineHeight_; }

    // Page numbers count from 1.
    virtual QString GetPrintHeaderText(int page) const;
    virtual QString GetPrintFooterText(int page) const;

protected:
    virtual void PrintHeader(QPainter& painter, int page);
    virtual void PrintFooter(QPainter& painter, int page);

private:
    void Layout(QPagedPaintDevice& device, const PageMargins& margins, int dpiX, int dpiY);
    void PrintPage(QPainter& painter, int page);
    int LineHeight(const QString& expanded) const;

    const CTextBuffer& buffer_;
    QFont screenFont_;
    int screenDpiX_;
    int screenDpiY_;
    int tabSize_;
    QFont printFont_;
    QRect printRect_;
    int lineHeight_ = 1;
    std::vector<int> pageStarts_;
    QPagedPaintDevice* device_ = nullptr;
};

}  // namespace zov::editor

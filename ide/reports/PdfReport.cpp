// The PDF report's layout: the project block, the summary and one table per campaign, broken over
// pages, laid out on a PdfCanvas.

#include "common/AtomicFile.h"
#include "ide/reports/PdfCanvas.h"
#include "ide/reports/PdfReport.h"
#include "ide/reports/ReportTexts.h"
#include "ide/reports/ReportWriter.h"

#include <algorithm>
#include <cstdio>

namespace zov::reports {

using project::CTestResult;

namespace {

constexpr float kRowHeight = 12;
constexpr float kBottomMargin = 40;
constexpr float kTopAfterBreak = 40;

// Line ends and tabs would show as boxes in a cell; they read as blanks.
std::string CellText(std::string_view text)
{
    std::string out(text);
    std::replace_if(
        out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return out;
}

std::size_t NextCharEnd(std::string_view text, std::size_t pos)
{
    ++pos;
    while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) {
        ++pos;
    }
    return pos;
}

class PdfLayout {
public:
    explicit PdfLayout(PdfCanvas& canvas) : canvas_(canvas), width_(canvas.PageWidth()), height_(canvas.PageHeight()) {}

    void Cell(float x, float width, float height, const std::string* first, const std::string* second, PdfFont font,
              PdfColour colour, float cellY)
    {
        NeedPage();
        canvas_.DrawCell(x, cellY, width, height, first, second, font, colour);
    }
    void Cell12(float x, float width, const std::string& text, PdfFont font, PdfColour colour)
    {
        Cell(x, width, kRowHeight, &text, nullptr, font, colour, y);
    }
    void TextAt(float x, const std::string& text, PdfFont font)
    {
        NeedPage();
        canvas_.DrawTextAt(x, y, text, font);
    }
    // A new page is added only when something is drawn on it, so the last page is never empty.
    void BreakCheck()
    {
        if (y > height_ - kBottomMargin) {
            pendingPage_ = true;
            y = kTopAfterBreak;
        }
    }
    void BreakBefore(float needed)
    {
        if (!pendingPage_ && y > kTopAfterBreak && y + needed > height_ - kBottomMargin) {
            pendingPage_ = true;
            y = kTopAfterBreak;
        }
    }
    void NeedPage()
    {
        if (pendingPage_) {
            canvas_.AddPage();
            pendingPage_ = false;
        }
    }

    float Width() const { return width_; }
    float Height() const { return height_; }

    float y = 60;

private:
    PdfCanvas& canvas_;
    float width_;
    float height_;
    bool pendingPage_ = false;
};

}  // namespace

std::vector<std::string> SplitTextToWidth(PdfCanvas& canvas, float width, std::string_view text, std::size_t maxLines)
{
    const auto measure = [&canvas](std::string_view piece) {
        return canvas.TextWidth(piece, PdfFont::Regular, kCellFontSize);
    };
    std::vector<std::string> lines;
    std::string_view rest = text;
    while (lines.size() + 1 < std::max<std::size_t>(maxLines, 1) && !rest.empty() && !(measure(rest) < width)) {
        // The longest part that ends before a blank and is narrower than the column; the blank goes.
        std::size_t best = std::string_view::npos;
        for (std::size_t blank = rest.find(' ', 1); blank != std::string_view::npos;
             blank = rest.find(' ', blank + 1)) {
            if (!(measure(rest.substr(0, blank)) < width)) {
                break;
            }
            best = blank;
        }
        if (best != std::string_view::npos) {
            lines.emplace_back(rest.substr(0, best));
            rest.remove_prefix(best + 1);
            continue;
        }
        // A word wider than the column is cut between characters; each line takes at least one.
        std::size_t cut = NextCharEnd(rest, 0);
        for (std::size_t next = NextCharEnd(rest, cut); cut < rest.size() && measure(rest.substr(0, next)) < width;
             next = NextCharEnd(rest, next)) {
            cut = next;
        }
        lines.emplace_back(rest.substr(0, cut));
        rest.remove_prefix(cut);
    }
    if (!rest.empty() || lines.empty()) {
        lines.emplace_back(rest);
    }
    return lines;
}

bool CReportWriter::LayOutPdf(PdfCanvas& canvas, int versionIndex, const std::string& headerImage,
                              int headerAlign) const
{
    const project::CVersion* version = VersionAt(versionIndex);
    if (!version) {
        return false;
    }
    PdfLayout page(canvas);

    if (!headerImage.empty()) {
        if (const auto size = canvas.LoadJpeg(headerImage)) {
            const int w = size->width / 2;
            const int h = size->height / 2;
            float x = 40;
            if (headerAlign == 1) {
                x = (page.Width() - static_cast<float>(w)) * 0.5f;
            } else if (headerAlign == 2) {
                x = page.Width() - static_cast<float>(w) - 40;
            }
            canvas.DrawImage(x, page.Height() - static_cast<float>(h + 10), static_cast<float>(w),
                             static_cast<float>(h));
            page.y = static_cast<float>(size->height + 20);
        }
    }

    page.Cell12(40, 60, Tr(texts::kProject), PdfFont::Bold, kLabelGrey);
    page.Cell12(102, 150, CellText(host_.project.Name), PdfFont::Regular, kValueCream);
    page.y += 14;
    page.Cell12(40, 60, Tr(texts::kVersion), PdfFont::Bold, kLabelGrey);
    page.Cell12(102, 150, CellText(version->Info.empty() ? version->Name : version->Name + " - " + version->Info),
                PdfFont::Regular, kValueCream);
    page.y += 20;
    page.TextAt(40, Tr(texts::kSummary), PdfFont::Title);
    page.y += 15;
    const float summaryX[] = {40, 142, 244, 346};
    const char* summaryHeadings[] = {texts::kTests, texts::kErrors, texts::kSuccessRate, texts::kDuration};
    for (int i = 0; i < 4; ++i) {
        page.Cell12(summaryX[i], 100, Tr(summaryHeadings[i]), PdfFont::Bold, kHeaderBlue);
    }
    page.y += 14;
    const ResultCounts counts = CountResults(versionIndex);
    const std::string values[] = {std::to_string(counts.tested), std::to_string(counts.nok),
                                  FormatSuccessRate(counts.tested, counts.nok), FormatTotalDuration(counts.duration)};
    for (int i = 0; i < 4; ++i) {
        page.Cell12(summaryX[i], 100, values[i], PdfFont::Regular, kValueCream);
    }
    page.y += 10;

    const float columnX[] = {40, 162, 414, 461, 508};
    const float columnWidth[] = {120, 250, 45, 45, 45};
    const char* columnHeadings[] = {texts::kTest, texts::kComment, texts::kResult, texts::kDuration, texts::kStart};
    // A cell taller than a page would run off its foot.
    const float tallestRow = page.Height() - 80;
    const auto maxLines = static_cast<std::size_t>(tallestRow / kRowHeight) + 1;
    ForEachReportedTest(
        host_.project, version->Id,
        [&](const ReportedTest& reported) {
            if (reported.firstOfCampaign) {
                page.y += 14;
                page.BreakCheck();
                // The title stays with its column headings and first row.
                page.BreakBefore(15 + 14 + 14);
                page.TextAt(40, CellText(reported.campaign.Name), PdfFont::Title);
                page.y += 15;
                for (int i = 0; i < 5; ++i) {
                    page.Cell12(columnX[i], columnWidth[i], Tr(columnHeadings[i]), PdfFont::Bold, kHeaderBlue);
                }
                page.y += 14;
            }
            if (reported.firstOfTestSet) {
                page.Cell12(40, 513, CellText(reported.testSet.Name), PdfFont::Bold, kLabelGrey);
                page.y += 14;
                page.BreakCheck();
            }
            const CTestResult& result = reported.result;
            const auto nameLines = SplitTextToWidth(canvas, 120, CellText(reported.test.Name), maxLines);
            const auto commentLines = SplitTextToWidth(canvas, 250, CellText(result.Info), maxLines);
            float h = kRowHeight;
            if (nameLines.size() > 1) {
                h = kRowHeight * static_cast<float>(nameLines.size());
            }
            if (commentLines.size() > 1) {
                h = kRowHeight * static_cast<float>(commentLines.size());
            }
            h = std::min(h, tallestRow);
            page.BreakBefore(h - kRowHeight);
            const float rowY = page.y + h - kRowHeight;
            const auto twoLines = [&](float x, float width, const std::vector<std::string>& lines) {
                page.Cell(x, width, h, &lines[0], lines.size() > 1 ? &lines[1] : nullptr, PdfFont::Regular, kValueCream,
                          rowY);
            };
            twoLines(columnX[0], columnWidth[0], nameLines);
            twoLines(columnX[1], columnWidth[1], commentLines);
            if (result.Value == 0 || result.Value == 1) {
                const std::string label = result.Value == 0 ? texts::kNok : texts::kOk;
                page.Cell(columnX[2], columnWidth[2], h, &label, nullptr, PdfFont::Regular,
                          result.Value == 0 ? kNokRed : kOkGreen, rowY);
            }
            const std::string duration = FormatRowDuration(result.Duration);
            const std::string start = FormatTimeOfDay(result.StartTime);
            page.Cell(columnX[3], columnWidth[3], h, &duration, nullptr, PdfFont::Regular, kValueCream, rowY);
            page.Cell(columnX[4], columnWidth[4], h, &start, nullptr, PdfFont::Regular, kValueCream, rowY);
            page.y += h + 2;
            page.BreakCheck();
        },
        [](const CTestResult& result) { return result.Value >= 0; });

    const int pages = canvas.PageCount();
    if (pages > 1) {
        for (int i = 0; i < pages; ++i) {
            canvas.DrawPageNumber(i, std::to_string(i + 1) + "/" + std::to_string(pages));
        }
    }
    return true;
}

bool CReportWriter::WritePdf(const std::string& path, int versionIndex, const std::string& headerImage, int headerAlign)
{
    auto canvas = HaruPdfCanvas::Create();
    if (!canvas) {
        std::fputs("error: cannot create PdfDoc object\n", stdout);
        return false;
    }
    unsigned long code = kPdfInvalidVersion;
    if (LayOutPdf(*canvas, versionIndex, headerImage, headerAlign)) {
        std::string bytes;
        code = canvas->Save(bytes);
        if (code == 0 && !WriteFileAtomically(path, bytes)) {
            code = kPdfWriteFailed;
        }
    }
    if (code == 0) {
        Closing(true);
        return true;
    }
    // Filled by hand: a translated text is no format string to trust.
    std::string text = Tr(texts::kPdfSaveFailed);
    if (const auto at = text.find("%08X"); at != std::string::npos) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "%08lX", code);
        text.replace(at, 4, hex);
    }
    host_.prompter.Tell(text, shell::PromptIcon::Warning);
    return false;
}

}  // namespace zov::reports

#include "tests/editor/gui/DialogTestSupport.h"

#include "ide/editor/TextPrinting.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace {

using namespace zov::editor;
using zov::editor::test::EditorWithSettings;
using zov::shell::SettingId;

// A print job that notes each footer it draws.
class RecordingJob : public TextPrintJob {
public:
    using TextPrintJob::TextPrintJob;
    std::vector<QString> footers;

protected:
    void PrintFooter(QPainter& painter, int page) override
    {
        footers.push_back(GetPrintFooterText(page));
        TextPrintJob::PrintFooter(painter, page);
    }
};

class TextPrinting : public EditorWithSettings {
protected:
    std::string PdfPath() const { return (folder_ / "out.pdf").string(); }
    // A PDF printer writing into the test's folder.
    void SetUpPrinter(QPrinter& printer) const
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(PdfPath()));
        printer.setPageSize(QPageSize(QPageSize::A4));
    }
    QByteArray Pdf() const
    {
        QFile file(QString::fromStdString(PdfPath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(TextPrinting, AOneLineFileIsOnePageWithItsFooter)
{
    Show("print me\n");
    QPrinter printer;
    SetUpPrinter(printer);
    RecordingJob job(*buffer_, view_->TextFont(), 96, 96, 4);
    ASSERT_TRUE(job.Print(printer, PageMargins{}));
    EXPECT_EQ(job.PageCount(), 1);
    EXPECT_EQ(job.footers, std::vector<QString>{QStringLiteral("Page 1/1")});
    const QByteArray pdf = Pdf();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/Count 1\n") || pdf.contains("/Count 1 ")) << "one page in the file";
}

TEST_F(TextPrinting, LongTextsAreCutIntoPagesThatHoldWholeLines)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "line " + std::to_string(i) + (i % 50 == 0 ? "\tand a long " + std::string(300, 'w') : "") + "\n";
    Show(text);
    QPrinter printer;
    SetUpPrinter(printer);
    RecordingJob job(*buffer_, view_->TextFont(), 96, 96, 4);
    ASSERT_TRUE(job.Print(printer, PageMargins{}));
    const int pages = job.PageCount();
    ASSERT_GT(pages, 1);
    ASSERT_EQ(job.footers.size(), size_t(pages));
    EXPECT_EQ(job.footers.front(), QStringLiteral("Page 1/%1").arg(pages));
    EXPECT_EQ(job.footers.back(), QStringLiteral("Page %1/%1").arg(pages));
    const std::vector<int>& starts = job.PageStartLines();
    EXPECT_EQ(starts.front(), 0);
    EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    EXPECT_EQ(std::adjacent_find(starts.begin(), starts.end()), starts.end());
    // Each page but the last would overflow with the first line of the next page.
    const int perPage = job.PrintRect().height() / job.PrintLineHeight();
    EXPECT_LE(starts[1] - starts[0], perPage);
}

TEST_F(TextPrinting, StoredMarginsInHundredthsOfAMillimetreMakeThePrintRectangle)
{
    Show("x\n");
    settings_->WriteInt(SettingId::PageLeftMargin, 2000);
    settings_->WriteInt(SettingId::PageTopMargin, 1500);
    const PageMargins margins = ReadPageMargins(*settings_);
    EXPECT_EQ(margins, (PageMargins{2000, 1000, 1500, 1000}));

    QPrinter printer;
    SetUpPrinter(printer);
    TextPrintJob job(*buffer_, view_->TextFont(), 96, 96, 4);
    ASSERT_TRUE(job.Print(printer, margins));
    const double dotsPerMm = printer.resolution() / 25.4;
    const QRect paper(QPoint(0, 0), printer.pageLayout().fullRectPixels(printer.resolution()).size());
    EXPECT_NEAR(job.PrintRect().left(), 20 * dotsPerMm, 1.0);
    EXPECT_NEAR(job.PrintRect().top(), 15 * dotsPerMm, 1.0);
    EXPECT_NEAR(paper.right() - job.PrintRect().right(), 10 * dotsPerMm, 1.0);
    EXPECT_NEAR(paper.bottom() - job.PrintRect().bottom(), 10 * dotsPerMm, 1.0);
}

TEST_F(TextPrinting, ThePrintFontIsOneAndAHalfTimesTheScreenSizeInPrinterUnits)
{
    Show("x\n");
    QFont font = view_->TextFont();
    font.setPixelSize(16);
    QPrinter printer;
    SetUpPrinter(printer);
    printer.setResolution(300);
    TextPrintJob job(*buffer_, font, 100, 100, 4);
    ASSERT_TRUE(job.Print(printer, PageMargins{}));
    EXPECT_EQ(job.PrintFont().pixelSize(), 72);  // 16 * 3 * 300 / (2 * 100)
}

TEST_F(TextPrinting, ThePrintCommandsUseTheViewAndTheStoredMargins)
{
    ShowWithCommands("one line\n");
    settings_->WriteInt(SettingId::PageRightMargin, 2000);
    QPrinter printer;
    SetUpPrinter(printer);
    ASSERT_TRUE(view_->Commands().PrintTo(printer));
    EXPECT_TRUE(Pdf().startsWith("%PDF"));
    EXPECT_EQ(view_->Commands().Margins().right, 2000);

    // The page-setup dialog given back unchanged keeps the four values.
    settings_->WriteInt(SettingId::PageLeftMargin, 1250);
    bool paperLocked = false;
    bool marginsOpen = false;
    prompter_.QueueDialog([&](QDialog& dialog) {
        const auto* paper = dialog.findChild<QWidget*>(QStringLiteral("pageSizeCombo"));
        const auto* landscape = dialog.findChild<QWidget*>(QStringLiteral("landscape"));
        const auto* left = dialog.findChild<QWidget*>(QStringLiteral("leftMargin"));
        paperLocked = paper != nullptr && !paper->isEnabled() && landscape != nullptr && !landscape->isEnabled();
        marginsOpen = left != nullptr && left->isEnabled();
        dialog.accept();
    });
    view_->Commands().PageSetup();
    EXPECT_TRUE(paperLocked);
    EXPECT_TRUE(marginsOpen);
    EXPECT_EQ(ReadPageMargins(*settings_), (PageMargins{1250, 2000, 1000, 1000}));
}

TEST(TabExpansion, TabsReachTheNextStop)
{
    const struct {
        const char* line;
        const char* expanded;
    } cases[] = {{"a\tb", "a   b"}, {"\t", "    "}, {"abcd\tx", "abcd    x"}, {"plain", "plain"}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(ExpandTabs(QString::fromUtf8(c.line), 4).toStdString(), c.expanded);
}

}  // namespace

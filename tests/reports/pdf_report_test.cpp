// The PDF report: its layout on a recording canvas, and the real file through pdftotext and pdfinfo.

#include "ide/reports/PdfCanvas.h"
#include "ide/reports/PdfReport.h"
#include "ide/reports/ReportWriter.h"
#include "tests/reports/ReportFixture.h"

#include <map>
#include <sstream>

namespace zov::reports::testing {
namespace {

// Records what the layout draws. Every character is 5 points wide at 8 points, so a column of
// 250 points takes 49 characters on a line.
// The page count and size that pdfinfo reads from a file.
std::string PagesAndSize(const std::string& path)
{
    std::istringstream info(RunCommand("pdfinfo " + Quoted(path)));
    std::string line;
    std::string pages;
    std::string size;
    while (std::getline(info, line)) {
        const auto value = line.find_first_not_of(' ', line.find(':') + 1);
        if (line.rfind("Pages:", 0) == 0) {
            pages = line.substr(value);
        } else if (line.rfind("Page size:", 0) == 0) {
            size = line.substr(value);
        }
    }
    return pages + " " + size;
}

class RecordingCanvas : public PdfCanvas {
public:
    struct Cell {
        int page;
        float x, y, width, height;
        std::string first, second;
        bool hasFirst, hasSecond;
        PdfFont font;
        PdfColour colour;
    };
    struct Text {
        int page;
        float x, y;
        std::string text;
        PdfFont font;
    };

    float PageWidth() const override { return 595.276f; }
    float PageHeight() const override { return 841.89f; }
    void AddPage() override { ++pages; }
    int PageCount() const override { return pages; }
    void DrawCell(float x, float y, float width, float height, const std::string* first, const std::string* second,
                  PdfFont font, PdfColour colour) override
    {
        cells.push_back({pages - 1, x, y, width, height, first ? *first : "", second ? *second : "", first != nullptr,
                         second != nullptr, font, colour});
    }
    void DrawTextAt(float x, float y, const std::string& text, PdfFont font) override
    {
        texts.push_back({pages - 1, x, y, text, font});
    }
    float TextWidth(std::string_view text, PdfFont, float size) override
    {
        float chars = 0;
        for (const char c : text) {
            chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
        }
        return chars * 5 * size / 8;
    }
    std::optional<PdfImageSize> LoadJpeg(const std::string& path) override
    {
        const auto found = images.find(path);
        if (found == images.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void DrawImage(float x, float bottom, float width, float height) override
    {
        drawnImages.push_back({x, bottom, width, height});
    }
    void DrawPageNumber(int pageIndex, const std::string& text) override { numbers.emplace_back(pageIndex, text); }

    const Cell* FindCell(const std::string& text) const
    {
        for (const Cell& cell : cells) {
            if (cell.first == text) {
                return &cell;
            }
        }
        return nullptr;
    }

    int pages = 1;
    std::vector<Cell> cells;
    std::vector<Text> texts;
    std::map<std::string, PdfImageSize> images;
    std::vector<std::array<float, 4>> drawnImages;
    std::vector<std::pair<int, std::string>> numbers;
};

class PdfLayoutTest : public ReportTest {
protected:
    RecordingCanvas LayOut(int versionIndex = 0, const std::string& image = "", int align = 0)
    {
        RecordingCanvas canvas;
        canvas.images["/h.jpg"] = {200, 100};
        EXPECT_TRUE(Writer().LayOutPdf(canvas, versionIndex, image, align));
        return canvas;
    }
    // A set of its own with count tests, each with a result of the given Info for V1.
    CTestSet& AddRows(int count, const std::string& info = "")
    {
        CTestSet& set = *model_.AddTestSet(*model_.Campaigns[2], "Lignes", kAddAtEnd, 0, 0, 0, nullptr);
        for (int i = 0; i < count; ++i) {
            CTest& test = *model_.AddTest(set, "r.qzs", "R" + std::to_string(i), kAddAtEnd, 0, nullptr, 0);
            model_.SetResult(1, test.Id, 1, info, 0, 1);
        }
        return set;
    }
};

TEST_F(PdfLayoutTest, ProjectBlockSummaryAndCampaignTablesSitWhereTheyShould)
{
    const RecordingCanvas canvas = LayOut();
    const auto at = [&canvas](const std::string& text) {
        const RecordingCanvas::Cell* cell = canvas.FindCell(text);
        EXPECT_TRUE(cell) << text;
        return cell ? std::array<float, 3>{cell->x, cell->y, cell->width} : std::array<float, 3>{};
    };
    EXPECT_EQ(at("Projet"), (std::array<float, 3>{40, 60, 60}));
    EXPECT_EQ(at("Banc d'essai"), (std::array<float, 3>{102, 60, 150}));
    EXPECT_EQ(at("Version"), (std::array<float, 3>{40, 74, 60}));
    EXPECT_EQ(at("V1 - Première"), (std::array<float, 3>{102, 74, 150}));
    ASSERT_FALSE(canvas.texts.empty());
    EXPECT_EQ(canvas.texts[0].text, "Résumé");
    EXPECT_EQ(canvas.texts[0].y, 94);
    EXPECT_EQ(at("Tests"), (std::array<float, 3>{40, 109, 100}));
    EXPECT_EQ(at("Taux de succès"), (std::array<float, 3>{244, 109, 100}));
    // 4 tested, 1 NOK: 75%; 25:01:01 + 25:00:00 + ... = 93742 s.
    EXPECT_EQ(at("4"), (std::array<float, 3>{40, 123, 100}));
    EXPECT_EQ(at("75.0%"), (std::array<float, 3>{244, 123, 100}));
    EXPECT_EQ(at(" 26:02:22"), (std::array<float, 3>{346, 123, 100}));

    // The first campaign: title at 147, headings at 162, set row at 176, first row at 190.
    ASSERT_GE(canvas.texts.size(), 3u);
    EXPECT_EQ(canvas.texts[1].text, "Connexion");
    EXPECT_EQ(canvas.texts[1].y, 147);
    EXPECT_EQ(canvas.texts[1].font, PdfFont::Title);
    const std::pair<const char*, std::array<float, 3>> headings[] = {{"Test", {40, 162, 120}},
                                                                     {"Commentaire", {162, 162, 250}},
                                                                     {"Résultat", {414, 162, 45}},
                                                                     {"Durée", {461, 162, 45}},
                                                                     {"Début", {508, 162, 45}}};
    for (const auto& [text, place] : headings) {
        const auto cell = std::find_if(canvas.cells.begin(), canvas.cells.end(),
                                       [&](const auto& c) { return c.first == text && c.y == 162; });
        ASSERT_NE(cell, canvas.cells.end()) << text;
        EXPECT_EQ((std::array<float, 3>{cell->x, cell->y, cell->width}), place) << text;
        EXPECT_EQ(cell->colour, kHeaderBlue);
        EXPECT_EQ(cell->font, PdfFont::Bold);
    }
    EXPECT_EQ(at("Login"), (std::array<float, 3>{40, 176, 513}));
    EXPECT_EQ(at("Mot de passe"), (std::array<float, 3>{40, 190, 120}));
    EXPECT_EQ(canvas.FindCell("Mot de passe")->height, 12);
    EXPECT_EQ(canvas.FindCell("OK")->colour, kOkGreen);
    EXPECT_EQ(canvas.FindCell("NOK")->colour, kNokRed);
    EXPECT_EQ(canvas.pages, 1);
    EXPECT_TRUE(canvas.numbers.empty());
}

TEST_F(PdfLayoutTest, NotTestedRowsHaveNoResultCellAndDurationsWrapInRows)
{
    const RecordingCanvas canvas = LayOut();
    const RecordingCanvas::Cell* delay = canvas.FindCell("Délai");
    ASSERT_TRUE(delay);
    int cellsOfRow = 0;
    for (const auto& cell : canvas.cells) {
        cellsOfRow += cell.y == delay->y ? 1 : 0;
    }
    EXPECT_EQ(cellsOfRow, 4);
    // 90 000 s: " 25:00:00" would be the summary; the row shows 01:00:00.
    const RecordingCanvas::Cell* file = canvas.FindCell("Fichier");
    ASSERT_TRUE(file);
    EXPECT_TRUE(std::any_of(canvas.cells.begin(), canvas.cells.end(), [file](const auto& cell) {
        return cell.y == file->y && cell.x == 461 && cell.first == "01:00:00";
    }));
    model_.RemoveResultList(model_.Campaigns[0]->TestSets[0]->Tests[1]->Id);
    model_.RemoveResultList(model_.Campaigns[0]->TestSets[0]->Tests[0]->Id);
    model_.RemoveResultList(model_.Campaigns[0]->TestSets[0]->Tests[2]->Id);
    EXPECT_TRUE(LayOut().FindCell(" 25:00:00"));
}

TEST_F(PdfLayoutTest, AThreeLineCommentGivesA36PointRowShowingTwoLines)
{
    const std::string word = std::string(40, 'w');
    CTestSet& set = AddRows(1, word + " " + word + " " + word);
    const RecordingCanvas canvas = LayOut();
    const RecordingCanvas::Cell* name = canvas.FindCell("R0");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->height, 36);
    const RecordingCanvas::Cell* comment = canvas.FindCell(word);
    ASSERT_TRUE(comment);
    EXPECT_EQ(comment->second, word);
    EXPECT_EQ(comment->y, name->y);
    (void)set;
}

TEST_F(PdfLayoutTest, ARightAlignedImageIsDrawnAtHalfSizeAndMovesTheFirstBlock)
{
    const RecordingCanvas right = LayOut(0, "/h.jpg", 2);
    ASSERT_EQ(right.drawnImages.size(), 1u);
    EXPECT_FLOAT_EQ(right.drawnImages[0][0], 595.276f - 140);
    EXPECT_FLOAT_EQ(right.drawnImages[0][1], 841.89f - 60);
    EXPECT_EQ(right.drawnImages[0][2], 100);
    EXPECT_EQ(right.drawnImages[0][3], 50);
    EXPECT_EQ(right.FindCell("Projet")->y, 120);

    const RecordingCanvas centred = LayOut(0, "/h.jpg", 1);
    EXPECT_FLOAT_EQ(centred.drawnImages[0][0], (595.276f - 100) * 0.5f);
    const RecordingCanvas left = LayOut(0, "/h.jpg", 7);
    EXPECT_EQ(left.drawnImages[0][0], 40);
    // An image that cannot be loaded leaves the layout as without one.
    const RecordingCanvas missing = LayOut(0, "/none.jpg", 2);
    EXPECT_TRUE(missing.drawnImages.empty());
    EXPECT_EQ(missing.FindCell("Projet")->y, 60);
}

TEST_F(PdfLayoutTest, RowsPastTheBottomContinueOnANumberedNewPage)
{
    AddRows(60);
    const RecordingCanvas canvas = LayOut();
    ASSERT_EQ(canvas.pages, 2);
    EXPECT_EQ(canvas.numbers, (std::vector<std::pair<int, std::string>>{{0, "1/2"}, {1, "2/2"}}));
    float lowest = 0;
    const RecordingCanvas::Cell* firstOnTwo = nullptr;
    for (const auto& cell : canvas.cells) {
        if (cell.page == 0) {
            lowest = std::max(lowest, cell.y);
        } else if (!firstOnTwo) {
            firstOnTwo = &cell;
        }
    }
    EXPECT_LE(lowest, 841.89f - 40 + 14);
    ASSERT_TRUE(firstOnTwo);
    EXPECT_EQ(firstOnTwo->y, 40);
}

TEST_F(PdfLayoutTest, NoPageIsAddedWithNothingOnItAndTallRowsStayOnThePage)
{
    // The rows fill page 1 exactly to its bottom margin in some of these counts.
    for (int rows = 40; rows <= 95; ++rows) {
        model_ = ProjectModel();
        FillBanc(model_);
        AddRows(rows);
        const RecordingCanvas canvas = LayOut();
        std::vector<int> used(static_cast<std::size_t>(canvas.pages), 0);
        for (const auto& cell : canvas.cells) {
            ++used[static_cast<std::size_t>(cell.page)];
            EXPECT_LE(cell.y, 841.89f) << rows;
            EXPECT_GE(cell.y - cell.height, 0) << rows;
        }
        for (std::size_t i = 0; i < used.size(); ++i) {
            EXPECT_GT(used[i], 0) << rows << " rows, page " << i + 1;
        }
    }
    // An Info of thousands of words is capped at a page's height and starts on a fresh page.
    model_ = ProjectModel();
    FillBanc(model_);
    std::string longInfo;
    for (int i = 0; i < 3000; ++i) {
        longInfo += "mot\r\n\t";
    }
    AddRows(2, longInfo);
    const RecordingCanvas canvas = LayOut();
    const RecordingCanvas::Cell* row = canvas.FindCell("R0");
    ASSERT_TRUE(row);
    EXPECT_FLOAT_EQ(row->height, 841.89f - 80);
    EXPECT_LE(row->y, 841.89f - 40);
    EXPECT_GE(row->y - row->height, 0);
    for (const auto& cell : canvas.cells) {
        EXPECT_EQ(cell.first.find_first_of("\r\n\t"), std::string::npos);
    }
}

TEST_F(PdfLayoutTest, TextsAreSplitAtBlanksAndLongWordsBetweenCharacters)
{
    RecordingCanvas canvas;
    struct Case {
        float width;
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {50, "court", {"court"}},
        {50, "", {""}},
        {50, "un deux trois quatre", {"un deux", "trois", "quatre"}},
        {50, "abcdefghijklmnopqrstuvwxyz", {"abcdefghi", "jklmnopqr", "stuvwxyz"}},
        {50, "éééééééééééé", {"ééééééééé", "ééé"}},
        {3, "abc", {"a", "b", "c"}},
        {50, "ab abcdefghijklmn", {"ab", "abcdefghi", "jklmn"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitTextToWidth(canvas, c.width, c.text), c.lines) << c.text;
    }
}

TEST_F(ReportTest, PdfOfTheFixtureReadsBackAsItsLines)
{
    const std::string path = PathOf("r.pdf");
    ASSERT_TRUE(Writer().WritePdf(path, 0, "", 0));
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Le rapport a bien été sauvegardé"});
    int status = 0;
    const std::string text = RunCommand("pdftotext -raw -enc UTF-8 " + Quoted(path) + " -", &status);
    ASSERT_EQ(status, 0);
    ExpectGolden(text, "report_v1_pdf.txt");
    EXPECT_NE(text.find("Export €"), std::string::npos);
    EXPECT_EQ(PagesAndSize(path), "1 595 x 841 pts (A4)");
    // Two runs give the same bytes.
    const std::string again = PathOf("again.pdf");
    ASSERT_TRUE(Writer().WritePdf(again, 0, "", 0));
    EXPECT_EQ(ReadFile(path), ReadFile(again));
}

TEST_F(ReportTest, PdfWithManyRowsOrABrokenImageIsStillWritten)
{
    struct Case {
        int rows;
        std::string image;
        const char* pages;
    };
    WriteFile(PathOf("broken.jpg"), "no jpeg at all");
    const Case cases[] = {{40, "", "2 595 x 841 pts (A4)"},
                          {95, "", "3 595 x 841 pts (A4)"},
                          {0, PathOf("broken.jpg"), "1 595 x 841 pts (A4)"},
                          {0, PathOf("missing.jpg"), "1 595 x 841 pts (A4)"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " " + c.image);
        model_ = ProjectModel();
        FillBanc(model_);
        CTestSet& set = *model_.AddTestSet(*model_.Campaigns[2], "Lignes", kAddAtEnd, 0, 0, 0, nullptr);
        for (int i = 0; i < c.rows; ++i) {
            CTest& test = *model_.AddTest(set, "r.qzs", "R" + std::to_string(i), kAddAtEnd, 0, nullptr, 0);
            model_.SetResult(1, test.Id, 1, "", 0, 1);
        }
        prompter_ = shell::RecordingPrompter();
        const std::string path = PathOf("many.pdf");
        ASSERT_TRUE(Writer().WritePdf(path, 0, c.image, 0));
        EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Le rapport a bien été sauvegardé"});
        int status = 0;
        EXPECT_EQ(PagesAndSize(path), c.pages);
        const std::string text = RunCommand("pdftotext -raw " + Quoted(path) + " -", &status);
        if (c.rows > 0) {
            EXPECT_NE(text.find("1/"), std::string::npos);
        }
    }
}

TEST_F(ReportTest, PdfThatCannotBeWrittenGivesTheCodedFailure)
{
    EXPECT_FALSE(Writer(true).WritePdf(PathOf("missing/r.pdf"), 0, "", 0));
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Erreur lors de la sauvegarde du rapport (0x00001016) !"});
}

}  // namespace
}  // namespace zov::reports::testing

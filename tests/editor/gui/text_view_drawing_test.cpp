#include "ide/editor/TextView.h"

#include "tests/editor/SyntaxTestSupport.h"
#include "tests/editor/gui/EditorViewTestSupport.h"

#include <QImage>

namespace {

using namespace zov::editor;
using zov::editor::test::ShownEditor;

TEST(TextViewLayout, MarginWidthAddsTheSelectionMarginAndTheNumbers)
{
    struct Case {
        bool selectionMargin;
        bool lineNumbers;
        int width;
    };
    for (const Case& c : {Case{true, true, 70}, Case{true, false, 35}, Case{false, true, 51}, Case{false, false, 16}}) {
        EXPECT_EQ(MarginWidthFor(c.selectionMargin, c.lineNumbers), c.width) << c.selectionMargin << c.lineNumbers;
    }
}

TEST(TextViewLayout, MarginIconIsChosenByTheFirstFlagAndTheCombinations)
{
    struct Case {
        std::uint32_t flags;
        int icon;
    };
    const Case cases[] = {
        {LineFlag_Execution, 0},
        {LineFlag_Breakpoint, 1},
        {LineFlag_Error, 2},
        {LineFlag_Warning, 3},
        {LineFlag_Bookmark, 4},
        {LineFlag_Breakpoint | LineFlag_Bookmark, 5},
        {LineFlag_Breakpoint | LineFlag_Execution, 6},
        {LineFlag_Breakpoint | LineFlag_Execution | LineFlag_Bookmark, 6},
        {LineFlag_Error | LineFlag_Warning, 2},
        {NumberedBookmarkFlag(6), -1},
        {LineFlag_Marker, -1},
        {0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MarginIconIndex(c.flags), c.icon) << std::hex << c.flags;
    }
}

TEST(TextViewLayout, FlagsGiveTheLineColoursInTheirOrder)
{
    struct Case {
        std::uint32_t flags;
        QColor background;
        QColor text;
        bool wholeLine;
    };
    const Case cases[] = {
        {LineFlag_Execution | LineFlag_Breakpoint, QColor(0, 128, 0), QColor(255, 255, 255), true},
        {LineFlag_Marker | LineFlag_Breakpoint, QColor(241, 245, 255), QColor(), true},
        {LineFlag_Breakpoint, QColor(255, 0, 0), QColor(255, 255, 255), true},
        {LineFlag_Error, QColor(), QColor(), false},
    };
    for (const Case& c : cases) {
        const LineColours colours = LineColoursForFlags(c.flags);
        EXPECT_EQ(colours.background, c.background) << std::hex << c.flags;
        EXPECT_EQ(colours.text, c.text) << std::hex << c.flags;
        EXPECT_EQ(colours.wholeLine, c.wholeLine) << std::hex << c.flags;
    }
}

TEST(TextViewLayout, ColorrefValuesAreLittleEndianRgb)
{
    EXPECT_EQ(ColourFromColorref(0xCC20BB), QColor(187, 32, 204));
    EXPECT_EQ(ColorrefFromColour(QColor(22, 122, 121)), 0x797A16);
}

class TextViewDrawing : public ShownEditor {};

TEST_F(TextViewDrawing, WholeLineColoursFillToTheRightEdge)
{
    Show("plain\nrun\nstop\nmark\n");
    buffer_->ChangeLineFlag(1, LineFlag_Execution, true);
    buffer_->ChangeLineFlag(2, LineFlag_Breakpoint, true);
    buffer_->ChangeLineFlag(3, LineFlag_Marker, true);
    const QImage image = view_->viewport()->grab().toImage();
    const int x = image.width() - 5;
    const int h = view_->GetLineHeight();
    EXPECT_EQ(QColor(image.pixel(x, h / 2)), view_->GetColor(0));
    EXPECT_EQ(QColor(image.pixel(x, h + h / 2)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(image.pixel(x, 2 * h + h / 2)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(x, 3 * h + h / 2)), QColor(241, 245, 255));
    // The text of the execution line is white: some pixel of its glyphs is.
    bool white = false;
    const int textLeft = view_->GetMarginWidth();
    for (int px = textLeft; px < textLeft + 3 * view_->GetCharWidth() && !white; ++px) {
        for (int py = h; py < 2 * h; ++py) {
            white = white || QColor(image.pixel(px, py)) == QColor(255, 255, 255);
        }
    }
    EXPECT_TRUE(white);
}

TEST_F(TextViewDrawing, MarginShowsIconsNumbersAndFoldBoxes)
{
    Show("first\nsecond\nthird\n");
    view_->SetDisplayLineNumbers(true);
    buffer_->ChangeLineFlag(0, LineFlag_Breakpoint, true);
    buffer_->SetMacroName(2, QStringLiteral("Greet"));
    ASSERT_EQ(view_->GetMarginWidth(), 70);
    const QImage image = view_->viewport()->grab().toImage();
    const int h = view_->GetLineHeight();
    // The breakpoint dot sits in the icon column of line 1, red.
    const QColor dot(image.pixel(2 + 8, (h - 14) / 2 + 7));
    EXPECT_GT(dot.red(), 150);
    EXPECT_LT(dot.green(), 80);
    // Line 2 has no icon: the margin colour stays.
    EXPECT_EQ(QColor(image.pixel(10, h + h / 2)), QColor(230, 225, 230));
    // Grey digits in the number column, on its light background.
    bool grey = false;
    for (int px = 20; px < 54 && !grey; ++px) {
        for (int py = 0; py < h; ++py) {
            grey = grey || QColor(image.pixel(px, py)) == QColor(128, 128, 128);
        }
    }
    EXPECT_TRUE(grey);
    EXPECT_EQ(QColor(image.pixel(21, h - 1)), QColor(250, 250, 250));
    EXPECT_EQ(QColor(image.pixel(19, h - 1)), QColor(230, 225, 230));
    // Folded macro call: the box shows a plus (vertical stroke at right - 8).
    const int top = 2 * h + (h - 14) / 2;
    EXPECT_EQ(QColor(image.pixel(70 - 8, top + 4)), QColor(0, 0, 0));
    buffer_->SetFoldState(2, 1);
    view_->viewport()->repaint();
    const QImage unfolded = view_->viewport()->grab().toImage();
    EXPECT_NE(QColor(unfolded.pixel(70 - 8, top + 4)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(unfolded.pixel(70 - 8, top + 6)), QColor(0, 0, 0));
}

TEST_F(TextViewDrawing, TabsExpandToTheNextMultipleOfFour)
{
    Show("a\tb\n\tx\nabcd\te\n");
    // "b" lands on column 4, the tab's next stop: five columns in all.
    EXPECT_EQ(view_->GetLineActualLength(0), 5);
    EXPECT_EQ(view_->CharToColumn(0, 2), 4);
    EXPECT_EQ(view_->GetLineActualLength(1), 5);
    EXPECT_EQ(view_->GetLineActualLength(2), 9);
    EXPECT_EQ(view_->ColumnToChar(0, 3), 1);
}

TEST_F(TextViewDrawing, StatusTextsFollowTheCaretAndTheLineEnds)
{
    struct Case {
        const char* text;
        const char* label;
    };
    for (const Case& c : {Case{"a\r\nb\r\n", "DOS"}, Case{"a\nb\n", "UNIX"}, Case{"a\rb\r", "MAC"}}) {
        Show(c.text);
        EXPECT_EQ(view_->LineEndStatusText(), QString::fromLatin1(c.label));
    }
    Key(Qt::Key_Down);
    Key(Qt::Key_End);
    EXPECT_EQ(view_->CursorStatusText(), QStringLiteral("Ln 2, Col 2"));
    CTextView bare;
    EXPECT_EQ(bare.LineEndStatusText(), QString());
    EXPECT_EQ(bare.GetLineCount(), 1);
}

TEST_F(TextViewDrawing, SelectionIsDrawnInTheSelectionColours)
{
    Show("selected text\n");
    view_->SetSelection({0, 0}, {8, 0});
    const QImage image = view_->viewport()->grab().toImage();
    const int h = view_->GetLineHeight();
    const int x = view_->GetMarginWidth() + 2;
    bool black = false;
    for (int py = 0; py < h; ++py) {
        black = black || QColor(image.pixel(x, py)) == QColor(0, 0, 0);
    }
    EXPECT_TRUE(black);
    EXPECT_NE(QColor(image.pixel(view_->GetMarginWidth() + 10 * view_->GetCharWidth(), 1)), QColor(0, 0, 0));
}

// Whether some pixel of the cells [column, column + count) of a visible line has the colour.
bool CellsHold(const QImage& image, const CTextView& view, int visibleLine, int column, int count, const QColor& colour)
{
    const int h = view.GetLineHeight();
    const int left = view.GetMarginWidth() + column * view.GetCharWidth();
    for (int px = left; px < left + count * view.GetCharWidth(); ++px) {
        for (int py = visibleLine * h; py < (visibleLine + 1) * h; ++py) {
            if (QColor(image.pixel(px, py)) == colour) {
                return true;
            }
        }
    }
    return false;
}

// A keyword is painted in the keyword colour wherever it stands, the first column of a line
// included, whichever way the cookies of the lines above were computed.
TEST_F(TextViewDrawing, KeywordsArePaintedInTheKeywordColourFromTheFirstColumn)
{
    const auto language = zov::editor::test::Language("[qzs]\n#comment=;\n#string=\"\nif\nend\nthen\nreturn\nwhile\n");
    ASSERT_NE(language, nullptr);
    // Short enough to scroll: about three lines show; the blank lines let line 3 reach the top.
    Show("if a then\n\treturn 1 ; done\nend\nwhile \"x\\\nend\" then\nend\n\n\n\n", 480, 100);
    view_->Colouring().SetMarkers(MarkersForLanguage(language.get()));
    view_->clearFocus();  // the caret, in the text colour, would stand in the first cell
    ASSERT_FALSE(view_->hasFocus());
    const QColor keyword = view_->GetColor(Colour_Keyword);
    const QColor text = view_->GetColor(CTextView::Colour_Text);
    ASSERT_NE(keyword, text);

    struct Case {
        int line;
        int column;  // display column, tabs expanded
        int count;
        bool isKeyword;
    };
    // Line 3 ends inside a string continued by the backslash: "end" on line 4 is string text.
    const Case cases[] = {
        {0, 0, 2, true}, {0, 5, 4, true},  {1, 4, 6, true}, {2, 0, 3, true},
        {3, 0, 5, true}, {4, 0, 3, false}, {4, 5, 4, true}, {5, 0, 3, true},
    };
    auto check = [&](const QImage& image, int topLine, const char* when) {
        for (const Case& c : cases) {
            if (c.line < topLine || c.line >= topLine + view_->GetScreenLines()) {
                continue;
            }
            const int visible = c.line - topLine;
            EXPECT_EQ(CellsHold(image, *view_, visible, c.column, c.count, keyword), c.isKeyword)
                << when << " line " << c.line << " column " << c.column;
            if (c.isKeyword) {
                EXPECT_FALSE(CellsHold(image, *view_, visible, c.column, c.count, text))
                    << when << " line " << c.line << " column " << c.column;
            }
        }
    };
    check(view_->viewport()->grab().toImage(), 0, "first paint");
    // Scrolled: the cookies of the lines above come from the cache or a walk without blocks.
    view_->ScrollToLine(3);
    ASSERT_EQ(view_->GetTopLine(), 3);
    check(view_->viewport()->grab().toImage(), 3, "scrolled");
    view_->ScrollToLine(0);
    check(view_->viewport()->grab().toImage(), 0, "scrolled back");
}

}  // namespace

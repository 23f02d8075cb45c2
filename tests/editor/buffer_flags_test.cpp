// Line flags: the bit values, unique flags, wrapping searches, the 1-based breakpoint lists of
// the script view, and that marks never reach the undo list or the modified state.
#include "ide/editor/model/LineMarks.h"
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;

namespace {

void FillLines(CTextBuffer& buffer, int count)
{
    std::string text;
    for (int i = 1; i < count; ++i) {
        text += "line\r\n";
    }
    Fill(buffer, text + "last");
}

}  // namespace

TEST(BufferFlags, BitValues)
{
    EXPECT_EQ(NumberedBookmarkFlag(0), 0x1u);
    EXPECT_EQ(NumberedBookmarkFlag(9), 0x200u);
    EXPECT_EQ(LineFlag_Bookmark9, 0x200u);
    EXPECT_EQ(LineFlag_Execution, 0x10000u);
    EXPECT_EQ(LineFlag_Breakpoint, 0x20000u);
    EXPECT_EQ(LineFlag_Error, 0x40000u);
    EXPECT_EQ(LineFlag_Warning, 0x80000u);
    EXPECT_EQ(LineFlag_Marker, 0x100000u);
    EXPECT_EQ(LineFlag_Bookmark, 0x200000u);
}

TEST(BufferFlags, AFlagOfMoreOrLessThanOneBitChangesNothing)
{
    CTextBuffer buffer;
    FillLines(buffer, 3);
    for (std::uint32_t flag : {0x30000u, 0u, 0x3u}) {
        EXPECT_LT(buffer.ChangeLineFlag(1, flag, true), 0);
        EXPECT_EQ(buffer.GetLineFlags(1), 0u);
        EXPECT_EQ(buffer.FindUniqueFlagLine(flag), -1);
    }
    EXPECT_LT(buffer.ChangeLineFlag(3, LineFlag_Breakpoint, true), 0);
    EXPECT_LT(buffer.ChangeLineFlag(-1, LineFlag_Breakpoint, false), 0);  // no line carries it
}

TEST(BufferFlags, RemoveFromPreviousKeepsAFlagUnique)
{
    CTextBuffer buffer;
    FillLines(buffer, 10);
    zov::editor::test::RecordingView view;
    buffer.AttachView(&view);
    EXPECT_EQ(buffer.ChangeLineFlag(3, LineFlag_Execution, true, true), 3);
    EXPECT_EQ(buffer.ChangeLineFlag(7, LineFlag_Execution, true, true), 7);
    EXPECT_EQ(buffer.FindUniqueFlagLine(LineFlag_Execution), 7);
    EXPECT_EQ(buffer.GetLineFlags(3), 0u);
    ASSERT_EQ(view.changes.size(), 3u);
    EXPECT_EQ(view.changes[1].line, 3);
    EXPECT_EQ(view.changes[1].hint, 0x0300u);
    EXPECT_EQ(view.changes[2].line, 7);
    // Setting what is already set tells nobody.
    buffer.ChangeLineFlag(7, LineFlag_Execution, true, true);
    EXPECT_EQ(view.changes.size(), 3u);
    // Line -1: the line that carries the flag.
    EXPECT_EQ(buffer.ChangeLineFlag(-1, LineFlag_Execution, false), 7);
    EXPECT_EQ(buffer.FindFirstFlaggedLine(0xFFFFFFFF), -1);
    // Without removal a flag can sit on several lines.
    buffer.ChangeLineFlag(2, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(5, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(5, LineFlag_Marker, true);
    EXPECT_EQ(buffer.GetLineFlags(5), LineFlag_Breakpoint | LineFlag_Marker);
    EXPECT_EQ(buffer.FindFirstFlaggedLine(LineFlag_Marker | LineFlag_Error), 5);
}

TEST(BufferFlags, FlagsTouchNeitherUndoNorModified)
{
    CTextBuffer buffer;
    FillLines(buffer, 3);
    buffer.ChangeLineFlag(1, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(1, LineFlag_Bookmark, true);
    buffer.ChangeLineFlag(1, LineFlag_Bookmark, false);
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(BufferFlags, NextAndPreviousSearchesWrapOnce)
{
    CTextBuffer buffer;
    FillLines(buffer, 10);
    for (int line : {2, 6}) {
        buffer.ChangeLineFlag(line, LineFlag_Bookmark, true);
    }
    buffer.ChangeLineFlag(4, LineFlag_Warning, true);
    struct Case {
        int from;
        int next;
        int prev;
    };
    const Case cases[] = {
        {0, 2, 6}, {2, 6, 6}, {3, 6, 2}, {6, 2, 2}, {9, 2, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(buffer.NextBookmarkedLine(c.from), c.next) << c.from;
        EXPECT_EQ(buffer.PrevBookmarkedLine(c.from), c.prev) << c.from;
    }
    // A single mark on the start line is found again after wrapping.
    EXPECT_EQ(buffer.NextWarningLine(4), 4);
    EXPECT_EQ(buffer.PrevWarningLine(4), 4);
    EXPECT_EQ(buffer.NextWarningLine(8), 4);
    buffer.ChangeLineFlag(4, LineFlag_Warning, false);
    EXPECT_EQ(buffer.NextWarningLine(0), -1);
    EXPECT_EQ(buffer.PrevWarningLine(0), -1);
}

TEST(LineMarks, BreakpointListsAreOneBased)
{
    CTextBuffer buffer;
    FillLines(buffer, 6);
    buffer.ChangeLineFlag(0, LineFlag_Breakpoint, true);
    buffer.ChangeLineFlag(4, LineFlag_Breakpoint, true);
    std::vector<unsigned> list = {99};
    GetBreakpoints(buffer, list);
    EXPECT_EQ(list, (std::vector<unsigned>{1, 5}));

    CTextBuffer other;
    FillLines(other, 6);
    SetBreakpoints(other, {3, 3, 0, 7, 6});  // 0 and 7 lie outside the text
    GetBreakpoints(other, list);
    EXPECT_EQ(list, (std::vector<unsigned>{3, 6}));
    EXPECT_FALSE(other.IsModified());
}

TEST(LineMarks, ToggleNumberedBookmarkMovesIt)
{
    CTextBuffer buffer;
    FillLines(buffer, 12);
    ToggleLineFlag(buffer, 2, NumberedBookmarkFlag(3), true);
    ToggleLineFlag(buffer, 10, NumberedBookmarkFlag(3), true);
    EXPECT_EQ(buffer.FindUniqueFlagLine(NumberedBookmarkFlag(3)), 10);
    EXPECT_EQ(buffer.GetLineFlags(2), 0u);
    ToggleLineFlag(buffer, 10, NumberedBookmarkFlag(3), true);
    EXPECT_EQ(buffer.GetLineFlags(10), 0u);
    // Breakpoints toggle in place: F9 twice leaves the line without one.
    ToggleLineFlag(buffer, 4, LineFlag_Breakpoint, false);
    ToggleLineFlag(buffer, 5, LineFlag_Breakpoint, false);
    ToggleLineFlag(buffer, 4, LineFlag_Breakpoint, false);
    EXPECT_EQ(buffer.GetLineFlags(4), 0u);
    EXPECT_EQ(buffer.GetLineFlags(5), LineFlag_Breakpoint);
}

TEST(LineMarks, ClearFlagEverywhere)
{
    CTextBuffer buffer;
    FillLines(buffer, 5);
    for (int line : {0, 2, 4}) {
        buffer.ChangeLineFlag(line, LineFlag_Warning, true);
    }
    buffer.ChangeLineFlag(2, LineFlag_Breakpoint, true);
    ClearLineFlag(buffer, LineFlag_Warning);
    EXPECT_EQ(buffer.FindFirstFlaggedLine(LineFlag_Warning), -1);
    EXPECT_EQ(buffer.GetLineFlags(2), LineFlag_Breakpoint);
}

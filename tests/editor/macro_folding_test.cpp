// Unfolding and folding macro call lines: the body indented like the call and protected, the
// call restored on folding, nothing recorded for undo, the modified state kept, and the fold
// states saved and restored around a collapse.
#include "ide/editor/model/MacroFolding.h"
#include "tests/editor/BufferTestSupport.h"

#include <map>

using namespace zov::editor;
using zov::editor::test::Fill;
using zov::editor::test::Lines;

namespace {

std::vector<QString> Q(std::initializer_list<const char*> lines)
{
    std::vector<QString> out;
    for (const char* line : lines) {
        out.push_back(QString::fromUtf8(line));
    }
    return out;
}

// Stands in for the interface set: Init holds a call of Inner, expanded at depth 2 and more.
std::string Expand(const std::string& name, int depth)
{
    static const std::map<std::string, std::string> bodies = {
        {"Init", "a = 1\r\nInner"},
        {"Inner", "b = 2\nc = 3"},
        {"Empty", ""},
    };
    if (name == "Init" && depth > 1) {
        return "a = 1\r\nb = 2\r\nc = 3";
    }
    const auto found = bodies.find(name);
    return found != bodies.end() ? found->second : "";
}

// What the colouring does: a line whose text is only a known name is a call line.
void MarkCalls(CTextBuffer& buffer)
{
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        const QString name = buffer.GetLine(line).trimmed();
        if (name == "Init" || name == "Inner" || name == "Empty") {
            buffer.SetMacroName(line, name);
        }
    }
}

}  // namespace

TEST(MacroFolding, UnfoldIndentsTheBodyLikeTheCallAndProtectsIt)
{
    CTextBuffer buffer;
    Fill(buffer, "x = 0\r\n  \tInit\r\ny = 9");
    MarkCalls(buffer);
    buffer.SetFoldState(1, Fold_OneLevel);
    ASSERT_TRUE(ExpandMacroLine(buffer, 1, false, Expand));
    EXPECT_EQ(Lines(buffer), Q({"x = 0", "  \ta = 1", "  \tInner", "y = 9"}));
    EXPECT_TRUE(buffer.IsMacroBodyLine(2));
    EXPECT_FALSE(buffer.IsMacroBodyLine(3));
    EXPECT_FALSE(buffer.HasMacroName(2));  // a call inside a body is no call line
    EXPECT_TRUE(HasMacroBlocks(buffer));
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanUndo());
    // Header and body refuse typing; the line after the block does not.
    EXPECT_FALSE(buffer.InsertTextUndoable(nullptr, {0, 1}, u"z", nullptr, UndoAction_Typing));
    EXPECT_FALSE(buffer.InsertTextUndoable(nullptr, {0, 2}, u"z", nullptr, UndoAction_Typing));
    EXPECT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 3}, u"z", nullptr, UndoAction_Typing));
}

TEST(MacroFolding, FoldRestoresTheCallAndTheModifiedState)
{
    CTextBuffer buffer;
    Fill(buffer, "  Init\r\nend");
    MarkCalls(buffer);
    buffer.InsertTextUndoable(nullptr, {3, 1}, u"!", nullptr, UndoAction_Typing);  // modified, one record
    buffer.SetFoldState(0, Fold_Full);
    ASSERT_TRUE(ExpandMacroLine(buffer, 0, true, Expand));
    EXPECT_EQ(Lines(buffer), Q({"  a = 1", "  b = 2", "  c = 3", "end!"}));
    EXPECT_TRUE(buffer.IsModified());
    buffer.SetFoldState(0, Fold_Folded);
    ASSERT_TRUE(ExpandMacroLine(buffer, 0, false, Expand));
    EXPECT_EQ(Lines(buffer), Q({"  Init", "end!"}));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_EQ(buffer.GetUndoRecords().size(), 1u);
    EXPECT_FALSE(HasMacroBlocks(buffer));
    EXPECT_EQ(buffer.GetMacroName(0), "Init");
}

TEST(MacroFolding, NothingHappensWithoutTheCallOnTheLine)
{
    CTextBuffer buffer;
    Fill(buffer, "Initial\r\nInit");
    buffer.SetMacroName(0, "Init");  // whole word only: "Initial" holds no call
    buffer.SetFoldState(0, Fold_OneLevel);
    EXPECT_FALSE(ExpandMacroLine(buffer, 0, false, Expand));
    EXPECT_EQ(Lines(buffer), Q({"Initial", "Init"}));
    // An empty body still folds back to the call.
    CTextBuffer empty;
    Fill(empty, "\tEmpty\r\nz");
    MarkCalls(empty);
    ExpandAllMacros(empty, Expand);
    EXPECT_EQ(Lines(empty), Q({"\t", "z"}));
    CollapseAllMacros(empty);
    EXPECT_EQ(Lines(empty), Q({"\tEmpty", "z"}));
}

TEST(MacroFolding, SaveCollapseRestoreReexpandsTheSameMacros)
{
    CTextBuffer buffer;
    Fill(buffer, "Init\r\nk = 1\r\n    Inner\r\nInit\r\nlast");
    MarkCalls(buffer);
    buffer.SetFoldState(0, Fold_Full);
    ASSERT_TRUE(ExpandMacroLine(buffer, 0, true, Expand));
    buffer.SetFoldState(4, Fold_OneLevel);
    ASSERT_TRUE(ExpandMacroLine(buffer, 4, false, Expand));
    const auto unfolded = Lines(buffer);
    EXPECT_EQ(unfolded, Q({"a = 1", "b = 2", "c = 3", "k = 1", "    b = 2", "    c = 3", "Init", "last"}));

    const auto saved = SaveFoldState(buffer);
    EXPECT_EQ(saved, (std::vector<std::uint32_t>{0x80000000u, 4u}));
    CollapseAllMacros(buffer);
    EXPECT_EQ(Lines(buffer), Q({"Init", "k = 1", "    Inner", "Init", "last"}));
    EXPECT_FALSE(HasMacroBlocks(buffer));
    RestoreFoldState(buffer, saved, Expand);
    EXPECT_EQ(Lines(buffer), unfolded);
    EXPECT_EQ(buffer.GetFoldState(0), Fold_Full);
    EXPECT_EQ(buffer.GetFoldState(4), Fold_OneLevel);
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(MacroFolding, ExpandAllAndReadOnlyBuffers)
{
    CTextBuffer buffer;
    Fill(buffer, "Init\r\nInner");
    MarkCalls(buffer);
    buffer.SetReadOnly(true);
    ExpandAllMacros(buffer, Expand);
    EXPECT_EQ(buffer.GetLineCount(), 2);
    EXPECT_FALSE(HasMacroBlocks(buffer));
    buffer.SetReadOnly(false);
    ExpandAllMacros(buffer, Expand);
    EXPECT_EQ(Lines(buffer), Q({"a = 1", "b = 2", "c = 3", "b = 2", "c = 3"}));
    EXPECT_EQ(SaveFoldState(buffer), (std::vector<std::uint32_t>{0x80000000u, 0x80000003u}));
    buffer.SetReadOnly(true);
    EXPECT_FALSE(HasMacroBlocks(buffer));
}

// The undo list: groups and the typing merge rule, the caret positions returned, the modified
// state against the saved position, the redo tail, and the record limit that drops whole groups.
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;
using zov::editor::test::Lines;
using zov::editor::test::RecordingView;

namespace {

// One typed character as the editor view types it: a blank starts a new group, any other
// character joins the typing before it.
void Type(CTextBuffer& buffer, RecordingView& view, TextPosition& caret, QChar c)
{
    buffer.OpenUndoGroup(c != u' ');
    ASSERT_TRUE(buffer.InsertTextUndoable(&view, caret, QString(c), &caret, UndoAction_Typing));
    buffer.CloseUndoGroup(&view);
}

}  // namespace

TEST(BufferUndo, ActionTextsAndCodesWithoutText)
{
    const std::pair<int, const char*> named[] = {
        {0, "Inconnu"},        {1, "Coller"},     {2, "Supp. Sélection"}, {3, "Couper"},    {4, "Frappe"},
        {5, "Retour"},         {6, "Indenter"},   {7, "Drag & Drop"},     {8, "Remplacer"}, {9, "Supp"},
        {10, "Auto Indenter"}, {18, "Commenter"}, {19, "Décommenter"},
    };
    CTextBuffer buffer;
    for (const auto& [code, text] : named) {
        QString out;
        EXPECT_TRUE(buffer.GetUndoActionText(code, out));
        EXPECT_EQ(out, QString::fromUtf8(text));
    }
    // The case changes (13..16) and other codes have no name: the text must not stay stale.
    for (int code : {11, 12, 13, 14, 15, 16, 17, 20, -1}) {
        QString out = "Frappe";
        EXPECT_FALSE(buffer.GetUndoActionText(code, out)) << code;
        EXPECT_TRUE(out.isEmpty()) << code;
    }
}

TEST(BufferUndo, ActionTextsGoThroughTheTranslation)
{
    CTextBuffer buffer([](std::string_view text) { return "[" + std::string(text) + "]"; });
    QString out;
    buffer.GetUndoActionText(1, out);
    EXPECT_EQ(out, "[Coller]");
}

TEST(BufferUndo, ABlankStartsANewTypingGroup)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    RecordingView view;
    buffer.AttachView(&view);
    TextPosition caret;
    for (QChar c : QString("ab cd")) {
        Type(buffer, view, caret, c);
    }
    QString text;
    EXPECT_EQ(buffer.GetUndoText(text), 2);
    EXPECT_EQ(text, "Frappe");
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(0), "ab");
    EXPECT_EQ(position, (TextPosition{2, 0}));
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(0), "");
    EXPECT_EQ(position, (TextPosition{0, 0}));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.Undo(position));
    ASSERT_TRUE(buffer.Redo(position));
    EXPECT_EQ(buffer.GetLine(0), "ab");
    EXPECT_EQ(position, (TextPosition{2, 0}));
    ASSERT_TRUE(buffer.Redo(position));
    EXPECT_EQ(buffer.GetLine(0), "ab cd");
    EXPECT_EQ(position, (TextPosition{5, 0}));
    EXPECT_FALSE(buffer.CanRedo());
}

TEST(BufferUndo, AGroupIsUndoneAsOneStepInReverseOrder)
{
    CTextBuffer buffer;
    Fill(buffer, "one\r\ntwo\r\nthree");
    buffer.OpenUndoGroup();
    ASSERT_TRUE(buffer.DeleteTextUndoable(nullptr, {1, 0}, {2, 2}, UndoAction_DeleteSelection));
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {1, 0}, u"X\nY", nullptr, UndoAction_Paste));
    buffer.CloseUndoGroup();
    EXPECT_EQ(Lines(buffer), (std::vector<QString>{"oX", "Yree"}));
    QString text;
    EXPECT_EQ(buffer.GetUndoText(text), 0);
    EXPECT_EQ(text, QString::fromUtf8("Supp. Sélection"));
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(Lines(buffer), (std::vector<QString>{"one", "two", "three"}));
    EXPECT_EQ(position, (TextPosition{2, 2}));  // the end of the restored deletion
    EXPECT_FALSE(buffer.IsModified());
    ASSERT_TRUE(buffer.GetRedoText(text));
    EXPECT_EQ(text, QString::fromUtf8("Supp. Sélection"));
    ASSERT_TRUE(buffer.Redo(position));
    EXPECT_EQ(Lines(buffer), (std::vector<QString>{"oX", "Yree"}));
    EXPECT_EQ(position, (TextPosition{1, 1}));
}

TEST(BufferUndo, AfterEditHookHearsTheLastRecordOfTheSourceViewsGroup)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    RecordingView view;
    ASSERT_TRUE(buffer.InsertTextUndoable(&view, {0, 0}, u"\r\n", nullptr, UndoAction_Typing));
    ASSERT_EQ(view.afterEdits.size(), 1u);
    EXPECT_EQ(view.afterEdits[0].first, UndoAction_Typing);
    EXPECT_EQ(view.afterEdits[0].second, "\r\n");
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 1}, u"x", nullptr, UndoAction_Typing));
    EXPECT_EQ(view.afterEdits.size(), 1u);
}

TEST(BufferUndo, ModifiedFollowsTheSavedPosition)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    TextPosition position;
    buffer.InsertTextUndoable(nullptr, {0, 0}, u"a", nullptr, UndoAction_Typing);
    buffer.InsertTextUndoable(nullptr, {1, 0}, u"b", nullptr, UndoAction_Typing);
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.Undo(position));
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_FALSE(buffer.IsModified());  // back at the empty text of InitNew
    ASSERT_TRUE(buffer.Redo(position));
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_FALSE(buffer.IsModified());
}

TEST(BufferUndo, ANewRecordCutsTheRedoTailAndAnUnreachableSaveStaysModified)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    TextPosition position;
    buffer.InsertTextUndoable(nullptr, {0, 0}, u"a", nullptr, UndoAction_Typing);
    buffer.InsertTextUndoable(nullptr, {1, 0}, u"b", nullptr, UndoAction_Typing);
    // Saved at "ab" (position 2), then one undo and a different edit.
    buffer.SetModified(false);
    const std::string path = testing::TempDir() + "zov-undo-cut.qzs";
    ASSERT_TRUE(buffer.SaveToFile(path));
    ASSERT_TRUE(buffer.Undo(position));
    buffer.InsertTextUndoable(nullptr, {1, 0}, u"c", nullptr, UndoAction_Typing);
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_EQ(buffer.GetUndoRecords().size(), 2u);
    // "ac" sits at position 2 like the saved "ab" did, yet it is not the saved text.
    EXPECT_EQ(buffer.GetSavedPosition(), -1);
    EXPECT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.Undo(position));
    ASSERT_TRUE(buffer.Redo(position));
    EXPECT_TRUE(buffer.IsModified());
    std::remove(path.c_str());
}

TEST(BufferUndo, AtTheLimitTheOldestGroupIsDroppedWhole)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    // A two-record group first, then single-record groups up to the limit.
    buffer.OpenUndoGroup();
    buffer.InsertTextUndoable(nullptr, {0, 0}, u"a", nullptr, UndoAction_Typing);
    buffer.InsertTextUndoable(nullptr, {1, 0}, u"b", nullptr, UndoAction_Typing);
    buffer.CloseUndoGroup();
    for (int i = 2; i < CTextBuffer::kDefaultUndoLimit; ++i) {
        buffer.InsertTextUndoable(nullptr, {i, 0}, u"x", nullptr, UndoAction_Typing);
    }
    ASSERT_EQ(buffer.GetUndoRecords().size(), 1024u);
    buffer.InsertTextUndoable(nullptr, {1024, 0}, u"y", nullptr, UndoAction_Typing);
    EXPECT_EQ(buffer.GetUndoRecords().size(), 1023u);
    EXPECT_TRUE(buffer.CanUndo());
    EXPECT_TRUE(buffer.GetUndoRecords().front().flags & CTextBuffer::kUndoGroupStart);
    // Everything left undoes down to "ab", never below the first record.
    TextPosition position;
    while (buffer.CanUndo()) {
        ASSERT_TRUE(buffer.Undo(position));
    }
    EXPECT_EQ(buffer.GetLine(0), "ab");
    EXPECT_TRUE(buffer.IsModified());  // the saved empty text was dropped with the first group
    EXPECT_EQ(buffer.GetSavedPosition(), -1);
}

TEST(BufferUndo, AnOpenGroupLargerThanTheLimitStaysWhole)
{
    // Tab on an 1100-line selection: one group of 1100 records.
    std::string text;
    for (int i = 0; i < 1100; ++i) {
        text += "line\r\n";
    }
    CTextBuffer buffer;
    Fill(buffer, text);
    buffer.InsertTextUndoable(nullptr, {0, 0}, u"first ", nullptr, UndoAction_Typing);
    buffer.OpenUndoGroup();
    for (int line = 0; line < 1100; ++line) {
        ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, line}, u"\t", nullptr, UndoAction_Indent));
    }
    buffer.CloseUndoGroup();
    // Only the older group made room; the open one kept all its records.
    EXPECT_EQ(buffer.GetUndoRecords().size(), 1100u);
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(buffer.GetLine(0), "first line");
    EXPECT_EQ(buffer.GetLine(1099), "line");
    EXPECT_FALSE(buffer.Undo(position));
    // The next edit drops the large group whole.
    ASSERT_TRUE(buffer.Redo(position));
    buffer.InsertTextUndoable(nullptr, {0, 5}, u"z", nullptr, UndoAction_Typing);
    EXPECT_EQ(buffer.GetUndoRecords().size(), 1u);
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(5), "\tline");
}

TEST(BufferUndo, UnrecordedEditsAndReadOnlyBuffers)
{
    CTextBuffer buffer;
    Fill(buffer, "abc");
    buffer.EnableUndoRecording(false);
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 0}, u"x", nullptr, UndoAction_Typing));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.IsModified());
    buffer.EnableUndoRecording(true);
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 0}, u"y", nullptr, UndoAction_Typing));
    buffer.SetReadOnly(true);
    TextPosition position;
    EXPECT_FALSE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(0), "yxabc");
    EXPECT_TRUE(buffer.CanUndo());
}

TEST(BufferUndo, AGroupWhoseEditsWereRefusedTellsTheViewNothing)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    RecordingView view;
    ASSERT_TRUE(buffer.InsertTextUndoable(&view, {0, 0}, u"\r\n", nullptr, UndoAction_Typing));
    ASSERT_EQ(view.afterEdits.size(), 1u);
    // The Enter above is the last record; a refused edit must not make the view hear it again
    // (the editor would indent a second time).
    buffer.SetReadOnly(true);
    buffer.OpenUndoGroup();
    EXPECT_FALSE(buffer.InsertTextUndoable(&view, {0, 1}, u"x", nullptr, UndoAction_Typing));
    buffer.CloseUndoGroup(&view);
    EXPECT_EQ(view.afterEdits.size(), 1u);
    // The next accepted edit is heard, in a group of its own.
    buffer.SetReadOnly(false);
    buffer.OpenUndoGroup();
    ASSERT_TRUE(buffer.InsertTextUndoable(&view, {0, 1}, u"y", nullptr, UndoAction_Typing));
    buffer.CloseUndoGroup(&view);
    ASSERT_EQ(view.afterEdits.size(), 2u);
    EXPECT_EQ(view.afterEdits[1].second, "y");
}

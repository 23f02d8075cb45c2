#include "tests/editor/gui/EditorViewTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QWheelEvent>

namespace {

using namespace zov::editor;
using zov::editor::test::ShownEditor;

class EditorViewEditing : public ShownEditor {};

TEST_F(EditorViewEditing, TypingIsOneUndoStepAndRedoBringsItBack)
{
    Show("x\n");
    Type(QStringLiteral("abc"));
    EXPECT_EQ(Line(0), QStringLiteral("abcx"));
    EXPECT_EQ(Caret(), (TextPosition{3, 0}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("x"));
    EXPECT_EQ(Caret(), (TextPosition{0, 0}));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("abcx"));
}

TEST_F(EditorViewEditing, TypingAfterAPasteOrAMoveStartsItsOwnUndoStep)
{
    Show("x\n");
    QApplication::clipboard()->setText(QStringLiteral("p"));
    Key(Qt::Key_V, Qt::ControlModifier);
    Type(QStringLiteral("t"));
    Key(Qt::Key_End);
    Type(QStringLiteral("u"));
    EXPECT_EQ(Line(0), QStringLiteral("ptxu"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("ptx"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("px"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("x"));
}

TEST_F(EditorViewEditing, EnterIndentsAsTheLineAboveAndTheIndentIsItsOwnUndoStep)
{
    Show("    call\n");
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    ASSERT_EQ(buffer_->GetLineCount(), 3);
    EXPECT_EQ(Line(1), QStringLiteral("    "));
    EXPECT_EQ(Caret(), (TextPosition{4, 1}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(1), QString());
    EXPECT_EQ(buffer_->GetLineCount(), 3);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(buffer_->GetLineCount(), 2);
    EXPECT_EQ(Line(0), QStringLiteral("    call"));
}

TEST_F(EditorViewEditing, OverwriteReplacesCharactersAndEnterOnlyMoves)
{
    Show("abcdef\nnext\n");
    Key(Qt::Key_Insert);
    EXPECT_EQ(view_->OverwriteStatusText(), QStringLiteral("OVR"));
    Type(QStringLiteral("XY"));
    EXPECT_EQ(Line(0), QStringLiteral("XYcdef"));
    Key(Qt::Key_Return);
    EXPECT_EQ(buffer_->GetLineCount(), 3);
    EXPECT_EQ(Caret(), (TextPosition{0, 1}));
    Key(Qt::Key_End);
    Type(QStringLiteral("!"));
    EXPECT_EQ(Line(1), QStringLiteral("next!"));
    Key(Qt::Key_Insert);
    EXPECT_EQ(view_->OverwriteStatusText(), QString());
}

TEST_F(EditorViewEditing, BackspaceAndDeleteJoinLines)
{
    Show("one\ntwo\nthree\n");
    Key(Qt::Key_Down);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Line(0), QStringLiteral("onetwo"));
    EXPECT_EQ(Caret(), (TextPosition{3, 0}));
    Key(Qt::Key_End);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Line(0), QStringLiteral("onetwothree"));
    EXPECT_EQ(Caret(), (TextPosition{6, 0}));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Line(0), QStringLiteral("onetwthree"));
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Backspace);  // nothing before the first character
    EXPECT_EQ(Line(0), QStringLiteral("onetwthree"));
}

TEST_F(EditorViewEditing, HomeTogglesBetweenFirstNonBlankAndColumnZero)
{
    Show("    abc\n");
    view_->SetCursorPos({2, 0});
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret().charIndex, 4);
    Key(Qt::Key_Home);
    EXPECT_EQ(Caret().charIndex, 0);
}

TEST_F(EditorViewEditing, CtrlRightStopsAtWordAndPunctuation)
{
    Show("foo.bar baz\n");
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret().charIndex, 3);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret().charIndex, 4);
}

TEST_F(EditorViewEditing, VerticalMovesKeepTheIdealColumn)
{
    Show("abcdefgh\nab\nabcdefgh\n");
    view_->SetCursorPos({6, 0});
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), (TextPosition{2, 1}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), (TextPosition{6, 2}));
}

TEST_F(EditorViewEditing, ShiftMovesExtendTheSelectionFromTheAnchor)
{
    Show("hello world\n");
    Key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(view_->IsSelection());
    EXPECT_EQ(view_->GetText(view_->GetSelectionStart(), view_->GetSelectionEnd()), QStringLiteral("hello "));
    Type(QStringLiteral("bye "));
    EXPECT_EQ(Line(0), QStringLiteral("bye world"));
    // The blank typed last is its own step; the word and the selection it replaced are one.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("byeworld"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("hello world"));
}

TEST_F(EditorViewEditing, PasteOfLfTextMakesLinesAndCopyUsesLf)
{
    Show("start\n");
    QApplication::clipboard()->setText(QStringLiteral("a\nb\nc"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(buffer_->GetLineCount(), 4);
    EXPECT_EQ(Line(0), QStringLiteral("a"));
    EXPECT_EQ(Line(2), QStringLiteral("cstart"));
    view_->SetAnchor({0, 0});
    view_->SetSelection({0, 0}, {1, 1});
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\nb"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("start"));
}

TEST_F(EditorViewEditing, InputMethodCommitInsertsAccentedText)
{
    Show("\n");
    QInputMethodEvent event;
    event.setCommitString(QStringLiteral("été"));
    QApplication::sendEvent(view_.get(), &event);
    EXPECT_EQ(Line(0), QStringLiteral("été"));
    EXPECT_EQ(Caret().charIndex, 3);
}

TEST_F(EditorViewEditing, ReadOnlyBufferRefusesTyping)
{
    Show("fixed\n");
    buffer_->SetReadOnly(true);
    Type(QStringLiteral("x"));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Line(0), QStringLiteral("fixed"));
}

TEST_F(EditorViewEditing, WheelNotchesScrollOneFiveAndElevenLines)
{
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    Show(text);
    for (const auto& [notches, lines] : {std::pair{1, 1}, std::pair{2, 5}, std::pair{3, 11}}) {
        view_->ScrollToLine(50);
        QWheelEvent wheel(QPointF(100, 50), view_->mapToGlobal(QPointF(100, 50)), QPoint(), QPoint(0, -120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view_->viewport(), &wheel);
        EXPECT_EQ(view_->GetTopLine(), 50 + lines) << notches;
    }
    EXPECT_EQ(Caret(), (TextPosition{0, 0}));
}

TEST_F(EditorViewEditing, PagingAndDocumentEndsKeepTheCaretInTheText)
{
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "row\n";
    }
    Show(text);
    const int step = view_->GetScreenLines() - 1;
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret().line, step);
    EXPECT_EQ(view_->GetTopLine(), step);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), buffer_->GetEndPosition());
    EXPECT_GE(view_->GetTopLine(), buffer_->GetLineCount() - view_->GetScreenLines());
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Caret().line, buffer_->GetLineCount() - 1 - step);
}

TEST_F(EditorViewEditing, MarginClickSelectsTheWholeLine)
{
    Show("one\ntwo\nthree\n");
    const int h = view_->GetLineHeight();
    QTest::mouseClick(view_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, h + h / 2));
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{0, 1}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{0, 2}));
    EXPECT_EQ(Caret(), (TextPosition{0, 1}));
}

}  // namespace

namespace {

using namespace zov::editor;

class EditorViewCommands : public zov::editor::test::ShownEditor {};

TEST_F(EditorViewCommands, CaseChangesKeepTheSelectionAndUndoInOneStep)
{
    Show("hELLO wORLD\n");
    view_->SetAnchor({0, 0});
    view_->SetCursorPos({11, 0});
    view_->SetSelection({0, 0}, {11, 0});
    struct Case {
        Qt::Key key;
        const char* expected;
    };
    for (const Case& c : {Case{Qt::Key_U, "HELLO WORLD"}, Case{Qt::Key_L, "hello world"}}) {
        Key(c.key, Qt::ControlModifier);
        EXPECT_EQ(Line(0), QString::fromLatin1(c.expected));
        EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{11, 0}));
    }
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("HELLO WORLD"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("hELLO wORLD"));
    view_->SetSelection({0, 0}, {11, 0});
    view_->ChangeCase(CaseChange::Capitalise);
    EXPECT_EQ(Line(0), QStringLiteral("Hello World"));
}

TEST_F(EditorViewCommands, OccurrenceSearchSelectsWholeWordsAndWraps)
{
    Show("count x\ncounter count\nCount count\n");
    Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{8, 1}));
    Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{6, 2}));
    Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{0, 0}));
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{6, 2}));
}

}  // namespace

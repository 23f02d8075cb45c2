// The script view as an editor: background by document kind, the context menu's enabling, the
// word for help, the commands' enabling, and the refusal of a run without an interface.
#include "tests/scriptview/gui/ScriptViewHarness.h"

#include "ide/editor/model/LineMarks.h"
#include "ide/editor/model/MacroFolding.h"
#include "ide/interfaces/model/MacroText.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace zov::scriptview::test {
namespace {

using namespace view_commands;

QColor Rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

TEST_F(ScriptViewTest, DocumentKindSetsBothBackgroundColours)
{
    CZOVView& view = Open("k.qzs", "a\n");
    const QColor window = view.palette().color(QPalette::Base);
    struct Case {
        int kind;
        QColor expected;
    };
    // Kind 5 keeps what kind 4 left.
    const Case cases[] = {
        {Kind_MacroBody, Rgb(240, 240, 255)},     {Kind_Result, Rgb(255, 255, 220)}, {Kind_Script, window},
        {Kind_OtherLanguage, Rgb(254, 254, 235)}, {5, Rgb(254, 254, 235)},
    };
    for (const Case& c : cases) {
        view.SetDocumentKind(c.kind, nullptr);
        EXPECT_EQ(view.GetColor(editor::CTextView::Colour_WhiteSpace), c.expected) << c.kind;
        EXPECT_EQ(view.GetColor(editor::CTextView::Colour_Background), c.expected) << c.kind;
        EXPECT_EQ(view.GetDocumentKind(), c.kind);
    }
}

std::map<int, bool> MenuState(QMenu& menu)
{
    std::map<int, bool> state;
    for (QAction* action : menu.actions()) {
        if (const int id = shell::CommandId(*action))
            state[id] = action->isEnabled();
    }
    return state;
}

TEST_F(ScriptViewTest, ContextMenuOfEachKindFollowsSelectionAndClipboard)
{
    CZOVView& view = Open("m.qzs", "alpha beta\n");
    QApplication::clipboard()->setText(QStringLiteral("x"));
    std::map<int, bool> state = MenuState(*view.BuildContextMenu());
    EXPECT_EQ(state, (std::map<int, bool>{{57634, false},
                                          {57635, false},
                                          {57637, true},
                                          {kEditConstantOrMacro, false},
                                          {kCreateMacro, false},
                                          {37223, true},
                                          {32844, true}}));

    view.SetSelection({0, 0}, {5, 0});
    state = MenuState(*view.BuildContextMenu());
    EXPECT_TRUE(state[57634]);
    EXPECT_TRUE(state[57635]);
    EXPECT_TRUE(state[kCreateMacro]);

    view.SetDocumentKind(Kind_MacroBody, nullptr);
    state = MenuState(*view.BuildContextMenu());
    EXPECT_EQ(state.count(32844), 0u);
    EXPECT_TRUE(state[kCreateMacro]);

    view.SetDocumentKind(Kind_Result, nullptr);
    state = MenuState(*view.BuildContextMenu());
    EXPECT_EQ(state, (std::map<int, bool>{{57634, true}, {57635, true}, {57637, true}}));

    // A buffer that cannot change takes no paste.
    document_->Buffer().SetReadOnly(true);
    EXPECT_FALSE(MenuState(*view.BuildContextMenu())[57637]);
}

TEST_F(ScriptViewTest, WordAtCaretIsSelectedForHelp)
{
    CZOVView& view = Open("w.qzs", "  trace(valeur)\n");
    view.SetCursorPos({10, 0});
    EXPECT_EQ(view.SelectWordAtCaret(), QStringLiteral("valeur"));
    EXPECT_EQ(view.GetSelectionStart().charIndex, 8);
    EXPECT_EQ(view.GetSelectionEnd().charIndex, 14);
    EXPECT_TRUE(view.IsSelection());
}

// The frame's caret commands move as their keys do; each move tells the document, whose status
// panes follow.
TEST_F(ScriptViewTest, CaretCommandsMoveAndTellTheDocument)
{
    CZOVView& view = Open("c.qzs", "abc\ndefgh\n");
    QSignalSpy told(document_.get(), &shell::ScriptDocument::ViewStateChanged);
    struct Case {
        int id;
        int line, charIndex;
        bool selection;
    };
    const Case cases[] = {
        {37124, 2, 0, false}, {37109, 1, 0, true}, {37119, 1, 5, true},
        {37120, 1, 0, false}, {37103, 1, 1, true}, {37122, 0, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(view.RunCaretCommand(c.id));
        EXPECT_EQ(view.CaretPosition().line, c.line) << c.id;
        EXPECT_EQ(view.CaretPosition().column, c.charIndex) << c.id;
        EXPECT_EQ(view.IsSelection(), c.selection) << c.id;
    }
    EXPECT_FALSE(view.RunCaretCommand(57634));
    EXPECT_GE(told.count(), 6);
}

TEST_F(ScriptViewTest, RunCommandsNeedAScriptPath)
{
    CZOVView& script = Open("s.qzs", "a\n");
    EXPECT_EQ(script.IsCommandEnabled(kRun), true);
    EXPECT_EQ(script.IsCommandEnabled(kVerify), true);
    EXPECT_EQ(script.IsCommandEnabled(kNextLine), false);
    EXPECT_EQ(script.IsCommandEnabled(kStop), false);
    EXPECT_EQ(script.IsCommandEnabled(kBreak), false);
    EXPECT_EQ(script.IsCommandEnabled(kFreeze), true);
    host.settings.showExecution = false;
    EXPECT_EQ(script.IsCommandEnabled(kFreeze), false);

    CZOVView& text = Open("notes.txt", "a\n");
    EXPECT_EQ(text.IsCommandEnabled(kRun), false);
    EXPECT_EQ(text.IsCommandEnabled(kVerify), false);
    EXPECT_EQ(text.IsCommandEnabled(57634), std::nullopt);
}

TEST_F(ScriptViewTest, NoInterfaceRefusesTheRunAndSavesNothing)
{
    interfaces.hasInterface = false;
    CZOVView& view = Open("s.qzs", "a\n");
    view.InsertTypedText(QStringLiteral("b"));
    ASSERT_TRUE(document_->IsModified());
    Key(Qt::Key_F5);
    EXPECT_EQ(Logged("box"), Events{"box Impossible de lancer le script. Aucune interface présente !"});
    Key(Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(Logged("box").size(), 2u);
    EXPECT_FALSE(view.IsRunning());
    EXPECT_TRUE(document_->IsModified());
    EXPECT_EQ(zov::test::ReadFile(root_ / "s.qzs"), "a\n");
    EXPECT_TRUE(Logged("send").empty());
}

TEST_F(ScriptViewTest, FreezeToggles)
{
    CZOVView& view = Open("s.qzs", "a\n");
    EXPECT_TRUE(view.ExecuteCommand(kFreeze));
    EXPECT_TRUE(view.IsCommandChecked(kFreeze));
    EXPECT_TRUE(view.ExecuteCommand(kFreeze));
    EXPECT_FALSE(view.IsCommandChecked(kFreeze));
}

TEST_F(ScriptViewTest, PaneCommandsGoToTheFrame)
{
    std::vector<int> forwarded;
    ScriptViewServices services;
    services.forwardCommand = [&](int id) { forwarded.push_back(id); };
    CZOVView& view = Open("s.qzs", "a\n", std::move(services));
    for (const int id : {kAddData, kDeleteData, kClearErrors, kAddVariable})
        EXPECT_TRUE(view.ExecuteCommand(id));
    EXPECT_EQ(forwarded, (std::vector<int>{kAddData, kDeleteData, kClearErrors, kAddVariable}));
}

// A click in the fold column unfolds a macro call one level, with Shift or Ctrl fully, and folds
// it back; clicks left of that column, or on a read-only buffer, fold nothing.
TEST_F(ScriptViewTest, MarginClicksFoldAndUnfoldMacroCalls)
{
    interfaces::InterfaceSet set({ZOV_BIN_DIR, "", tempDir_.string()}, shell::ActivePrompter());
    set.AddMacro("INNER", interfaces::FoldMacroText("b = 2\r\n"), -1);
    set.AddMacro("OUTER", interfaces::FoldMacroText("a = 1\r\nINNER\r\n"), -1);
    ScriptViewServices services;
    services.names = &set;
    services.expandMacro = [&set](const std::string& name, int depth) { return set.ExpandMacro(name, depth); };
    CZOVView& view = Open("f.qzs", "x = 0\nOUTER\nfin\n", services);
    editor::CTextBuffer& buffer = document_->Buffer();
    ASSERT_TRUE(buffer.HasMacroName(1));
    const int y = view.PositionToPoint({0, 1}).y() + view.GetLineHeight() / 2;
    const auto click = [&](int x, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, QPoint(x, y));
    };
    const auto lines = [&] {
        std::vector<std::string> text;
        for (int line = 0; line < buffer.GetLineCount(); ++line)
            text.push_back(buffer.GetLine(line).toStdString());
        return text;
    };
    const int foldColumn = view.GetMarginWidth() - 5;

    click(2);  // the icon column selects the line only
    EXPECT_EQ(buffer.GetLineCount(), 4);
    click(foldColumn);
    EXPECT_EQ(buffer.GetFoldState(1), editor::Fold_OneLevel);
    EXPECT_EQ(lines(), (std::vector<std::string>{"x = 0", "a = 1", "INNER", "fin", ""}));
    click(foldColumn);
    EXPECT_EQ(buffer.GetFoldState(1), editor::Fold_Folded);
    EXPECT_EQ(lines(), (std::vector<std::string>{"x = 0", "OUTER", "fin", ""}));
    click(foldColumn, Qt::ShiftModifier);
    EXPECT_EQ(buffer.GetFoldState(1), editor::Fold_Full);
    EXPECT_EQ(lines(), (std::vector<std::string>{"x = 0", "a = 1", "b = 2", "fin", ""}));
    click(foldColumn);
    EXPECT_EQ(lines(), (std::vector<std::string>{"x = 0", "OUTER", "fin", ""}));

    buffer.SetReadOnly(true);
    click(foldColumn);
    EXPECT_EQ(buffer.GetFoldState(1), editor::Fold_Folded);
    EXPECT_EQ(buffer.GetLineCount(), 4);
}

// The running mark follows the modified mark, and each comes and goes on its own.
TEST_F(ScriptViewTest, TitleKeepsTheModifiedMarkFirst)
{
    interfaces.hasInterface = true;
    CZOVView& view = Open("t.qzs", "x = 1\n");
    view.InsertTypedText(QStringLiteral("y"));
    EXPECT_EQ(Title(), "*t.qzs");
    SetBreakpoint(1);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5);
    // The run saved the document first.
    EXPECT_EQ(Title(), "#t.qzs");
    EXPECT_EQ(zov::test::ReadFile(root_ / "t.qzs"), "yx = 1\n");
    ASSERT_TRUE(WaitFor(paused));
    EXPECT_EQ(Title(), "t.qzs");
    document_->SetModifiedFlag(true);
    Key(Qt::Key_F6);
    EXPECT_EQ(Title(), "*#t.qzs");
    view.StopScript();
    EXPECT_EQ(Title(), "*t.qzs");
    ASSERT_TRUE(WaitFor(ended));
}

}  // namespace
}  // namespace zov::scriptview::test

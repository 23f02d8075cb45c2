// Block commands, menu texts, call skeletons, macro creation, the view's actions and its context
// menus.

#include "tests/editor/gui/EditorViewTestSupport.h"

#include "ide/shell/core/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace zov::editor;
using zov::editor::test::ShownEditor;

class EditorBlockCommands : public ShownEditor {
protected:
    void Select(TextPosition from, TextPosition to)
    {
        view_->SetAnchor(from);
        view_->SetCursorPos(to);
        view_->SetSelection(from, to);
    }
    std::vector<QString> Lines() const
    {
        std::vector<QString> lines;
        for (int i = 0; i < buffer_->GetLineCount(); ++i) {
            lines.push_back(Line(i));
        }
        return lines;
    }
    std::vector<QString> L(std::initializer_list<const char*> texts) const
    {
        std::vector<QString> lines;
        for (const char* text : texts) {
            lines.push_back(QString::fromUtf8(text));
        }
        return lines;
    }
};

TEST_F(EditorBlockCommands, TabIndentsTheSelectedLinesAndSelectsThemWhole)
{
    Show("l0\nl1\nline2\nl3\nl4\nl5\nl6");
    // From the middle of line 3 to column 0 of line 6 (1-based): lines 3 to 5 are indented.
    Select({2, 2}, {0, 5});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Lines(), L({"l0", "l1", "\tline2", "\tl3", "\tl4", "l5", "l6"}));
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{0, 2}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{0, 5}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), L({"l0", "l1", "line2", "l3", "l4", "l5", "l6"}));
}

TEST_F(EditorBlockCommands, ShiftTabRemovesOneTabOrOneTabWidthOfBlanks)
{
    Show("\t\tx\n      y\n  z\nw");
    // Through the end of the last line: the selection runs to the end of the text.
    Select({1, 0}, {1, 3});
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Lines(), L({"\tx", "  y", "z", "w"}));
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{0, 0}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{1, 3}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), L({"\t\tx", "      y", "  z", "w"}));
}

TEST_F(EditorBlockCommands, TabAndShiftTabWithoutABlock)
{
    Show("abcdefgh\nxy");
    Select({1, 0}, {3, 0});  // within one line: the tab replaces the selection
    Key(Qt::Key_Tab);
    EXPECT_EQ(Line(0), QStringLiteral("a\tdefgh"));
    EXPECT_EQ(Caret(), (TextPosition{2, 0}));
    // Shift+Tab only moves back to the previous tab stop: "a\t" ends at column 4.
    view_->SetCursorPos({4, 0});
    view_->SetAnchor({4, 0});
    view_->SetSelection({4, 0}, {4, 0});
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Caret(), (TextPosition{2, 0}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Caret(), (TextPosition{0, 0}));
    EXPECT_EQ(Line(0), QStringLiteral("a\tdefgh"));
}

TEST_F(EditorBlockCommands, CommentAndUncommentActOnlyOnBlocks)
{
    Show("a\n#b\nc\nd");
    view_->SetCommentChar(u'#');
    Select({0, 0}, {1, 0});  // one line: nothing
    Key(Qt::Key_Slash, Qt::AltModifier);
    EXPECT_EQ(Lines(), L({"a", "#b", "c", "d"}));

    Select({0, 0}, {1, 2});
    Key(Qt::Key_Slash, Qt::AltModifier);
    EXPECT_EQ(Lines(), L({"#a", "##b", "#c", "d"}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{0, 3}));
    Key(Qt::Key_Colon, Qt::AltModifier);
    EXPECT_EQ(Lines(), L({"a", "#b", "c", "d"}));
    Key(Qt::Key_Colon, Qt::AltModifier);
    EXPECT_EQ(Lines(), L({"a", "b", "c", "d"}));  // lines without the mark stay
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lines(), L({"a", "#b", "c", "d"}));
}

TEST_F(EditorBlockCommands, CommentWithoutACommentCharacterWritesNothing)
{
    Show("a\nb\n");
    Select({0, 0}, {1, 1});
    view_->Comment();
    EXPECT_EQ(Lines(), L({"a", "b", ""}));
    EXPECT_FALSE(buffer_->CanUndo());
}

TEST_F(EditorBlockCommands, UndoAfterTwoWordsTakesBackTheSecondWordWithItsBlankFirst)
{
    Show("\n");
    Type(QStringLiteral("ab cd"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("ab"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QString());
}

class EditorMenuTexts : public EditorBlockCommands {};

TEST_F(EditorMenuTexts, UndoAndRedoNameTheirStepAndFallBackToThePlainText)
{
    Show("abc\n");
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Annuler\tCtrl+Z"));
    EXPECT_EQ(view_->RedoMenuText(), QStringLiteral("&Rétablir\tCtrl+Y"));
    Type(QStringLiteral("x"));
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Annuler Frappe\tCtrl+Z"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Annuler\tCtrl+Z"));
    EXPECT_EQ(view_->RedoMenuText(), QStringLiteral("&Rétablir Frappe\tCtrl+Y"));
    Key(Qt::Key_Y, Qt::ControlModifier);

    // A case change has a code without a name: no stale name is shown.
    Select({0, 0}, {4, 0});
    Key(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("XABC"));
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Annuler\tCtrl+Z"));

    Select({0, 0}, {1, 0});
    Key(Qt::Key_Delete);
    view_->SetTranslate(
        [](std::string_view text) { return text == "&Annuler %s" ? std::string("&Undo %s") : std::string(text); });
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Undo Supp\tCtrl+Z"));
    view_->UpdateCommandStates();
    EXPECT_EQ(view_->CommandAction(57643)->text(), view_->UndoMenuText());
}

TEST_F(EditorMenuTexts, StatusTextsForOverwriteAndReadOnly)
{
    Show("abc\n");
    view_->SetTranslate(
        [](std::string_view text) { return text == "Lecture" ? std::string("Read") : std::string(text); });
    EXPECT_EQ(view_->OverwriteStatusText(), QString());
    EXPECT_EQ(view_->ReadOnlyStatusText(), QString());
    Key(Qt::Key_Insert);
    EXPECT_EQ(view_->OverwriteStatusText(), QStringLiteral("OVR"));
    EXPECT_TRUE(view_->CommandAction(37005)->isChecked());
    buffer_->SetReadOnly(true);
    EXPECT_EQ(view_->ReadOnlyStatusText(), QStringLiteral("Read"));
}

TEST_F(EditorMenuTexts, AttachingABufferEndsOverwriteAndTurnsAutoIndentOn)
{
    Show("abc\n");
    Key(Qt::Key_Insert);
    view_->SetAutoIndent(false);
    CTextBuffer other;
    ASSERT_TRUE(other.LoadFromBytes("x\n"));
    view_->AttachToBuffer(&other);
    EXPECT_FALSE(view_->GetOverwriteMode());
    EXPECT_TRUE(view_->GetAutoIndent());
    EXPECT_EQ(view_->OverwriteStatusText(), QString());
    view_->AttachToBuffer(buffer_.get());
}

class EditorInterfaceCommands : public EditorBlockCommands {
protected:
    void Connect()
    {
        EditorServices services;
        services.functionAt = [](int index) -> std::optional<FunctionSkeleton> {
            static const std::pair<const char*, int> functions[] = {{"f", 0}, {"g", 1}, {"h", 4}, {"k", 2}};
            if (index >= static_cast<int>(std::size(functions))) {
                return std::nullopt;
            }
            return FunctionSkeleton{QString::fromUtf8(functions[index].first), functions[index].second};
        };
        services.isMacroName = [](const std::string& name) { return name == "INIT"; };
        services.isNameFree = [](const std::string& name) { return name != "MAXI" && name != "send"; };
        services.askMacroName = [this]() -> std::optional<std::string> {
            asked_++;
            return answer_;
        };
        services.applyMacroText = [this](const std::string& name, const std::string& body) {
            created_[name] = body;
            return true;
        };
        view_->SetServices(std::move(services));
        prompter_ = std::make_unique<zov::shell::RecordingPrompter>();
        view_->SetPrompter(prompter_.get());
        asked_ = 0;
    }

    std::optional<std::string> answer_;
    int asked_ = 0;
    std::map<std::string, std::string> created_;
    std::unique_ptr<zov::shell::RecordingPrompter> prompter_;
};

TEST_F(EditorInterfaceCommands, FunctionCallSkeletonsByParameterCount)
{
    const struct {
        int index;
        const char* line;
    } cases[] = {{0, "f()x"}, {1, "g(_)x"}, {2, "h(_, _, _, _)x"}, {3, "k(_, _)x"}, {4, "x"}};
    for (const auto& c : cases) {
        Show("x\n");
        Connect();
        view_->ExecuteCommand(CEditorView::kFunctionCommandFirst + c.index);
        EXPECT_EQ(Line(0), QString::fromUtf8(c.line)) << c.index;
        EXPECT_EQ(Caret().charIndex, Line(0).size() - 1) << c.index;
    }
}

TEST_F(EditorInterfaceCommands, FunctionCallReplacesTheSelectionInOneUndoStep)
{
    Show("a sel b\n");
    Connect();
    Select({2, 0}, {5, 0});
    EXPECT_TRUE(view_->InsertFunctionCall(1));
    EXPECT_EQ(Line(0), QStringLiteral("a g(_) b"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("a sel b"));
}

TEST_F(EditorInterfaceCommands, CtrlMMakesAMacroOfTheSelectionOrSaysWhyNot)
{
    const struct {
        std::optional<std::string> name;
        const char* message;  // nullptr: no message
        const char* line;
    } cases[] = {
        {std::nullopt, nullptr, "a send(1) b"},           {"INIT", "Cette macro existe déjà !", "a send(1) b"},
        {"MAXI", "Ce nom est invalide !", "a send(1) b"}, {"send", "Ce nom est invalide !", "a send(1) b"},
        {"", "Ce nom est invalide !", "a send(1) b"},     {"SEND1", nullptr, "a SEND1 b"},
    };
    for (const auto& c : cases) {
        Show("a send(1) b\n");
        Connect();
        answer_ = c.name;
        Select({2, 0}, {9, 0});
        Key(Qt::Key_M, Qt::ControlModifier);
        const std::string label = c.name.value_or("<cancel>");
        EXPECT_EQ(asked_, 1) << label;
        EXPECT_EQ(Line(0), QString::fromUtf8(c.line)) << label;
        if (c.message != nullptr) {
            EXPECT_EQ(prompter_->Texts(), std::vector<std::string>{c.message}) << label;
            EXPECT_TRUE(created_.empty()) << label;
        } else {
            EXPECT_TRUE(prompter_->Texts().empty()) << label;
        }
    }
    EXPECT_EQ(created_, (std::map<std::string, std::string>{{"SEND1", "send(1)"}}));
    // The name and the body it replaced are one undo step.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("a send(1) b"));
}

class EditorViewActions : public EditorBlockCommands {
protected:
    std::vector<QString> MenuNames(QMenu& menu)
    {
        std::vector<QString> names;
        for (QAction* action : menu.actions()) {
            names.push_back(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        }
        return names;
    }
};

TEST_F(EditorViewActions, EveryCommandIsAnActionNamedByItsId)
{
    Show("abc\n");
    for (const int id :
         {37001, 37003, 37004, 37005, 37006, 37007, 57635, 57637, 57641, 57643, 57644, 32833, 32832, 32834}) {
        auto* action = view_->findChild<QAction*>(QStringLiteral("cmd%1").arg(id));
        ASSERT_NE(action, nullptr) << id;
        EXPECT_EQ(action->data().toInt(), id);
    }
    // Triggering an action runs its command.
    view_->SetCommentChar(u';');
    Select({0, 0}, {0, 1});
    view_->CommandAction(37006)->trigger();
    EXPECT_EQ(Line(0), QStringLiteral(";abc"));
}

TEST_F(EditorViewActions, ContextMenusByDocumentKindWithTranslatedTexts)
{
    Show("abc\n");
    view_->SetTranslate(
        [](std::string_view text) { return text == "Créer..." ? std::string("Create...") : std::string(text); });
    const struct {
        int kind;
        const char* menu;
        std::vector<const char*> names;
    } cases[] = {
        {1,
         "menu158",
         {"cmd57643", "cmd57644", "-", "cmd57635", "cmd57634", "cmd57637", "-", "cmd37223", "cmd32844", "-", "cmd37006",
          "cmd37007", "-", "cmd32833", "cmd32815"}},
        {2,
         "menu176",
         {"cmd57643", "cmd57644", "-", "cmd57635", "cmd57634", "cmd57637", "-", "cmd37006", "cmd37007", "-", "cmd32833",
          "cmd32815"}},
        {3, "menu175", {"cmd57643", "cmd57644", "-", "cmd57635", "cmd57634", "cmd57637", "-", "cmd57642"}},
    };
    for (const auto& c : cases) {
        view_->SetDocumentKind(c.kind);
        QMenu menu;
        view_->FillContextMenu(menu);
        EXPECT_EQ(menu.objectName(), QString::fromUtf8(c.menu));
        std::vector<QString> expected;
        for (const char* name : c.names) {
            expected.push_back(QString::fromUtf8(name));
        }
        EXPECT_EQ(MenuNames(menu), expected) << c.kind;
    }
    EXPECT_EQ(view_->CommandAction(32833)->text(), QStringLiteral("Create...\tCtrl+M"));
    EXPECT_EQ(view_->CommandAction(37007)->text(), QStringLiteral("Dé commenter\tAlt+:"));
}

TEST_F(EditorViewActions, ContextMenuEnablingFollowsSelectionClipboardAndBuffer)
{
    Show("abc\n");
    QApplication::clipboard()->setText(QStringLiteral("p"));
    QMenu menu;
    view_->FillContextMenu(menu);
    auto enabled = [&](int id) { return view_->CommandAction(id)->isEnabled(); };
    EXPECT_FALSE(enabled(57635));
    EXPECT_FALSE(enabled(57634));
    EXPECT_FALSE(enabled(32833));
    EXPECT_TRUE(enabled(57637));
    EXPECT_FALSE(enabled(57643));
    Select({0, 0}, {2, 0});
    view_->UpdateCommandStates();
    EXPECT_TRUE(enabled(57635));
    EXPECT_TRUE(enabled(57634));
    EXPECT_TRUE(enabled(32833));
    buffer_->SetReadOnly(true);
    view_->UpdateCommandStates();
    EXPECT_FALSE(enabled(57635));
    EXPECT_TRUE(enabled(57634));
    EXPECT_FALSE(enabled(57637));
    EXPECT_FALSE(enabled(32833));
}

}  // namespace

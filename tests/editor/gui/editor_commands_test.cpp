#include "tests/editor/gui/DialogTestSupport.h"

#include "ide/editor/model/MacroFolding.h"
#include "ide/editor/model/TextSearch.h"
#include "ide/shell/ObjectNames.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

using namespace zov::editor;
using zov::editor::test::EditorWithSettings;
using zov::shell::FindControl;
using zov::shell::SettingId;

class EditorCommandsTest : public EditorWithSettings {
protected:
    // The next find dialog searches `what` with the given options.
    void QueueFind(const QString& what, bool matchCase = false, bool wholeWord = false, bool up = false)
    {
        prompter_.QueueDialog([=](QDialog& dialog) {
            FindControl<QLineEdit>(dialog, 8605)->setText(what);
            FindControl<QCheckBox>(dialog, 8604)->setChecked(matchCase);
            FindControl<QCheckBox>(dialog, 8603)->setChecked(wholeWord);
            if (up)
                FindControl<QRadioButton>(dialog, 8611)->setChecked(true);
            FindControl<QPushButton>(dialog, 1)->click();
        });
    }
    // Seen by the next dialog when it opens.
    QString shownText_;
    bool shownMatchCase_ = false;
    void QueueLook()
    {
        prompter_.QueueDialog([this](QDialog& dialog) {
            shownText_ = FindControl<QLineEdit>(dialog, 8605)->text();
            shownMatchCase_ = FindControl<QCheckBox>(dialog, 8604)->isChecked();
        });
    }
    TextPosition SelStart() const { return view_->GetSelectionStart(); }
};

TEST_F(EditorCommandsTest, CtrlFSelectsTheMatchAndStoresTheSearch)
{
    ShowWithCommands("Foo foo\nfoo\n");
    QueueFind(QStringLiteral("foo"), true, true);
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(prompter_.dialogs, std::vector<std::string>{"c8601"});
    EXPECT_EQ(SelStart(), (TextPosition{4, 0}));
    EXPECT_EQ(Caret(), (TextPosition{7, 0}));
    EXPECT_EQ(view_->Commands().LastSearchFlags(), unsigned(Find_MatchCase | Find_WholeWord));
    EXPECT_EQ(settings_->GetInt(SettingId::FindMatchCase), 1);
    EXPECT_EQ(settings_->GetInt(SettingId::FindWholeWord), 1);
    EXPECT_EQ(settings_->GetString(SettingId::FindWhat), "foo");
}

TEST_F(EditorCommandsTest, FindNextIsInactiveBeforeAnyFind)
{
    ShowWithCommands("abc\n");
    EXPECT_FALSE(view_->Commands().HasLastSearch());
    Key(Qt::Key_F3);
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(prompter_.messages.empty());
    EXPECT_TRUE(prompter_.dialogs.empty());
    EXPECT_EQ(Caret(), (TextPosition{0, 0}));
}

TEST_F(EditorCommandsTest, FindNextWrapsAndFindPreviousGoesBackOnceOnly)
{
    ShowWithCommands("ab ab\nab\n");
    QueueFind(QStringLiteral("ab"));
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(SelStart(), (TextPosition{0, 0}));
    Key(Qt::Key_F3);
    EXPECT_EQ(SelStart(), (TextPosition{3, 0}));
    Key(Qt::Key_F3);
    EXPECT_EQ(SelStart(), (TextPosition{0, 1}));
    Key(Qt::Key_F3);
    EXPECT_EQ(SelStart(), (TextPosition{0, 0}));  // wrapped
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(SelStart(), (TextPosition{0, 1}));  // upwards, wrapping to the bottom
    Key(Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(SelStart(), (TextPosition{3, 0}));
    EXPECT_EQ(view_->Commands().LastSearchFlags() & Find_Up, 0u);
    Key(Qt::Key_F3);
    EXPECT_EQ(SelStart(), (TextPosition{0, 1}));
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(EditorCommandsTest, FindNextWithoutAMatchTellsAndLeavesTheCaret)
{
    ShowWithCommands("abc\n");
    QueueFind(QStringLiteral("b"));
    Key(Qt::Key_F, Qt::ControlModifier);
    buffer_->DeleteText(nullptr, {1, 0}, {2, 0});
    view_->SetSelection({0, 0}, {0, 0});
    view_->SetCursorPos({1, 0});
    Key(Qt::Key_F3);
    EXPECT_EQ(prompter_.messages, std::vector<std::string>{"Ne trouve pas la chaine \"b\""});
    EXPECT_EQ(Caret(), (TextPosition{1, 0}));
    EXPECT_FALSE(view_->IsSelection());
}

TEST_F(EditorCommandsTest, TheFindDialogStartsFromTheLastSearchThenTheSettingsThenASelection)
{
    ShowWithCommands("one two\nthree\n");
    settings_->WriteString(SettingId::FindWhat, "stored");
    settings_->WriteInt(SettingId::FindMatchCase, 1);
    QueueLook();
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shownText_, QStringLiteral("stored"));
    EXPECT_TRUE(shownMatchCase_);

    // A selection on one line seeds the text; one over two lines does not.
    view_->SetSelection({4, 0}, {7, 0});
    QueueLook();
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shownText_, QStringLiteral("two"));
    view_->SetSelection({4, 0}, {2, 1});
    QueueLook();
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(shownText_, QStringLiteral("two"));  // the last search, kept although cancelled
}

TEST_F(EditorCommandsTest, ReplaceReadsAndWritesItsOwnSection)
{
    ShowWithCommands("a X aXa\n");
    settings_->WriteString(SettingId::ReplaceFindWhat, "X");
    settings_->WriteString(SettingId::ReplaceWith, "old");
    prompter_.QueueDialog([](QDialog& dialog) {
        EXPECT_EQ(FindControl<QLineEdit>(dialog, 8605)->text(), QStringLiteral("X"));
        FindControl<QLineEdit>(dialog, 8606)->setText(QStringLiteral("Y"));
        FindControl<QCheckBox>(dialog, 8603)->setChecked(true);
        FindControl<QPushButton>(dialog, 8608)->click();
        FindControl<QPushButton>(dialog, 2)->click();
    });
    Key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(prompter_.dialogs, std::vector<std::string>{"c8602"});
    EXPECT_EQ(Line(0), QStringLiteral("a Y aXa"));  // whole word only
    EXPECT_EQ(settings_->GetString(SettingId::ReplaceWith), "Y");
    EXPECT_EQ(settings_->GetString(SettingId::ReplaceFindWhat), "X");
    EXPECT_EQ(settings_->GetInt(SettingId::ReplaceWholeWord), 1);
    EXPECT_EQ(settings_->GetString(SettingId::FindWhat), "");  // the find section is not touched
}

// The dialog replaces over folded macro calls only; the unfolded calls come back after it.
TEST_F(EditorCommandsTest, ReplaceRunsWithEveryMacroFolded)
{
    ShowWithCommands("x\nInit\ny\n");
    EditorServices services;
    services.expandMacro = [](const std::string& name, int) { return name == "Init" ? "a = 1\r\nb = 2" : ""; };
    view_->SetServices(services);
    buffer_->SetMacroName(1, QStringLiteral("Init"));
    buffer_->SetFoldState(1, Fold_OneLevel);
    ASSERT_TRUE(ExpandMacroLine(*buffer_, 1, false, services.expandMacro));
    ASSERT_EQ(Line(2), QStringLiteral("b = 2"));
    std::vector<QString> seen;
    prompter_.QueueDialog([&](QDialog& dialog) {
        for (int line = 0; line < buffer_->GetLineCount(); ++line)
            seen.push_back(buffer_->GetLine(line));
        FindControl<QPushButton>(dialog, 2)->click();
    });
    Key(Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<QString>{"x", "Init", "y", ""}));
    EXPECT_EQ(Line(1), QStringLiteral("a = 1"));
    EXPECT_EQ(Line(2), QStringLiteral("b = 2"));
    EXPECT_EQ(Line(3), QStringLiteral("y"));
}

TEST_F(EditorCommandsTest, GoToLineClampsToTheText)
{
    ShowWithCommands("a\n  b\nc\nd");
    const struct {
        const char* typed;
        int line;
    } cases[] = {{"0", 0}, {"1", 0}, {"2", 1}, {"4", 3}, {"99", 3}, {"-5", 0}};
    for (const auto& c : cases) {
        view_->SetCursorPos({1, 2});
        prompter_.QueueDialog([&c](QDialog& dialog) {
            FindControl<QLineEdit>(dialog, 1000)->setText(QString::fromUtf8(c.typed));
            FindControl<QPushButton>(dialog, 1)->click();
        });
        Key(Qt::Key_G, Qt::ControlModifier);
        EXPECT_EQ(Caret(), (TextPosition{0, c.line})) << c.typed;
        EXPECT_FALSE(view_->IsSelection());
        EXPECT_NE(buffer_->GetLineFlags(c.line) & LineFlag_Marker, 0u) << c.typed;
    }
    // Cancelled: the caret stays.
    view_->SetCursorPos({1, 2});
    Key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (TextPosition{1, 2}));
}

}  // namespace

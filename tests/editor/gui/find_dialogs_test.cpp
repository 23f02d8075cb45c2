#include "tests/editor/gui/DialogTestSupport.h"

#include "ide/editor/FindDialogs.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/UiLanguage.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

using namespace zov::editor;
using zov::editor::test::DialogPrompter;
using zov::editor::test::ShownEditor;
using zov::shell::FindControl;

class FindDialogs : public ShownEditor {
protected:
    template <typename Control = QWidget>
    static Control* Control_(const QWidget& dialog, int id)
    {
        auto* control = FindControl<Control>(dialog, id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }
    static void Click(const QWidget& dialog, int id) { Control_<QPushButton>(dialog, id)->click(); }
    static void SetText(const QWidget& dialog, int id, const QString& text)
    {
        Control_<QLineEdit>(dialog, id)->setText(text);
    }
    TextPosition SelStart() const { return view_->GetSelectionStart(); }
    TextPosition SelEnd() const { return view_->GetSelectionEnd(); }

    DialogPrompter prompter_;
};

TEST_F(FindDialogs, EachDialogHasItsCaptionAndControls)
{
    Show("abc\n");
    FindDialog find(*view_, nullptr, prompter_);
    ReplaceDialog replace(*view_, nullptr, prompter_);
    GoToLineDialog goTo;
    struct Case {
        QWidget* dialog;
        const char* name;
        const char* caption;
        std::vector<int> controls;
    };
    const Case cases[] = {
        {&find, "c8601", "Rechercher", {8605, 8604, 8603, 8611, 1, 2}},
        {&replace, "c8602", "Remplacer", {8605, 8606, 8604, 8603, 8610, 8607, 8608, 2}},
        {&goTo, "c133", "Atteindre", {1000, 1, 2}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.dialog->objectName().toStdString(), c.name);
        EXPECT_EQ(c.dialog->windowTitle().toStdString(), c.caption);
        for (int id : c.controls)
            EXPECT_NE(FindControl(*c.dialog, id), nullptr) << c.name << " control " << id;
    }
    EXPECT_EQ(FindControl<QRadioButton>(find, 8611)->text(), QStringLiteral("&Haut"));
    EXPECT_EQ(FindControl<QPushButton>(replace, 8608)->text(), QStringLiteral("Remplacer Tout"));
}

TEST_F(FindDialogs, NextIsEnabledOnlyWithASearchText)
{
    Show("abc\n");
    FindDialog find(*view_, nullptr, prompter_);
    ReplaceDialog replace(*view_, nullptr, prompter_);
    replace.searchText = QStringLiteral("b");
    find.InitialiseOnce();
    replace.InitialiseOnce();
    EXPECT_FALSE(Control_<QPushButton>(find, 1)->isEnabled());
    EXPECT_TRUE(Control_<QPushButton>(replace, 8610)->isEnabled());
    SetText(find, 8605, QStringLiteral("a"));
    SetText(replace, 8605, QString());
    EXPECT_TRUE(Control_<QPushButton>(find, 1)->isEnabled());
    EXPECT_FALSE(Control_<QPushButton>(replace, 8610)->isEnabled());
}

TEST_F(FindDialogs, FindSelectsTheMatchByItsRulesAndCloses)
{
    struct Case {
        const char* text;
        const char* what;
        bool matchCase;
        bool wholeWord;
        int direction;
        TextPosition start;
        TextPosition expected;
    };
    const Case cases[] = {
        {"ab_c ab\n", "ab", false, true, 1, {0, 0}, {5, 0}},  {"x\nabc\n", "ABC", false, false, 1, {0, 0}, {0, 1}},
        {"abc ABC\n", "ABC", true, false, 1, {0, 0}, {4, 0}}, {"ab ab ab\n", "ab", false, false, 0, {5, 0}, {3, 0}},
        {"ab\nab\n", "ab", false, false, 1, {1, 1}, {0, 0}},  // wraps to the top
    };
    for (const Case& c : cases) {
        Show(c.text);
        FindDialog dialog(*view_, nullptr, prompter_);
        dialog.searchText = QString::fromUtf8(c.what);
        dialog.matchCase = c.matchCase;
        dialog.wholeWord = c.wholeWord;
        dialog.direction = c.direction;
        dialog.searchStart = c.start;
        prompter_.QueueDialog([](QDialog& shown) { FindControl<QPushButton>(shown, 1)->click(); });
        EXPECT_EQ(prompter_.Exec(dialog), QDialog::Accepted) << c.text;
        EXPECT_EQ(SelStart(), c.expected) << c.text;
        EXPECT_EQ(SelEnd(), (TextPosition{c.expected.charIndex + int(dialog.searchText.size()), c.expected.line}));
        EXPECT_EQ(Caret(), SelEnd());
    }
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(FindDialogs, AnAbsentTextIsToldOnceAndTheSearchStartsOverFromTheTop)
{
    Show("abc\ndef\n");
    view_->SetCursorPos({1, 1});
    FindDialog dialog(*view_, nullptr, prompter_);
    dialog.searchStart = {1, 1};
    dialog.InitialiseOnce();
    SetText(dialog, 8605, QStringLiteral("zz"));
    Click(dialog, 1);
    EXPECT_EQ(prompter_.messages, std::vector<std::string>{"Ne trouve pas la chaine \"zz\""});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.searchStart, (TextPosition{0, 0}));
    EXPECT_FALSE(view_->IsSelection());

    // Still open: the next try searches from the top.
    SetText(dialog, 8605, QStringLiteral("abc"));
    Click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(SelStart(), (TextPosition{0, 0}));
    EXPECT_EQ(prompter_.messages.size(), 1u);
}

TEST_F(FindDialogs, ReplaceNextTwiceMovesFromTheFirstMatchToTheSecond)
{
    Show("a-x b-x\n");
    ReplaceDialog dialog(*view_, nullptr, prompter_);
    dialog.InitialiseOnce();
    SetText(dialog, 8605, QStringLiteral("-x"));
    Click(dialog, 8610);
    EXPECT_EQ(SelStart(), (TextPosition{1, 0}));
    Click(dialog, 8610);
    EXPECT_EQ(SelStart(), (TextPosition{5, 0}));
    EXPECT_EQ(SelEnd(), (TextPosition{7, 0}));
    EXPECT_EQ(Line(0), QStringLiteral("a-x b-x"));
    EXPECT_TRUE(dialog.found);
}

TEST_F(FindDialogs, ReplaceOnlySearchesFirstThenReplacesAndMovesOn)
{
    Show("one two one\n");
    ReplaceDialog dialog(*view_, nullptr, prompter_);
    dialog.InitialiseOnce();
    SetText(dialog, 8605, QStringLiteral("one"));
    SetText(dialog, 8606, QStringLiteral("1"));
    Click(dialog, 8607);
    EXPECT_EQ(Line(0), QStringLiteral("one two one"));
    EXPECT_EQ(SelStart(), (TextPosition{0, 0}));
    Click(dialog, 8607);
    EXPECT_EQ(Line(0), QStringLiteral("1 two one"));
    EXPECT_EQ(SelStart(), (TextPosition{6, 0}));
    Click(dialog, 8607);
    EXPECT_EQ(Line(0), QStringLiteral("1 two 1"));
    // Nothing left: told once, and the next search starts from the top.
    EXPECT_EQ(prompter_.messages, std::vector<std::string>{"Ne trouve pas la chaine \"one\""});
    EXPECT_FALSE(dialog.found);
    EXPECT_EQ(buffer_->GetUndoRecords().back().action, UndoAction_Replace);
}

TEST_F(FindDialogs, ReplaceAllOfThreeMatchesLeavesTheLastReplacementSelectedAndUndoesAtOnce)
{
    Show("x = foo;\nfoo(foo);\n");
    ReplaceDialog dialog(*view_, nullptr, prompter_);
    dialog.InitialiseOnce();
    SetText(dialog, 8605, QStringLiteral("foo"));
    SetText(dialog, 8606, QStringLiteral("bar2"));
    Click(dialog, 8608);
    EXPECT_EQ(Line(0), QStringLiteral("x = bar2;"));
    EXPECT_EQ(Line(1), QStringLiteral("bar2(bar2);"));
    EXPECT_EQ(SelStart(), (TextPosition{5, 1}));
    EXPECT_EQ(SelEnd(), (TextPosition{9, 1}));
    EXPECT_TRUE(prompter_.messages.empty());

    view_->Undo();
    EXPECT_EQ(Line(0), QStringLiteral("x = foo;"));
    EXPECT_EQ(Line(1), QStringLiteral("foo(foo);"));
    EXPECT_FALSE(buffer_->CanUndo());
}

TEST_F(FindDialogs, ReplaceAllWithTheSearchedTextInsideTheReplacementEnds)
{
    struct Case {
        const char* text;
        TextPosition start;
        const char* what;
        const char* with;
        std::vector<const char*> expected;
    };
    const Case cases[] = {
        {"a a\na\n", {0, 0}, "a", "aa", {"aa aa", "aa"}},
        // Started late in the text: after the wrap every earlier match is still replaced,
        // although each one pushes the first replacement further right.
        {"a a a a\n", {6, 0}, "a", "aa", {"aa aa aa aa"}},
        {"xa a\na\n", {0, 1}, "a", "aa", {"xaa aa", "aa"}},
        {"ab ab\n", {0, 0}, "ab", "abab", {"abab abab"}},
        {"aaa\n", {0, 0}, "aa", "a", {"aa"}},
    };
    for (const Case& c : cases) {
        Show(c.text);
        ReplaceDialog dialog(*view_, nullptr, prompter_);
        dialog.searchStart = c.start;
        dialog.InitialiseOnce();
        SetText(dialog, 8605, QString::fromUtf8(c.what));
        SetText(dialog, 8606, QString::fromUtf8(c.with));
        Click(dialog, 8608);
        for (size_t line = 0; line < c.expected.size(); ++line)
            EXPECT_EQ(Line(int(line)).toStdString(), c.expected[line]) << c.text;
    }
}

TEST_F(FindDialogs, ReplaceAllOnAnAbsentTextTellsAndChangesNothing)
{
    Show("abc\n");
    ReplaceDialog dialog(*view_, nullptr, prompter_);
    dialog.InitialiseOnce();
    SetText(dialog, 8605, QStringLiteral("zz"));
    SetText(dialog, 8606, QStringLiteral("y"));
    Click(dialog, 8608);
    EXPECT_EQ(Line(0), QStringLiteral("abc"));
    EXPECT_EQ(prompter_.messages.size(), 1u);
    EXPECT_FALSE(buffer_->CanUndo());
}

TEST_F(FindDialogs, CloseKeepsTheFieldsForTheCaller)
{
    Show("abc\n");
    ReplaceDialog dialog(*view_, nullptr, prompter_);
    prompter_.QueueDialog([](QDialog& shown) {
        FindControl<QLineEdit>(shown, 8605)->setText(QStringLiteral("b"));
        FindControl<QLineEdit>(shown, 8606)->setText(QStringLiteral("c"));
        FindControl<QCheckBox>(shown, 8604)->setChecked(true);
        FindControl<QPushButton>(shown, 2)->click();
    });
    EXPECT_EQ(prompter_.Exec(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.searchText, QStringLiteral("b"));
    EXPECT_EQ(dialog.replaceText, QStringLiteral("c"));
    EXPECT_TRUE(dialog.matchCase);
}

TEST_F(FindDialogs, GoToLineTakesOnlyANumber)
{
    GoToLineDialog dialog;
    dialog.lineNumber = 0;
    dialog.InitialiseOnce();
    EXPECT_EQ(FindControl<QLineEdit>(dialog, 1000)->text(), QStringLiteral("0"));
    dialog.setResult(-1);
    FindControl<QLineEdit>(dialog, 1000)->setText(QStringLiteral("x"));
    Click(dialog, 1);
    EXPECT_EQ(dialog.result(), -1);
    FindControl<QLineEdit>(dialog, 1000)->setText(QStringLiteral(" 12 "));
    Click(dialog, 1);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.lineNumber, 12);
}

}  // namespace

namespace {

using ScrollRanges = zov::editor::test::ShownEditor;

TEST_F(ScrollRanges, SuspendedEditsRecountTheWidthOnceAtTheLastResume)
{
    Show("x\nshort\n");
    QScrollBar* horizontal = view_->horizontalScrollBar();
    ASSERT_EQ(horizontal->maximum(), 0);
    view_->SuspendScrollRangeUpdates(true);
    view_->SuspendScrollRangeUpdates(true);
    buffer_->InsertText(nullptr, {0, 1}, QString(400, QLatin1Char('w')), nullptr);
    EXPECT_EQ(horizontal->maximum(), 0);
    view_->SuspendScrollRangeUpdates(false);
    EXPECT_EQ(horizontal->maximum(), 0);
    view_->SuspendScrollRangeUpdates(false);
    EXPECT_EQ(horizontal->maximum(), 405 + 1 - view_->GetScreenChars());
}

}  // namespace

namespace {

class TranslatedDialogs : public FindDialogs {};

TEST_F(TranslatedDialogs, CaptionsLabelsAndTheMessageFollowTheInstalledLanguage)
{
    Show("abc\n");
    zov::shell::InstallUiLanguage([](std::string_view text) -> std::string {
        if (text == "Ne trouve pas la chaine \"%s\"")
            return "Cannot find \"%s\"";
        if (text == "Remplacer Tout")
            return "Replace All";
        if (text == "Atteindre")
            return "Go To";
        return std::string(text);
    });
    EXPECT_EQ(NotFoundMessage(QStringLiteral("x y")).toStdString(), "Cannot find \"x y\"");
    ReplaceDialog replace(*view_, nullptr, prompter_);
    replace.searchText = QStringLiteral("Remplacer Tout");  // data stays as it is
    replace.InitialiseOnce();
    GoToLineDialog goTo;
    goTo.InitialiseOnce();
    zov::shell::InstallUiLanguage({});
    EXPECT_EQ(FindControl<QPushButton>(replace, 8608)->text(), QStringLiteral("Replace All"));
    EXPECT_EQ(FindControl<QLineEdit>(replace, 8605)->text(), QStringLiteral("Remplacer Tout"));
    EXPECT_EQ(goTo.windowTitle(), QStringLiteral("Go To"));
}

}  // namespace

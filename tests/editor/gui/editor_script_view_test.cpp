// The editor as the frame's script view: a script opened in the main window is edited in place,
// coloured in its language, saved byte for byte, and the status panes follow its caret.

#include "ide/editor/EditorScriptView.h"

#include "common/AtomicFile.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/FramePreferencesHost.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace zov::editor {
namespace {

namespace fs = std::filesystem;
using namespace shell::command_ids;

// Nothing here should ask: any prompt escapes and is counted.
class EscapingPrompter final : public shell::test::RecordedShellPrompter {
public:
    int Exec(QDialog&) override { return 0; }
    shell::RecordingPrompter record;
};

class EditorScriptViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = fs::temp_directory_path() / ("zov_editor_script_view_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "work");
        ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "zov.stx", "[qzs]\n#type=script\n#comment=;\nwait\nend\n"));
        ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "ZOV.ini", "[Preferences]\nShowLineNumber=1\nFontSize=14\n"));
        auto prompter = std::make_unique<EscapingPrompter>();
        prompter_ = prompter.get();
        shell::InstallPrompter(std::move(prompter));
        application_ = std::make_unique<shell::ApplicationCore>(
            shell::ApplicationCore::Places{root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"});
        shell::FrameParts parts;
        parts.makeInterfaces = [this](shell::MainFrame&) {
            return std::make_unique<shell::FrameInterfaceSet>(*application_);
        };
        parts.makeView = EditorScriptView::Make;
        frame_ = std::make_unique<shell::MainFrame>(*application_, std::move(parts));
        frame_->resize(900, 600);
        frame_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        frame_->activateWindow();
    }
    void TearDown() override
    {
        EXPECT_TRUE(prompter_->record.Texts().empty());
        frame_.reset();
        application_.reset();
        shell::InstallPrompter(std::make_unique<EscapingPrompter>());
        fs::remove_all(root_);
    }
    QString Pane(int id) const { return frame_->StatusPane(id)->text(); }
    CEditorView& Editor(shell::ScriptDocument& document)
    {
        auto* view = qobject_cast<CEditorView*>(&document.View()->Widget());
        EXPECT_NE(view, nullptr);
        return *view;
    }

    fs::path root_;
    EscapingPrompter* prompter_ = nullptr;
    std::unique_ptr<shell::ApplicationCore> application_;
    std::unique_ptr<shell::MainFrame> frame_;
};

TEST_F(EditorScriptViewTest, TypingSavingAndTheStatusPanes)
{
    const fs::path path = root_ / "work" / "start.qzs";
    ASSERT_TRUE(WriteFileAtomically(path, "wait 1\r\nend\r\n"));
    shell::ScriptDocument* document = frame_->OpenDocument(path.string());
    ASSERT_NE(document, nullptr);
    CEditorView& editor = Editor(*document);
    // Coloured in the script language, with the settings' margin.
    ASSERT_NE(editor.Colouring().Colourer().Markers().language, nullptr);
    EXPECT_EQ(editor.Colouring().Colourer().Markers().language->name, "qzs");
    EXPECT_TRUE(editor.GetDisplayLineNumbers());
    EXPECT_EQ(editor.GetTextBuffer(), &document->Buffer());
    EXPECT_EQ(Pane(shell::pane_ids::kLineColumn), "Ln 1, Col 1");
    EXPECT_EQ(Pane(shell::pane_ids::kLineEnds), "DOS");
    EXPECT_EQ(Pane(shell::pane_ids::kOverwrite), "");

    editor.setFocus();
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClicks(&editor, QStringLiteral("x"));
    EXPECT_EQ(document->Title(), "*start.qzs");
    EXPECT_EQ(Pane(shell::pane_ids::kLineColumn), "Ln 2, Col 2");
    QTest::keyClick(&editor, Qt::Key_Insert);
    EXPECT_EQ(Pane(shell::pane_ids::kOverwrite), "OVR");
    QTest::keyClicks(&editor, QStringLiteral("y"));

    frame_->Command(kFileSave)->trigger();
    EXPECT_EQ(document->Title(), "start.qzs");
    EXPECT_EQ(ReadWholeFile(path).value_or("?"), "wait 1\r\nxynd\r\n");
}

TEST_F(EditorScriptViewTest, CaretKeysReachTheViewButNotTheOtherFields)
{
    const fs::path path = root_ / "work" / "keys.qzs";
    ASSERT_TRUE(WriteFileAtomically(path, "  wait 1\nend\n"));
    shell::ScriptDocument* document = frame_->OpenDocument(path.string());
    ASSERT_NE(document, nullptr);
    CEditorView& editor = Editor(*document);
    editor.setFocus();
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* pane;
        bool selection;
    };
    const Step steps[] = {
        {Qt::Key_End, Qt::NoModifier, "Ln 1, Col 9", false},
        {Qt::Key_Home, Qt::NoModifier, "Ln 1, Col 3", false},
        {Qt::Key_Home, Qt::ShiftModifier, "Ln 1, Col 1", true},
        {Qt::Key_End, Qt::ControlModifier, "Ln 3, Col 1", false},
        {Qt::Key_Up, Qt::ShiftModifier, "Ln 2, Col 1", true},
        {Qt::Key_Home, Qt::ControlModifier, "Ln 1, Col 1", false},
    };
    for (const Step& step : steps) {
        QTest::keyClick(&editor, step.key, step.modifiers);
        EXPECT_EQ(Pane(shell::pane_ids::kLineColumn), step.pane) << step.key;
        EXPECT_EQ(document->View()->HasSelection(), step.selection) << step.key;
        EXPECT_EQ(frame_->Command(kEditCopy)->isEnabled(), step.selection) << step.key;
    }
    // The commands themselves, as the menus would run them.
    frame_->Command(37119)->trigger();
    EXPECT_EQ(Pane(shell::pane_ids::kLineColumn), "Ln 1, Col 9");
    EXPECT_TRUE(document->View()->HasSelection());

    // A field elsewhere in the window keeps its Home and End.
    auto* field = new QLineEdit(QStringLiteral("abc"));
    frame_->Explorer().Widget().setLayout(nullptr);
    field->setParent(&frame_->Explorer().Widget());
    field->show();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Home);
    EXPECT_EQ(field->cursorPosition(), 0);
    QTest::keyClick(field, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(field->selectedText(), "abc");
    EXPECT_EQ(Pane(shell::pane_ids::kLineColumn), "Ln 1, Col 9");
}

TEST_F(EditorScriptViewTest, NewDocumentsAreScriptsAndHelpTakesTheWordAtTheCaret)
{
    shell::ScriptDocument* document = frame_->NewDocument();
    ASSERT_NE(document, nullptr);
    CEditorView& editor = Editor(*document);
    ASSERT_NE(editor.Colouring().Colourer().Markers().language, nullptr);
    editor.setFocus();
    QTest::keyClicks(&editor, QStringLiteral("wait_for 3"));
    QTest::keyClick(&editor, Qt::Key_Home);
    QTest::keyClick(&editor, Qt::Key_Right);
    EXPECT_EQ(document->View()->WordAtCaret(), "wait_for");
    EXPECT_TRUE(document->View()->HasSelection());
    // A text file has no definitions coloured in it.
    const fs::path notes = root_ / "work" / "notes.txt";
    ASSERT_TRUE(WriteFileAtomically(notes, "wait\n"));
    shell::ScriptDocument* text = frame_->OpenDocument(notes.string());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Editor(*text).Colouring().Colourer().Names(), nullptr);
    EXPECT_EQ(Editor(*text).Colouring().Colourer().Markers().language, nullptr);
}

TEST_F(EditorScriptViewTest, PreferencesReachTheOpenViews)
{
    CEditorView& editor = Editor(*frame_->NewDocument());
    EXPECT_TRUE(editor.GetDisplayLineNumbers());
    shell::FramePreferencesHost host(*frame_);
    shell::FramePreferences values = host.FrameValues();
    values.showLineNumber = false;
    host.StoreFrameValues(values);
    EXPECT_FALSE(editor.GetDisplayLineNumbers());
    // A colour the preferences wrote is taken by every view when they are refreshed.
    ASSERT_TRUE(application_->GetSettings().WriteInt(shell::EditColourSetting(0), 0x0000FF));
    host.RefreshScriptViews();
    EXPECT_EQ(editor.GetColor(6), QColor(255, 0, 0));
    // A view opened later follows the session, not the file.
    EXPECT_FALSE(Editor(*frame_->NewDocument()).GetDisplayLineNumbers());
}

}  // namespace
}  // namespace zov::editor

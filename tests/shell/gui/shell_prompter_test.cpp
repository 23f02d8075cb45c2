#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/UiLanguage.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;
using namespace zov::shell;

Translate English()
{
    static const std::map<std::string, std::string, std::less<>> table = {
        {"OK", "Okay"}, {"Oui", "Yes"}, {"Non", "No"}, {"Annuler", "Cancel"}, {"Options", "Settings"}};
    return [](std::string_view text) {
        const auto found = table.find(text);
        return found == table.end() ? std::string(text) : found->second;
    };
}

// A dialog whose OK handling writes what a real one would (as the tips dialog writes its
// start-up flag), and that may refuse to close.
class OptionsDialog : public ThemedDialogBase {
public:
    OptionsDialog()
    {
        setWindowTitle("Options");
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel("Nom", this));
    }
    void accept() override
    {
        ++accepts;
        if (refuse)
            return;
        saved = initialised;
        ThemedDialogBase::accept();
    }
    void reject() override
    {
        ++rejects;
        ThemedDialogBase::reject();
    }

    bool refuse = false;
    bool initialised = false;
    bool saved = false;
    int accepts = 0;
    int rejects = 0;
    int shows = 0;

protected:
    void OnInitDialog() override { initialised = true; }
    void showEvent(QShowEvent* event) override
    {
        ++shows;
        ThemedDialogBase::showEvent(event);
    }
};

class ShellPrompterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        folder_ = fs::temp_directory_path() / ("zov_shellprompter_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        errors_ = std::tmpfile();
    }
    void TearDown() override
    {
        InstallUiLanguage(Translate());
        std::fclose(errors_);
        fs::remove_all(folder_);
    }

    ScriptedShellPrompter Scripted(const std::string& answers)
    {
        std::ofstream(folder_ / "answers.txt", std::ios::binary) << answers;
        return ScriptedShellPrompter(folder_ / "answers.txt", PromptLog(folder_ / "log.txt"), errors_);
    }

    std::string Log() const
    {
        std::ifstream in(folder_ / "log.txt", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path folder_;
    std::FILE* errors_ = nullptr;
};

TEST_F(ShellPrompterTest, AScriptedDialogIsInitialisedAndEndedThroughItsOwnOkWithoutBeingShown)
{
    InstallUiLanguage(English());
    ScriptedShellPrompter prompter = Scripted("ok\n");
    OptionsDialog dialog;
    EXPECT_EQ(prompter.Exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_TRUE(dialog.saved);
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_EQ(dialog.shows, 0);
    EXPECT_EQ(Log(), "dialog\tSettings\n");
}

TEST_F(ShellPrompterTest, AScriptedCancelRunsTheDialogsCancelHandling)
{
    ScriptedShellPrompter prompter = Scripted("cancel\n");
    OptionsDialog dialog;
    EXPECT_EQ(prompter.Exec(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.accepts, 0);
    EXPECT_EQ(dialog.rejects, 1);
    EXPECT_FALSE(dialog.saved);
    EXPECT_EQ(Log(), "dialog\tOptions\n");
}

TEST_F(ShellPrompterTest, ADialogThatRefusesItsOkIsCancelledAndSaidSo)
{
    ScriptedShellPrompter prompter = Scripted("ok\n");
    OptionsDialog dialog;
    dialog.refuse = true;
    EXPECT_EQ(prompter.Exec(dialog), QDialog::Rejected);
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_EQ(dialog.rejects, 1);
    std::rewind(errors_);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, errors_), nullptr);
    EXPECT_EQ(std::string(line).rfind("dialog\tOptions\tr\xC3\xA9ponse impossible, ligne 1 de ", 0), 0u) << line;
}

TEST_F(ShellPrompterTest, MessageBoxesAreTitledZovWithTranslatedButtons)
{
    InstallUiLanguage(English());
    struct Case {
        PromptButtons buttons;
        QStringList texts;
        QString click;
        PromptAnswer answer;
    };
    const Case cases[] = {
        {PromptButtons::Ok, {"Okay"}, "Okay", PromptAnswer::Ok},
        {PromptButtons::OkCancel, {"Okay", "Cancel"}, "Cancel", PromptAnswer::Cancel},
        {PromptButtons::YesNo, {"Yes", "No"}, "No", PromptAnswer::No},
        {PromptButtons::YesNoCancel, {"Yes", "No", "Cancel"}, "Yes", PromptAnswer::Yes},
    };
    for (const Case& c : cases) {
        WindowPrompter prompter(nullptr, PromptLog(folder_ / "log.txt"));
        QString title;
        QStringList texts;
        QString text;
        auto answered = zov::testing::AnswerNextModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton* button : box->buttons())
                texts << button->text();
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == c.click)
                    button->click();
            }
        });
        EXPECT_EQ(prompter.Ask("Fin de l'ex\xC3\xA9"
                               "cution",
                               PromptIcon::Question, c.buttons),
                  c.answer);
        EXPECT_TRUE(*answered);
        EXPECT_EQ(title, "ZOV");
        EXPECT_EQ(text, QString::fromUtf8("Fin de l'ex\xC3\xA9"
                                          "cution"));
        texts.sort();
        QStringList expected = c.texts;
        expected.sort();
        EXPECT_EQ(texts, expected);
    }
    EXPECT_EQ(Log(),
              "message\tFin de l'ex\xC3\xA9"
              "cution\n"
              "question\tFin de l'ex\xC3\xA9"
              "cution\n"
              "question\tFin de l'ex\xC3\xA9"
              "cution\n"
              "question\tFin de l'ex\xC3\xA9"
              "cution\n");
}

TEST_F(ShellPrompterTest, WithoutALanguageTheButtonsAreFrenchAndEscapeAnswersAsABatchRun)
{
    WindowPrompter prompter(nullptr, PromptLog());
    QStringList texts;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* modal) {
        for (QAbstractButton* button : qobject_cast<QMessageBox*>(modal)->buttons())
            texts << button->text();
        modal->close();
    });
    EXPECT_EQ(prompter.Ask("Enregistrer ?", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    EXPECT_TRUE(*answered);
    texts.sort();
    EXPECT_EQ(texts, QStringList({"Annuler", "Non", "Oui"}));
}

TEST_F(ShellPrompterTest, TheWindowPrompterInitialisesADialogBeforeShowingIt)
{
    WindowPrompter prompter(nullptr, PromptLog(folder_ / "log.txt"));
    OptionsDialog dialog;
    bool initialisedWhenShown = false;
    auto answered = zov::testing::AnswerNextModal([&](QWidget*) {
        initialisedWhenShown = dialog.initialised;
        dialog.accept();
    });
    EXPECT_EQ(prompter.Exec(dialog), QDialog::Accepted);
    EXPECT_TRUE(*answered);
    EXPECT_TRUE(initialisedWhenShown);
    EXPECT_TRUE(dialog.saved);
    EXPECT_EQ(Log(), "dialog\tOptions\n");
}

TEST_F(ShellPrompterTest, TheEnvironmentChoosesThePrompter)
{
    ::unsetenv(kPrompterScriptVariable);
    EXPECT_NE(dynamic_cast<WindowPrompter*>(MakePrompterFromEnvironment(false).get()), nullptr);
    EXPECT_NE(dynamic_cast<ScriptedShellPrompter*>(MakePrompterFromEnvironment(true).get()), nullptr);
    const std::string script = (folder_ / "answers.txt").string();
    std::ofstream(script) << "no\n";
    ::setenv(kPrompterScriptVariable, script.c_str(), 1);
    const std::unique_ptr<ShellPrompter> prompter = MakePrompterFromEnvironment(false);
    ::unsetenv(kPrompterScriptVariable);
    ASSERT_NE(dynamic_cast<ScriptedShellPrompter*>(prompter.get()), nullptr);
    EXPECT_EQ(prompter->Ask("Q", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
}

TEST_F(ShellPrompterTest, TheActivePrompterCanBeReplaced)
{
    EXPECT_NE(dynamic_cast<WindowPrompter*>(&ActivePrompter()), nullptr);
    InstallPrompter(std::make_unique<ScriptedShellPrompter>(fs::path(), PromptLog(), nullptr));
    EXPECT_EQ(ActivePrompter().Ask("Q", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    InstallPrompter(nullptr);
    EXPECT_NE(dynamic_cast<WindowPrompter*>(&ActivePrompter()), nullptr);
}

}  // namespace

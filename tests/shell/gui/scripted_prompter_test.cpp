#include "ide/shell/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace zov::shell;

std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& file, const std::string& text, bool append = false)
{
    std::ofstream out(file, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << text;
}

class ScriptedPrompterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("zov_scripted_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "projets");
        WriteAll(folder_ / "projets" / "a.qzp", "x");
        script_ = folder_ / "answers.txt";
        log_ = folder_ / "prompts.log";
        errors_.reset(std::tmpfile());
    }
    void TearDown() override { fs::remove_all(folder_); }

    ScriptedPrompter Make(const std::string& answers)
    {
        WriteAll(script_, answers);
        return ScriptedPrompter(script_, PromptLog(log_), errors_.get());
    }

    std::string Errors()
    {
        std::fflush(errors_.get());
        std::rewind(errors_.get());
        std::string text;
        int c;
        while ((c = std::fgetc(errors_.get())) != EOF)
            text += static_cast<char>(c);
        return text;
    }

    fs::path folder_;
    fs::path script_;
    fs::path log_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> errors_{nullptr, &std::fclose};
};

TEST_F(ScriptedPrompterTest, BoxesTakeTheirLinesInOrderSkippingBlanksAndComments)
{
    ScriptedPrompter prompter = Make(
        "# Projet\n"
        "\n"
        "yes\r\n"
        "ok\n"      // a Yes/No box takes OK as Yes
        "cancel\n"  // a Yes/No box takes Cancel as No
        "no\n"      // an OK/Cancel box takes No as Cancel
        "  ok\n");
    EXPECT_EQ(prompter.Ask("Enregistrer ?", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Yes);
    EXPECT_EQ(prompter.Ask("Q2", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompter.Ask("Q3", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompter.Ask("Q4", PromptIcon::Question, PromptButtons::OkCancel), PromptAnswer::Cancel);
    EXPECT_EQ(prompter.Ask("Fin", PromptIcon::Information, PromptButtons::Ok), PromptAnswer::Ok);
    EXPECT_EQ(Errors(), "");
}

TEST_F(ScriptedPrompterTest, TheFileIsReadAfreshAtEachPrompt)
{
    ScriptedPrompter prompter = Make("no\n");
    EXPECT_EQ(prompter.Ask("Q1", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
    WriteAll(script_, "yes\n", true);
    EXPECT_EQ(prompter.Ask("Q2", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::Yes);
    // The lines taken stay taken even when the file is rewritten from its start.
    WriteAll(script_, "no\nno\ncancel\n");
    EXPECT_EQ(prompter.Ask("Q3", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Cancel);
}

TEST_F(ScriptedPrompterTest, WithoutAnAnswerThePromptIsEscapedAndSaidOnce)
{
    ScriptedPrompter prompter = Make("ok\n");
    EXPECT_EQ(prompter.Ask("Un", PromptIcon::None, PromptButtons::Ok), PromptAnswer::Ok);
    EXPECT_EQ(prompter.Ask("Deux\nlignes", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    EXPECT_EQ(prompter.Ask("Trois", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompter.Ask("Quatre", PromptIcon::Warning, PromptButtons::Ok), PromptAnswer::Ok);
    EXPECT_FALSE(prompter.OpenFile({"Ouvrir", "", ""}));
    const std::string file = script_.string();
    EXPECT_EQ(Errors(), "question\tDeux\\nlignes\tpas de r\xC3\xA9ponse dans " + file +
                            "\n"
                            "question\tTrois\tpas de r\xC3\xA9ponse dans " +
                            file +
                            "\n"
                            "message\tQuatre\tpas de r\xC3\xA9ponse dans " +
                            file +
                            "\n"
                            "open\tOuvrir\tpas de r\xC3\xA9ponse dans " +
                            file + "\n");
}

TEST_F(ScriptedPrompterTest, ImpossibleAnswersAreEscapedWithTheirLine)
{
    ScriptedPrompter prompter = Make(
        "peut-\xC3\xAAtre\n"  // no such button
        "cancel\n"            // an OK box has neither Cancel nor No
        "ok\n"
        "ok rouge\n");
    EXPECT_EQ(prompter.Ask("Q", PromptIcon::Question, PromptButtons::YesNoCancel), PromptAnswer::Cancel);
    EXPECT_EQ(prompter.Ask("M", PromptIcon::Information, PromptButtons::Ok), PromptAnswer::Ok);
    // The next prompt takes the next line: a wrong line is used up.
    EXPECT_EQ(prompter.Ask("Q2", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 0x123456), std::nullopt);
    const std::string file = script_.string();
    EXPECT_EQ(Errors(), "question\tQ\tr\xC3\xA9ponse impossible, ligne 1 de " + file +
                            "\n"
                            "message\tM\tr\xC3\xA9ponse impossible, ligne 2 de " +
                            file +
                            "\n"
                            "colour\tCouleur\tr\xC3\xA9ponse impossible, ligne 4 de " +
                            file + "\n");
}

TEST_F(ScriptedPrompterTest, FilesFoldersAndColoursAreGivenAsTheDialogsWould)
{
    fs::current_path(folder_);
    ScriptedPrompter prompter = Make(
        "ok projets/a.qzp\n"
        "ok projets/manque.qzp\n"  // an open dialog gives only a file that is there
        "cancel\n"
        "ok projets/../projets/b.qzp\n"
        "ok inconnu/b.qzp\n"  // nor saves into a missing folder
        "ok projets\n"        // nor onto a folder
        "ok\n"                // the folder the picker opened on
        "yes projets/\n"
        "ok " +
        (folder_ / "absent").string() +
        "\n"
        "ok 255\n"
        "ok\n"  // the colour the dialog opened with
        "cancel\n"
        "ok 16777216\n");
    const std::string base = fs::weakly_canonical(folder_).generic_string();
    EXPECT_EQ(prompter.OpenFile({"Ouvrir", "Fichier ZOV Projet|*.qzp|", ""}), base + "/projets/a.qzp");
    EXPECT_EQ(prompter.OpenFile({"Ouvrir", "", ""}), std::nullopt);
    EXPECT_EQ(prompter.OpenFile({"Ouvrir", "", ""}), std::nullopt);
    EXPECT_EQ(prompter.SaveFile({"Enregistrer", "", ""}), base + "/projets/b.qzp");
    EXPECT_EQ(prompter.SaveFile({"Enregistrer", "", ""}), std::nullopt);
    EXPECT_EQ(prompter.SaveFile({"Enregistrer", "", ""}), std::nullopt);
    EXPECT_EQ(prompter.BrowseFolder("Dossier", (folder_ / "projets").string()), base + "/projets");
    EXPECT_EQ(prompter.BrowseFolder("Dossier", ""), base + "/projets");
    EXPECT_EQ(prompter.BrowseFolder("Dossier", ""), std::nullopt);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 0), 255u);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 0x00ABCDEF), 0xABCDEFu);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 1), std::nullopt);
    EXPECT_EQ(prompter.ChooseColour("Couleur", 1), std::nullopt);
    // Only the impossible answers are reported, not the cancelled ones.
    const std::string errors = Errors();
    int lines = 0;
    for (char c : errors)
        lines += c == '\n';
    EXPECT_EQ(lines, 5) << errors;
}

TEST_F(ScriptedPrompterTest, DialogsEndThroughOkOrCancel)
{
    ScriptedPrompter prompter = Make("ok\ncancel\nyes\nno\n");
    EXPECT_TRUE(prompter.AnswerDialog("A"));
    EXPECT_FALSE(prompter.AnswerDialog("B"));
    EXPECT_TRUE(prompter.AnswerDialog("C"));
    EXPECT_FALSE(prompter.AnswerDialog("D"));
    EXPECT_FALSE(prompter.AnswerDialog("E"));
}

TEST_F(ScriptedPrompterTest, EveryPromptIsLogged)
{
    ScriptedPrompter prompter = Make("yes\nok\nok\ncancel\ncancel\nok\n");
    (void)prompter.Ask("Voulez-vous enregistrer\nles modifications ?", PromptIcon::Question,
                       PromptButtons::YesNoCancel);
    prompter.Tell(
        "Op\xC3\xA9ration termin\xC3\xA9"
        "e");
    (void)prompter.AnswerDialog(
        "Pr\xC3\xA9"
        "f\xC3\xA9rences");
    (void)prompter.OpenFile({"Ouvrir un projet", "Fichier ZOV Projet|*.qzp|", ""});
    (void)prompter.SaveFile({"Enregistrer sous", "", ""});
    (void)prompter.BrowseFolder("Choisir un dossier", "");
    (void)prompter.ChooseColour("Couleur du texte", 0);
    (void)prompter.Ask("Sans r\xE9ponse", PromptIcon::Question, PromptButtons::OkCancel);  // Windows-1252 text
    EXPECT_EQ(ReadAll(log_), ReadAll(fs::path(ZOV_SOURCE_DIR) / "tests/shell/gui/fixtures/prompts.log"));
}

TEST_F(ScriptedPrompterTest, WithoutAFileEveryPromptIsEscapedAndWrittenToStandardError)
{
    ScriptedPrompter prompter(fs::path(), PromptLog(log_), errors_.get());
    EXPECT_EQ(prompter.Ask("Continuer ?", PromptIcon::Question, PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompter.Ask("Erreur", PromptIcon::Error, PromptButtons::Ok), PromptAnswer::Ok);
    EXPECT_EQ(prompter.BrowseFolder("Dossier", "/"), std::nullopt);
    EXPECT_FALSE(prompter.AnswerDialog("Options"));
    EXPECT_EQ(Errors(), "question\tContinuer ?\nmessage\tErreur\nfolder\tDossier\ndialog\tOptions\n");
    EXPECT_EQ(ReadAll(log_), "question\tContinuer ?\nmessage\tErreur\nfolder\tDossier\ndialog\tOptions\n");
}

}  // namespace

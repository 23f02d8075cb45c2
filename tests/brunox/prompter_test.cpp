// Brunox's commands answered from a file of answers instead of by the operator: what each answer
// line gives each command, the lines that cancel the dialog with an error line, and a bench
// without any display.
#include "BrunoxApplication.h"
#include "BrunoxCmd.h"
#include "BrunoxPrompter.h"
#include "CaptureOutput.h"
#include "common/IniFile.h"
#include "QtTestSupport.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using brunox_test::RunLine;

std::string Message(const char* format, const std::string& file, int line = 0)
{
    char text[1024];
    std::snprintf(text, sizeof text, format, file.c_str(), line);
    return text;
}

class BrunoxScripted : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QCoreApplication::instance() != nullptr)
            return;
        // A bench with no display at all: the answers need none, so the application still has
        // a platform that opens no window.
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        setenv(kPrompterScriptVariable, "answers.txt", 1);
        static int argc = 1;
        static char name[] = "brunox";
        static char* argv[] = {name, nullptr};
        InitBrunoxApplication(argc, argv);
        zov::testing::DeleteApplicationAtEnd();
    }

    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("zov_brunox_scripted_" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_answers = m_folder / "answers.txt";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void WriteAnswers(const std::string& text, std::ios::openmode mode = std::ios::trunc)
    {
        std::ofstream(m_answers, std::ios::binary | std::ios::out | mode) << text;
    }

    std::unique_ptr<CDialogCmd> ScriptedCmd()
    {
        return std::make_unique<CDialogCmd>(m_folder / "Brunox.ini", std::make_unique<CScriptedPrompter>(m_answers));
    }

    std::string Wrong(int line) const { return Message(kWrongAnswerMessage, m_answers.string(), line); }
    std::string NoAnswer() const { return Message(kNoAnswerMessage, m_answers.string()); }

    fs::path m_folder;
    fs::path m_answers;
};

TEST_F(BrunoxScripted, NoDisplayIsNeededWhenAnswersAreScripted)
{
    EXPECT_TRUE(BrunoxHasDisplay());
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
}

TEST_F(BrunoxScripted, EachAnswerLineGivesItsCommandsAnswer)
{
    struct Case {
        const char* answers;
        const char* line;
        const char* out;
        int wrongLine;  // the line reported as unfit, 0: none
    };
    const Case cases[] = {
        {"ok\n", "msgbox -title t -text x", "\n", 0},
        {"cancel\n", "msgbox -title t -text x", "\n", 0},
        {"ok later\n", "msgbox -title t -text x", "\n", 1},  // a value where none is asked: out of step
        {"yes\n", "askbox -title t -text q", "1\n", 0},
        {"OK\n", "askbox -title t -text q", "1\n", 0},
        {"no\n", "askbox -title t -text q", "0\n", 0},
        {"Cancel\n", "askbox -title t -text q", "0\n", 0},
        {"maybe\n", "askbox -title t -text q", "0\n", 1},
        {"no thanks\n", "askbox -title t -text q", "0\n", 1},
        {"yes 1\n", "askbox -title t -text q", "0\n", 1},
        // Comments, blank lines, CR LF line ends and leading blanks.
        {"# the question\n\n \t\r\n  yes\r\n", "askbox -title t -text q", "1\n", 0},
        {"ok Jean  Dupont \n", "editbox -title t -text x", "Jean  Dupont \n", 0},
        {"ok\tavec tab\n", "editbox -title t -text x", "avec tab\n", 0},
        {"ok\n", "editbox -title t -text x", "\n", 0},
        {"cancel\n", "editbox -title t -text x", "\n", 0},
        {"ok Pr\xC3\xA9"
         "f\xC3\xA9rence\n",
         "editbox -title t -text x",
         "Pr\xC3\xA9"
         "f\xC3\xA9rence\n",
         0},
        {"ok Pr\xE9"
         "f\xE9rence\n",
         "editbox -title t -text x",
         "Pr\xC3\xA9"
         "f\xC3\xA9rence\n",
         0},  // Windows-1252
        {"ok 2\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "2\n", 0},
        {"ok 0\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "0\n", 0},
        {"ok\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "1\n", 0},   // the preselected item
        {"ok\n", "combobox -title t -text x -data \"a|b|c\" -value 5", "-1\n", 0},  // none preselected
        {"cancel\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "-1\n", 0},
        {"ok 3\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "-1\n", 1},
        {"ok -1\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "-1\n", 1},
        {"ok 1x\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "-1\n", 1},
        {"ok 99999999999\n", "combobox -title t -text x -data \"a|b|c\" -value 1", "-1\n", 1},
        {"ok\n", "loadfile -title t -ext csv", "\n", 1},  // a file must be named
        {"ok\n", "selectpath -title t", "\n", 1},
        {"cancel\n", "loadfile -title t -ext csv", "\n", 0},
        {"no\n", "savefile -title t -ext csv", "\n", 0},
        {"cancel\n", "selectpath -title t", "\n", 0},
    };
    for (const Case& c : cases) {
        WriteAnswers(c.answers);
        auto cmd = ScriptedCmd();
        const auto output = RunLine(*cmd, c.line);
        EXPECT_EQ(output.out, c.out) << c.answers << " / " << c.line;
        EXPECT_EQ(output.err, (c.wrongLine > 0 ? Wrong(c.wrongLine) : std::string()) + ">>")
            << c.answers << " / " << c.line;
    }
}

TEST_F(BrunoxScripted, PathsAreTakenAsTheDialogsWouldGiveThem)
{
    const fs::path data = m_folder / "mesure.csv";
    std::ofstream(data) << "1;2\n";
    fs::create_directories(m_folder / "sortie");
    const std::string folder = m_folder.string();
    struct Case {
        std::string answer;
        const char* line;
        std::string out;
        bool wrong;
    };
    const Case cases[] = {
        {"ok " + data.string(), "loadfile -title t -ext csv", data.string() + "\n", false},
        {"ok " + folder + "/sortie/../mesure.csv", "loadfile -title t -ext csv", data.string() + "\n", false},
        {"ok " + folder + "/absent.csv", "loadfile -title t -ext csv", "\n", true},  // only files that are there
        {"ok " + folder + "/sortie", "loadfile -title t -ext csv", "\n", true},
        {"ok " + folder + "/rapport final.txt", "savefile -title t -ext txt", folder + "/rapport final.txt\n", false},
        {"ok " + data.string(), "savefile -title t -ext csv", data.string() + "\n", false},
        {"ok " + folder + "/sortie/", "selectpath -title t", folder + "/sortie\n", false},
        {"ok " + folder + "/absent", "selectpath -title t", "\n", true},
        {"ok " + data.string(), "selectpath -title t", "\n", true},  // a file is no folder
    };
    for (const Case& c : cases) {
        WriteAnswers(c.answer + "\n");
        auto cmd = ScriptedCmd();
        const auto output = RunLine(*cmd, c.line);
        EXPECT_EQ(output.out, c.out) << c.answer << " / " << c.line;
        EXPECT_EQ(output.err, (c.wrong ? Wrong(1) : std::string()) + ">>") << c.answer << " / " << c.line;
    }

    // A relative path is taken from the program's current folder, as a dialog opened there would.
    const fs::path before = fs::current_path();
    fs::current_path(m_folder);
    WriteAnswers("ok mesure.csv\nok sortie\n");
    auto cmd = ScriptedCmd();
    const auto loaded = RunLine(*cmd, "loadfile -title t -ext csv");
    const auto selected = RunLine(*cmd, "selectpath -title t");
    fs::current_path(before);
    EXPECT_EQ(loaded.out, data.string() + "\n");
    EXPECT_EQ(selected.out, folder + "/sortie\n");
}

TEST_F(BrunoxScripted, AnswersAreTakenInOrderAndReadAfreshAtEachDialog)
{
    WriteAnswers("# first the message, then the question\nok\nyes\n");
    auto cmd = ScriptedCmd();
    EXPECT_EQ(RunLine(*cmd, "msgbox -title t -text x").out, "\n");
    EXPECT_EQ(RunLine(*cmd, "askbox -title t -text q").out, "1\n");

    // The file has no answer left: the dialog is cancelled, with an error line, never waited for.
    auto exhausted = RunLine(*cmd, "askbox -title t -text q");
    EXPECT_EQ(exhausted.out, "0\n");
    EXPECT_EQ(exhausted.err, NoAnswer() + ">>");

    // Lines added later are found by the next dialog, after the ones already taken.
    WriteAnswers("ok 2\nno\n", std::ios::app);
    EXPECT_EQ(RunLine(*cmd, "combobox -title t -text x -data \"a|b|c\" -value 0").out, "2\n");
    EXPECT_EQ(RunLine(*cmd, "askbox -title t -text q").out, "0\n");
}

TEST_F(BrunoxScripted, MissingAnswerFileCancelsEveryDialogWithAnErrorLine)
{
    auto cmd = ScriptedCmd();
    for (const auto& [line, out] :
         std::vector<std::pair<std::string, std::string>>{{"msgbox -title t -text x", "\n"},
                                                          {"askbox -title t -text q", "0\n"},
                                                          {"combobox -title t -text x -data \"a|b\" -value 1", "-1\n"},
                                                          {"selectpath -title t", "\n"}}) {
        const auto output = RunLine(*cmd, line);
        EXPECT_EQ(output.out, out) << line;
        EXPECT_EQ(output.err, NoAnswer() + ">>") << line;
    }
}

TEST_F(BrunoxScripted, DialogsNeverShownLeaveTheSavedPlacementAlone)
{
    const fs::path settings = m_folder / "Brunox.ini";
    WriteAnswers("ok\nyes\nok typed\nok 1\n");
    auto cmd = ScriptedCmd();
    for (const char* line : {"msgbox -title t -text x", "askbox -title t -text q", "editbox -title t -text x",
                             "combobox -title t -text x -data \"a|b\" -value 0"})
        RunLine(*cmd, line);
    EXPECT_FALSE(fs::exists(settings));

    const zov::IniFile ini(settings);
    ASSERT_TRUE(ini.WriteString("ASKDLG", "POSITION", "30,40"));
    ASSERT_TRUE(ini.WriteString("ASKDLG", "SIZE", "420,230"));
    WriteAnswers("no\n", std::ios::app);
    EXPECT_EQ(RunLine(*cmd, "askbox -title t -text q").out, "0\n");
    EXPECT_EQ(ini.GetString("ASKDLG", "POSITION", ""), "30,40");
    EXPECT_EQ(ini.GetString("ASKDLG", "SIZE", ""), "420,230");
}

}  // namespace

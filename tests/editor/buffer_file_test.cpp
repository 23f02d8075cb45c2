// Loading and saving script files: line ends as the engine counts them, modes and their labels,
// decoding, byte-exact round trips, the read-only attribute and the crash-safe save.
#include "tests/editor/BufferTestSupport.h"
#include "tests/support/FileText.h"

#include <sys/stat.h>

using namespace zov::editor;
using zov::editor::test::Lines;
using zov::editor::test::TempFolder;

namespace {

std::vector<QString> Q(std::initializer_list<const char*> lines)
{
    std::vector<QString> out;
    for (const char* line : lines) {
        out.push_back(QString::fromUtf8(line));
    }
    return out;
}

}  // namespace

TEST(BufferFile, SplitsAtEveryLineEndAndTakesTheModeOfTheFirst)
{
    struct Case {
        const char* bytes;
        std::vector<QString> lines;
        int mode;
        const char* normalised;  // the save in the detected mode
    };
    const Case cases[] = {
        {"", Q({""}), LineEnd_Dos, ""},
        {"abc", Q({"abc"}), LineEnd_Dos, "abc"},
        {"a\r\nb", Q({"a", "b"}), LineEnd_Dos, "a\r\nb"},
        {"a\nb\n", Q({"a", "b", ""}), LineEnd_Unix, "a\nb\n"},
        {"a\rb\r", Q({"a", "b", ""}), LineEnd_Mac, "a\rb\r"},
        // The engine's count: CR LF, LF and lone CR each end one line, so the error line of
        // "trace(zz)" is editor line 3 (engine line 4).
        {"x = 1\r\ny = 2\nz = 3\rtrace(zz)\r\n", Q({"x = 1", "y = 2", "z = 3", "trace(zz)", ""}), LineEnd_Dos,
         "x = 1\r\ny = 2\r\nz = 3\r\ntrace(zz)\r\n"},
        // LF CR is two line ends, as the engine reads it.
        {"a\n\rb", Q({"a", "", "b"}), LineEnd_Unix, "a\n\nb"},
        {"\r\n\r\n", Q({"", "", ""}), LineEnd_Dos, "\r\n\r\n"},
        {"a\nb\r\nc", Q({"a", "b", "c"}), LineEnd_Unix, "a\nb\nc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFromBytes(c.bytes));
        EXPECT_EQ(Lines(buffer), c.lines);
        EXPECT_EQ(buffer.GetLineEndMode(), c.mode);
        EXPECT_EQ(buffer.SaveToBytes().value(), c.normalised);
        EXPECT_FALSE(buffer.IsModified());
    }
}

TEST(BufferFile, ModeLabelsFollowTheLineEnd)
{
    EXPECT_EQ(LineEndModeLabel(LineEnd_Dos), "DOS");
    EXPECT_EQ(LineEndModeLabel(LineEnd_Unix), "UNIX");
    EXPECT_EQ(LineEndModeLabel(LineEnd_Mac), "MAC");
    EXPECT_EQ(LineEndModeLabel(3), "");
    EXPECT_EQ(LineEndModeLabel(-1), "");
}

TEST(BufferFile, SavesInAGivenModeAndRefusesAnUnknownOne)
{
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromBytes("a\nb\n"));
    EXPECT_EQ(buffer.SaveToBytes(LineEnd_Dos).value(), "a\r\nb\r\n");
    EXPECT_EQ(buffer.SaveToBytes(LineEnd_Mac).value(), "a\rb\r");
    EXPECT_FALSE(buffer.SaveToBytes(7).has_value());
    EXPECT_FALSE(buffer.LoadFromBytes("x", 3));
    EXPECT_EQ(Lines(buffer), Q({"a", "b", ""}));  // a refused load changes nothing
    ASSERT_TRUE(buffer.LoadFromBytes("a\r\nb", LineEnd_Mac));
    EXPECT_EQ(buffer.GetLineEndMode(), LineEnd_Mac);
}

TEST(BufferFile, DecodesUtf8ElseWindows1252AndSavesUtf8)
{
    CTextBuffer utf8;
    ASSERT_TRUE(utf8.LoadFromBytes("caf\xC3\xA9\r\n"));
    EXPECT_EQ(utf8.GetLine(0), QString::fromUtf8("café"));
    EXPECT_EQ(utf8.GetLineLength(0), 4);

    CTextBuffer cp1252;
    ASSERT_TRUE(cp1252.LoadFromBytes("caf\xE9 \x80\r\n"));
    EXPECT_EQ(cp1252.GetLine(0), QString::fromUtf8("café €"));
    EXPECT_EQ(cp1252.SaveToBytes().value(), "caf\xC3\xA9 \xE2\x82\xAC\r\n");
}

TEST(BufferFile, RoundTripsSingleModeFilesByteForByte)
{
    TempFolder folder;
    const std::string files[] = {
        "",       "trace(\"\xC3\xA9t\xC3\xA9\")\r\n\r\n  x = 1\r\n",        "a\nb\n", "no end",
        "\r\r\r", std::string(70000, 'x') + "\n" + std::string(40000, 'y'),  // lines across read blocks
    };
    for (const std::string& bytes : files) {
        const auto in = folder.Path() / "in.qzs";
        const auto out = folder.Path() / "out.qzs";
        zov::test::WriteFile(in, bytes);
        CTextBuffer buffer;
        ASSERT_TRUE(buffer.LoadFromFile(in));
        ASSERT_TRUE(buffer.SaveToFile(out));
        EXPECT_EQ(zov::test::ReadFile(out), bytes);
    }
}

TEST(BufferFile, EmptyFileIsOneLineAndSavesZeroBytes)
{
    TempFolder folder;
    const auto path = folder.Path() / "empty.qzs";
    zov::test::WriteFile(path, "");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_EQ(buffer.GetLineCount(), 1);
    EXPECT_EQ(buffer.GetLineEndMode(), LineEnd_Dos);
    ASSERT_TRUE(buffer.SaveToFile(path));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST(BufferFile, LoadFailsOnAMissingFileOrAFolderAndKeepsTheText)
{
    TempFolder folder;
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromBytes("keep\r\nme"));
    EXPECT_FALSE(buffer.LoadFromFile(folder.Path() / "missing.qzs"));
    EXPECT_FALSE(buffer.LoadFromFile(folder.Path()));
    EXPECT_EQ(Lines(buffer), Q({"keep", "me"}));
    EXPECT_TRUE(buffer.IsInitialised());
}

TEST(BufferFile, ReadOnlyFollowsTheFilesWritePermission)
{
    TempFolder folder;
    const auto path = folder.Path() / "ro.qzs";
    zov::test::WriteFile(path, "x");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_FALSE(buffer.IsReadOnly());
    ::chmod(path.c_str(), 0444);
    ASSERT_TRUE(buffer.LoadFromFile(path));
    EXPECT_TRUE(buffer.IsReadOnly());
    EXPECT_FALSE(buffer.InsertText(nullptr, {0, 0}, u"y"));
    EXPECT_FALSE(buffer.DeleteText(nullptr, {0, 0}, {1, 0}));
    EXPECT_EQ(buffer.GetLine(0), "x");
    buffer.SetReadOnly(false);
    EXPECT_TRUE(buffer.InsertText(nullptr, {0, 0}, u"y"));
}

TEST(BufferFile, SaveReplacesTheTargetAtomicallyAndKeepsItsPermissions)
{
    TempFolder folder;
    const auto path = folder.Path() / "s.qzs";
    zov::test::WriteFile(path, "old");
    ::chmod(path.c_str(), 0640);
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadFromBytes("new\r\ntext"));
    buffer.InsertText(nullptr, {0, 0}, u"a");
    ASSERT_TRUE(buffer.IsModified());
    ASSERT_TRUE(buffer.SaveToFile(path, LineEnd_Detect, true));
    EXPECT_EQ(zov::test::ReadFile(path), "anew\r\ntext");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_FALSE(buffer.IsModified());
    // Only the target was written: no temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(BufferFile, FailedSaveLeavesTheTargetAndTheModifiedState)
{
    TempFolder folder;
    // A folder in the way: the final rename fails, and nothing may be lost.
    const auto blocked = folder.Path() / "blocked.qzs";
    std::filesystem::create_directory(blocked);
    zov::test::WriteFile(blocked / "inside", "kept");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    buffer.InsertText(nullptr, {0, 0}, u"text");
    EXPECT_FALSE(buffer.SaveToFile(blocked));
    EXPECT_EQ(zov::test::ReadFile(blocked / "inside"), "kept");
    EXPECT_FALSE(buffer.SaveToFile(folder.Path() / "no" / "such" / "folder.qzs"));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST(BufferFile, SaveWithoutClearingKeepsTheModifiedStateAndSavedPosition)
{
    TempFolder folder;
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.InitNew());
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 0}, u"ab", nullptr, UndoAction_Typing));
    ASSERT_TRUE(buffer.SaveToFile(folder.Path() / "copy.qzs", LineEnd_Detect, false));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_EQ(buffer.GetSavedPosition(), 0);
    ASSERT_TRUE(buffer.SaveToFile(folder.Path() / "copy.qzs", LineEnd_Detect, true));
    EXPECT_EQ(buffer.GetSavedPosition(), 1);
}

TEST(BufferFile, LoadAndInitNewTellTheViewsToReset)
{
    CTextBuffer buffer;
    zov::editor::test::RecordingView view;
    buffer.AttachView(&view);
    buffer.InitNew(LineEnd_Unix);
    buffer.LoadFromBytes("a");
    ASSERT_EQ(view.changes.size(), 2u);
    EXPECT_EQ(view.changes[0].hint, BufferHint_Reset);
    EXPECT_EQ(view.changes[0].line, -1);
    EXPECT_EQ(view.changes[1].hint, BufferHint_Reset);
    EXPECT_EQ(buffer.GetLineEndMode(), LineEnd_Dos);
}

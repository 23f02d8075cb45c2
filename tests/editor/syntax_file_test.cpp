// Reading syntax files: sections, directives, keywords, the order the files of a folder are read
// in and which section of a name wins.
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/SyntaxLanguage.h"
#include "tests/editor/BufferTestSupport.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::interfaces {
namespace {

using editor::test::TempFolder;

std::vector<std::string> Names(const SyntaxLanguageList& list)
{
    std::vector<std::string> names;
    for (const auto& language : list)
        names.push_back(language->name);
    return names;
}

TEST(SyntaxFile, DirectivesKeywordsAndSections)
{
    const std::string text =
        "before\n#type=early\n"
        "[qzs]\n"
        "#type = script \n"
        "#comment=;\n"
        "#string=\"\n"
        "#string='\n"
        "#string=`x\n"
        "#comment_s= /*\n"
        "#comment_e=*/\n"
        "#unknown=1\n"
        "#nothing\n"
        "for\n"
        "end \n"
        "  if\n"
        "\n"
        "[other]x\n"
        "#comment=first\n"
        "#comment=\n"
        "#string=\n"
        "#string=|\n"
        "#types=later\n"
        "[\n"
        "kw\n";
    SyntaxLanguageList list;
    ParseSyntaxText(text, list);
    ASSERT_EQ(Names(list), (std::vector<std::string>{"qzs", "other]", ""}));

    const SyntaxLanguage& qzs = *list[0];
    EXPECT_EQ(qzs.type, "script");
    EXPECT_EQ(qzs.lineComment, ";");
    EXPECT_EQ(qzs.stringDelimiter1, U'"');
    EXPECT_EQ(qzs.stringDelimiter2, U'`');  // a third "#string" replaces the second
    EXPECT_EQ(qzs.blockCommentStart, "/*");
    EXPECT_EQ(qzs.blockCommentEnd, "*/");
    EXPECT_EQ(qzs.keywords, (std::vector<std::string>{"for", "end ", "  if"}));
    EXPECT_TRUE(qzs.HasKeyword("for"));
    EXPECT_FALSE(qzs.HasKeyword("end"));  // the trailing blank is part of the keyword
    EXPECT_FALSE(qzs.HasKeyword("if"));
    EXPECT_FALSE(qzs.HasKeyword("FOR"));

    const SyntaxLanguage& other = *list[1];
    EXPECT_EQ(other.lineComment, "");         // a repeated directive replaces the earlier value
    EXPECT_EQ(other.stringDelimiter1, U'|');  // an empty value leaves the delimiter unset
    EXPECT_EQ(other.stringDelimiter2, 0U);
    EXPECT_EQ(other.type, "later");  // "#types" is read as "#type"
    EXPECT_TRUE(other.keywords.empty());
    EXPECT_EQ(list[2]->keywords, (std::vector<std::string>{"kw"}));
}

TEST(SyntaxFile, WindowsLineEndsAndCodePage)
{
    SyntaxLanguageList list;
    ParseSyntaxText("[caf\xE9]\r\n#comment=\xA7\r\nd\xE9j\xE0\r\n", list);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0]->name, "caf\xC3\xA9");
    EXPECT_EQ(list[0]->lineComment, "\xC2\xA7");
    EXPECT_EQ(list[0]->keywords, (std::vector<std::string>{"d\xC3\xA9j\xC3\xA0"}));

    // UTF-8 files stay as they are; the header's last character goes whole.
    list.clear();
    ParseSyntaxText("[ab\xC3\xA9\n#string=\xC3\xA9t\xC3\xA9\n", list);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0]->name, "ab");
    EXPECT_EQ(list[0]->stringDelimiter1, U'\u00E9');
}

class SyntaxFolderTest : public testing::Test {
protected:
    void Put(const std::string& name, const std::string& text) { test::WriteFile(folder_.Path() / name, text); }
    std::string Pattern() const { return (folder_.Path() / "*.stx").string(); }

    TempFolder folder_;
    shell::RecordingPrompter prompter_;
    InterfaceSet set_{{"", "", ""}, prompter_};
};

TEST_F(SyntaxFolderTest, ZovFileFirstThenByNameAndFirstOfANameWins)
{
    Put("b.stx", "[qzs]\nfromb\n[bb]\n");
    Put("zov.stx", "[qzs]\nfromzov\n");
    Put("a.stx", "[aa]\n");
    Put("c.txt", "[cc]\n");
    Put("Zz.stx", "[upper]\n");
    set_.LoadSyntaxFiles(Pattern());
    EXPECT_EQ(Names(set_.SyntaxLanguages()), (std::vector<std::string>{"qzs", "upper", "aa", "qzs", "bb"}));
    const SyntaxLanguage* qzs = set_.FindSyntaxLanguage("qzs");
    ASSERT_NE(qzs, nullptr);
    EXPECT_EQ(qzs->keywords, (std::vector<std::string>{"fromzov"}));
    EXPECT_EQ(set_.FindSyntaxLanguage("QZS"), nullptr);
    EXPECT_EQ(set_.FindSyntaxLanguage("cc"), nullptr);

    EXPECT_TRUE(set_.IsLanguageKeyword(qzs, "fromzov!", 7));
    EXPECT_FALSE(set_.IsLanguageKeyword(qzs, "fromzov!", 8));
    EXPECT_FALSE(set_.IsLanguageKeyword(qzs, "fromzo", 6));
    EXPECT_FALSE(set_.IsLanguageKeyword(nullptr, "fromzov", 7));
    EXPECT_FALSE(set_.IsLanguageKeyword(qzs, "from", 7));  // length beyond the text
}

TEST_F(SyntaxFolderTest, ReloadReplacesEmptyPatternKeepsMissingFilesAreSkipped)
{
    Put("x.stx", "[x]\n");
    set_.LoadSyntaxFiles(Pattern());
    EXPECT_EQ(Names(set_.SyntaxLanguages()), (std::vector<std::string>{"x"}));
    set_.LoadSyntaxFiles("");
    EXPECT_EQ(Names(set_.SyntaxLanguages()), (std::vector<std::string>{"x"}));
    Put("y.stx", "[y]\n");
    set_.LoadSyntaxFiles(Pattern());
    EXPECT_EQ(Names(set_.SyntaxLanguages()), (std::vector<std::string>{"x", "y"}));

    set_.LoadSyntaxFiles((folder_.Path() / "missing" / "*.stx").string());
    EXPECT_TRUE(set_.SyntaxLanguages().empty());
    EXPECT_FALSE(set_.ReadSyntaxFile((folder_.Path() / "none.stx").string()));
    EXPECT_TRUE(set_.ReadSyntaxFile((folder_.Path() / "y.stx").string()));
    EXPECT_EQ(Names(set_.SyntaxLanguages()), (std::vector<std::string>{"y"}));
}

// The file beside the programs: the script language, its keywords in three cases.
TEST(InstalledSyntaxFile, ScriptLanguageAndItsKeywords)
{
    shell::RecordingPrompter prompter;
    InterfaceSet set({"", "", ""}, prompter);
    set.LoadSyntaxFiles(std::string(ZOV_BIN_DIR) + "/*.stx");
    const SyntaxLanguage* qzs = set.FindSyntaxLanguage("qzs");
    ASSERT_NE(qzs, nullptr);
    EXPECT_EQ(qzs->type, "script");
    EXPECT_EQ(qzs->lineComment, ";");
    EXPECT_EQ(qzs->stringDelimiter1, U'"');
    EXPECT_EQ(qzs->stringDelimiter2, 0U);
    EXPECT_TRUE(qzs->blockCommentStart.empty());
    EXPECT_EQ(qzs->keywords.size(), 29U * 3U);
    for (const char* word : {"and", "AND", "And", "downto", "DOWNTO", "Downto", "procedure", "Procedure", "xor", "XOR",
                             "Xor", "until", "label", "goto", "true", "FALSE"})
        EXPECT_TRUE(qzs->HasKeyword(word)) << word;
    for (const char* word : {"aNd", "include", "ProcEdure", "endif", ""})
        EXPECT_FALSE(qzs->HasKeyword(word)) << word;
}

}  // namespace
}  // namespace zov::interfaces

// The probe's syntax commands, as end-to-end scripts use them: the languages of syntax files and
// a script coloured line by line with its macro-call marks.
#include "tests/editor/BufferTestSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

using zov::editor::test::TempFolder;

namespace {

zov::test::ProcessResult Probe(std::vector<std::string> args)
{
    zov::test::ChildProcess probe(std::string(ZOV_BIN_DIR) + "/zovprobe", args);
    return probe.Finish();
}

}  // namespace

TEST(ProbeSyntax, StxDumpListsEveryLanguageInFileOrder)
{
    TempFolder folder;
    const auto first = folder.Path() / "first.stx";
    const auto second = folder.Path() / "second.stx";
    zov::test::WriteFile(first,
                         "[qzs]\r\n#type=script\r\n#comment=;\r\n#string=\"\r\nfor\r\nEnd \r\n[c]\r\n#comment=//\r\n"
                         "#comment_s=/*\r\n#comment_e=*/\r\n#string='\r\n#string=\"\r\n");
    zov::test::WriteFile(second, "[d\xE9j\xE0]\nx\n");
    const auto result = Probe({"stx-dump", first.string(), second.string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "[qzs]\ntype=script\ncomment=;\ncomment_s=\ncomment_e=\nstring1=\"\nstring2=\nkw=for\nkw=End \n"
              "[c]\ntype=\ncomment=//\ncomment_s=/*\ncomment_e=*/\nstring1='\nstring2=\"\n"
              "[d\xC3\xA9j\xC3\xA0]\ntype=\ncomment=\ncomment_s=\ncomment_e=\nstring1=\nstring2=\nkw=x\n");

    const auto missing = Probe({"stx-dump", (folder.Path() / "none.stx").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
}

TEST(ProbeSyntax, ColourPrintsCookiesColoursAndMacroMarks)
{
    TempFolder folder;
    const auto qzi = folder.Path() / "set.qzi";
    const auto script = folder.Path() / "test.qzs";
    zov::test::WriteFile(qzi,
                         "CLI Cli1 : \"cli1|>>|1\"\r\n&Trace() : \"trace\"\r\nCONST MAXV : 10\r\n"
                         "MACRO Greet : {Trace(\"hi\")}\r\n");
    zov::test::WriteFile(script, "for i = 1 to MAXV do ; loop\r\n  Greet\r\nGreet x\r\nCli1 \"a\\\r\nb\" 0x1G\r\n");
    const std::string stx = std::string(ZOV_BIN_DIR) + "/zov.stx";
    const auto result = Probe({"colour", "--stx", stx, "--qzi", qzi.string(), script.string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "0 66622222c266299992662bbbbbb\n"
              "0 22aaaaa macro=Greet\n"
              "0 aaaaa22\n"
              "8 88882eee\n"
              "0 ee22222\n"
              "0 \n");

    // A file whose extension names no language is refused.
    const auto other = folder.Path() / "data.csv";
    zov::test::WriteFile(other, "a\n");
    const auto refused = Probe({"colour", "--stx", stx, other.string()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(Probe({"colour"}).exitCode, 2);
}

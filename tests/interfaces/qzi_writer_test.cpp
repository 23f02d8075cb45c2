// The .qzi writer: layouts byte for byte, sections, and the round trip of the demo interface.

#include "ide/interfaces/model/InterfaceFile.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <string>

namespace zov::interfaces {
namespace {

const std::string kDemo = std::string(ZOV_SOURCE_DIR) + "/examples/demo/demo.qzi";

std::string Write(const Interface& source)
{
    return FormatInterfaceText(ViewOf(source), shell::IdentityTranslate());
}

struct LineCase {
    std::string written;
    std::string expected;
};

class RecordLayout : public testing::TestWithParam<LineCase> {};

TEST_P(RecordLayout, ByteForByte)
{
    EXPECT_EQ(GetParam().written, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordLayout,
    testing::Values(
        LineCase{FormatCliLine(CliRecord{"quarnel", "", ">>", 1, "exit", 1, 0}, "quarnel"),
                 R"(CLI quarnel : "quarnel|>>|1|exit|1|0")"},
        // Always six fields, whatever the file gave.
        LineCase{FormatCliLine(CliRecord{"t", "", "", 0, "", 0, 1}, "tool -x"), R"(CLI t : "tool -x||0||0|1")"},
        LineCase{FormatFunctionLine(FunctionRecord{"add", "add %% %%", 3, 2}), R"(&add(@1, @2) : "add %s %s")"},
        LineCase{FormatFunctionLine(FunctionRecord{"close", "close", 0, 0}), R"(_close() : "close")"},
        LineCase{FormatFunctionLine(FunctionRecord{"f", "f", 4, 1}), R"($f(@1) : "f")"},
        LineCase{FormatFunctionLine(FunctionRecord{"f", "f", 9, 0}), R"(_f() : "f")"},
        LineCase{FormatConstantLine(ConstantRecord{"S", "text", StringConstant}), R"(CONST S : "text")"},
        LineCase{FormatConstantLine(ConstantRecord{"N", "100", NumberConstant}), "CONST N : 100"},
        LineCase{FormatConstantLine(ConstantRecord{"B", "true", BooleanConstant}), "CONST B : true"},
        LineCase{FormatConstantLine(ConstantRecord{"P", "%%ZOVPATH%%", PredefinedConstant}),
                 R"(CONST P : "%%ZOVPATH%%")"},
        LineCase{FormatMacroLine(MacroRecord{"M", "a = 1 & b = 2"}), "MACRO M : {a = 1 & b = 2}"},
        // A line break inside a record never splits it across lines of the file.
        LineCase{FormatMacroLine(MacroRecord{"M", "a = 1\r\nb = 2\nc = 3\rd = 4"}),
                 "MACRO M : {a = 1 & b = 2 & c = 3 & d = 4}"},
        LineCase{FormatConstantLine(ConstantRecord{"S", "two\r\nlines", StringConstant}), R"(CONST S : "two lines")"},
        LineCase{FormatFunctionLine(FunctionRecord{"f", "say\n%%", 0, 1}), R"(_f(@1) : "say %s")"},
        LineCase{FormatCliLine(CliRecord{"c\r", "", ">>\n", 0, "quit\r\n", 1, 0}, "tool"),
                 R"(CLI c  : "tool|>> |0|quit |1|0")"}));

TEST(QziWriter, EmptyInterfaceIsAnEmptyFile)
{
    EXPECT_EQ(Write(Interface{}), "");
}

TEST(QziWriter, OnlyClisGiveOneSectionAndTwoEmptyLines)
{
    Interface source;
    source.clis.push_back(std::make_unique<CliRecord>(CliRecord{"a", "a", ">>", 1, "exit", 1, 0}));
    EXPECT_EQ(Write(source), ";Liste des CLI\r\nCLI a : \"a|>>|1|exit|1|0\"\r\n\r\n\r\n");
}

TEST(QziWriter, SectionsInFixedOrderMacrosLastWithoutEmptyLines)
{
    Interface source;
    source.macros.push_back(std::make_unique<MacroRecord>(MacroRecord{"M", "x"}));
    source.constants.push_back(std::make_unique<ConstantRecord>(ConstantRecord{"C", "1", NumberConstant}));
    source.functions.push_back(std::make_unique<FunctionRecord>(FunctionRecord{"f", "f", 0, 0}));
    const shell::Translate upper = [](std::string_view text) { return "[" + std::string(text) + "]"; };
    EXPECT_EQ(FormatInterfaceText(ViewOf(source), upper),
              ";[Liste des fonctions]\r\n_f() : \"f\"\r\n\r\n\r\n"
              ";[Liste des constantes]\r\nCONST C : 1\r\n\r\n\r\n"
              ";[Liste des macros]\r\nMACRO M : {x}\r\n");
}

TEST(QziWriter, DemoInterfaceRoundTripsByteForByte)
{
    const std::string demo = test::ReadFile(kDemo);
    ASSERT_EQ(demo.size(), 2664u);
    Interface read;
    ParseInterfaceText(demo, -1, read);
    EXPECT_EQ(Write(read), demo);
}

// What the reader gives back from what the writer made, kind by kind.
TEST(QziWriter, WrittenRecordsReadBack)
{
    Interface source;
    source.clis.push_back(std::make_unique<CliRecord>(CliRecord{"tool", "tool.exe", ">>", 1, "quit", 0, 1}));
    source.functions.push_back(std::make_unique<FunctionRecord>(FunctionRecord{"add", "add %% %% @3", 3, 2}));
    source.constants.push_back(std::make_unique<ConstantRecord>(ConstantRecord{"Empty", "", StringConstant}));
    source.constants.push_back(std::make_unique<ConstantRecord>(ConstantRecord{"Pi", "3.14", NumberConstant}));
    source.macros.push_back(std::make_unique<MacroRecord>(MacroRecord{"M", "a & \"b & c\""}));
    Interface back;
    ParseInterfaceText(Write(source), -1, back);
    ASSERT_EQ(back.clis.size(), 1u);
    EXPECT_EQ(back.clis[0]->path, "tool.exe");
    EXPECT_EQ(back.clis[0]->stopMessage, "quit");
    EXPECT_EQ(back.clis[0]->stripLineBreaks, 0);
    EXPECT_EQ(back.clis[0]->stripQuotes, 1);
    ASSERT_EQ(back.functions.size(), 1u);
    EXPECT_EQ(back.functions[0]->command, "add %% %% @3");
    EXPECT_EQ(back.functions[0]->paramCount, 3);  // "@3" in the command counts on reading
    ASSERT_EQ(back.constants.size(), 2u);
    EXPECT_EQ(back.constants[0]->type, PredefinedConstant);  // an empty quoted value
    EXPECT_EQ(back.constants[1]->value, "3.14");
    ASSERT_EQ(back.macros.size(), 1u);
    EXPECT_EQ(back.macros[0]->body, "a & \"b & c\"");
}

}  // namespace
}  // namespace zov::interfaces

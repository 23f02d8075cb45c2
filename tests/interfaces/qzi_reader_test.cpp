// The positional .qzi reader: how each kind of line is cut, which defaults missing fields take,
// and that no line is ever rejected.

#include "ide/interfaces/model/InterfaceFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::interfaces {
namespace {

Interface Read(std::string_view text, int index = -1)
{
    Interface target;
    ParseInterfaceText(text, index, target);
    return target;
}

struct CliCase {
    const char* line;
    const char* name;
    const char* path;
    const char* sync;
    int syncMode;
    const char* stop;
    int stripLineBreaks;
    int stripQuotes;
};

class CliLine : public testing::TestWithParam<CliCase> {};

TEST_P(CliLine, FieldsAndDefaults)
{
    const CliCase& c = GetParam();
    const Interface read = Read(c.line, 2);
    ASSERT_EQ(read.clis.size(), 1u);
    const CliRecord& cli = *read.clis[0];
    EXPECT_EQ(cli.name, c.name);
    EXPECT_EQ(cli.path, c.path);
    EXPECT_EQ(cli.syncMessage, c.sync);
    EXPECT_EQ(cli.syncMode, c.syncMode);
    EXPECT_EQ(cli.stopMessage, c.stop);
    EXPECT_EQ(cli.stripLineBreaks, c.stripLineBreaks);
    EXPECT_EQ(cli.stripQuotes, c.stripQuotes);
    EXPECT_EQ(cli.interfaceIndex, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CliLine,
    testing::Values(CliCase{R"(CLI tool : "tool.exe|>>|1|quit|0|1")", "tool", "tool.exe", ">>", 1, "quit", 0, 1},
                    CliCase{R"(CLI t : "tool|>>|1")", "t", "tool", ">>", 1, "exit", 1, 0},
                    CliCase{R"(CLI t : "tool|>>|0|bye")", "t", "tool", ">>", 0, "bye", 1, 0},
                    CliCase{R"(CLI t : "tool|>>|1|bye|0")", "t", "tool", ">>", 1, "bye", 0, 0},
                    CliCase{R"(CLI t : "tool|>>|1|bye|1|1")", "t", "tool", ">>", 1, "bye", 1, 1},
                    // The command line keeps its blanks; the sync text is what stands between bars.
                    CliCase{R"(CLI my tool : "quarnel -x 1|<never>|1|exit|1|0")", "my tool", "quarnel -x 1", "<never>",
                            1, "exit", 1, 0},
                    // Two fields: no sync text, a mode read from what is left.
                    CliCase{R"(CLI t : "tool|>>")", "t", "tool", "", 0, "exit", 1, 0},
                    // No colon and no blank after the keyword: still a CLI line, cut by position.
                    CliCase{"CLIx", "x", "", "", 0, "exit", 1, 0}));

struct ConstantCase {
    const char* line;
    const char* name;
    const char* value;
    int type;
};

class ConstantLine : public testing::TestWithParam<ConstantCase> {};

TEST_P(ConstantLine, NameValueAndType)
{
    const ConstantCase& c = GetParam();
    const Interface read = Read(c.line);
    ASSERT_EQ(read.constants.size(), 1u);
    EXPECT_EQ(read.constants[0]->name, c.name);
    EXPECT_EQ(read.constants[0]->value, c.value);
    EXPECT_EQ(read.constants[0]->type, c.type);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ConstantLine,
    testing::Values(ConstantCase{"CONST MAX : 100", "MAX", "100", NumberConstant},
                    ConstantCase{"CONST PI : 3.14159265358979", "PI", "3.14159265358979", NumberConstant},
                    ConstantCase{"CONST STRICT : false", "STRICT", "false", BooleanConstant},
                    ConstantCase{"CONST STRICT : true", "STRICT", "true", BooleanConstant},
                    ConstantCase{"CONST T : True", "T", "True", NumberConstant},
                    ConstantCase{R"(CONST W : "%%WINDOWS%%")", "W", "%%WINDOWS%%", PredefinedConstant},
                    ConstantCase{R"(CONST E : "")", "E", "", PredefinedConstant},
                    ConstantCase{R"(CONST F : "/home/bench/data")", "F", "/home/bench/data", StringConstant},
                    // The engine reads these as Delay and D; so does the IDE, and saves them so.
                    ConstantCase{"CONST Delay:100", "Delay", "100", NumberConstant},
                    ConstantCase{"CONST D: 5", "D", "5", NumberConstant},
                    ConstantCase{"CONST  spaced name   :   7  ", "spaced name", "7", NumberConstant},
                    // A value holding a colon: only the first colon cuts.
                    ConstantCase{R"(CONST URL : "http://host:80")", "URL", "http://host:80", StringConstant},
                    // A missing closing quote costs the value's last character.
                    ConstantCase{R"(CONST Q : "abc)", "Q", "ab", StringConstant},
                    ConstantCase{"CONST", "", "", NumberConstant}));

struct FunctionCase {
    const char* line;
    const char* name;
    const char* command;
    int returnType;
    int paramCount;
};

class FunctionLine : public testing::TestWithParam<FunctionCase> {};

TEST_P(FunctionLine, NameCommandTypeAndParameters)
{
    const FunctionCase& c = GetParam();
    const Interface read = Read(c.line);
    ASSERT_EQ(read.functions.size(), 1u);
    EXPECT_EQ(read.functions[0]->name, c.name);
    EXPECT_EQ(read.functions[0]->command, c.command);
    EXPECT_EQ(read.functions[0]->returnType, c.returnType);
    EXPECT_EQ(read.functions[0]->paramCount, c.paramCount);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FunctionLine,
    testing::Values(FunctionCase{R"(_close() : "close")", "close", "close", 0, 0},
                    FunctionCase{R"(#exist(@1) : "exist -file %s")", "exist", "exist -file %%", 1, 1},
                    FunctionCase{R"(@ver() : "ver")", "ver", "ver", 2, 0},
                    FunctionCase{R"(&add(@1, @2) : "add %s %s")", "add", "add %% %%", 3, 2},
                    FunctionCase{R"($sin(@1) : "sin -v %s")", "sin", "sin -v %%", 4, 1},
                    // "@3" anywhere in the line counts, also inside the command.
                    FunctionCase{R"(&add(@1, @2) : "add %s %s @3")", "add", "add %% %% @3", 3, 3},
                    // Counting stops at the first missing number.
                    FunctionCase{R"(&f(@1, @3) : "f")", "f", "f", 3, 1},
                    FunctionCase{R"(&f(@2) : "f")", "f", "f", 3, 0},
                    FunctionCase{R"(&f(@1, @2, @3, @4, @5, @6, @7, @8, @9, @10) : "f")", "f", "f", 3, 10},
                    // The function name is not trimmed: it is what stands before "(".
                    FunctionCase{R"(&f (@1) : "f %s")", "f ", "f %%", 3, 1}));

TEST(QziReader, MacroBodyLosesItsBraces)
{
    const Interface read = Read("MACRO INIT : {a = 1 & b = \"x & y\"}");
    ASSERT_EQ(read.macros.size(), 1u);
    EXPECT_EQ(read.macros[0]->name, "INIT");
    EXPECT_EQ(read.macros[0]->body, "a = 1 & b = \"x & y\"");
}

// Any kind may stand anywhere; comments, empty lines, unknown lines and a lower-case keyword are
// skipped, never an error. Every line end counts: CR LF, LF and a lone CR.
TEST(QziReader, KindsByFirstCharactersAndEveryLineEnd)
{
    const Interface read = Read(
        "CONST A : 1\r\n;Liste des CLI\r\n\r\nconst b : 2\nMACRO M : {x}\r&f() : \"f\"\r\n"
        "CLI c : \"c|>>|1\"\n   CONST indented : 3\nCONSTANT K : 4");
    ASSERT_EQ(read.constants.size(), 2u);
    EXPECT_EQ(read.constants[0]->name, "A");
    EXPECT_EQ(read.constants[1]->name, "ANT K");
    ASSERT_EQ(read.macros.size(), 1u);
    ASSERT_EQ(read.functions.size(), 1u);
    ASSERT_EQ(read.clis.size(), 1u);
    EXPECT_EQ(read.clis[0]->name, "c");
}

TEST(QziReader, OrderReportsEveryRecordInFileOrder)
{
    Interface target;
    std::vector<RecordPlace> order;
    ParseInterfaceText("CONST A : 1\n&f() : \"f\"\nCONST B : 2\nCLI c : \"c|>>|1\"\n", -1, target, &order);
    const std::vector<RecordPlace> expected{{DefinitionKind::Constant, 0},
                                            {DefinitionKind::Function, 0},
                                            {DefinitionKind::Constant, 1},
                                            {DefinitionKind::Cli, 0}};
    EXPECT_EQ(order, expected);
}

TEST(QziReader, LinesCountedAsTheEngineCountsThem)
{
    const std::vector<std::string_view> lines = SplitInterfaceLines("a\r\nb\nc\rd\r\n\r\ne");
    const std::vector<std::string_view> expected{"a", "b", "c", "d", "", "e"};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(SplitInterfaceLines("").empty());
}

struct ClassifyCase {
    const char* line;
    DefinitionKind kind;
    const char* name;
};

class ClassifyLine : public testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyLine, KindAndTrimmedName)
{
    const auto [kind, name] = ClassifyDefinitionLine(GetParam().line);
    EXPECT_EQ(kind, GetParam().kind);
    EXPECT_EQ(name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Lines, ClassifyLine,
                         testing::Values(ClassifyCase{";Liste des CLI", DefinitionKind::None, ""},
                                         ClassifyCase{"", DefinitionKind::None, ""},
                                         ClassifyCase{R"(CLI my tool : "t|>>|1|exit|1|0")", DefinitionKind::Cli,
                                                      "my tool"},
                                         ClassifyCase{R"(&f (@1) : "f %s")", DefinitionKind::Function, "f"},
                                         ClassifyCase{"CONST my const : 1", DefinitionKind::Constant, "my const"},
                                         ClassifyCase{"MACRO M : {x}", DefinitionKind::Macro, "M"}));

}  // namespace
}  // namespace zov::interfaces

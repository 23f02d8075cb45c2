// Interface lines: CLI declarations and their settings, CLI functions bound to the command
// handlers, constants and macros, refused lines and their messages, and the reading of whole
// interface files (line ends, comments, long lines, a last line without line end).
#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/input/InterfaceLines.h"
#include "LineCapture.h"
#include "engine/input/MacroTable.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <string>
#include <vector>

namespace zov {
namespace {

const std::string kFunctionGrammar = std::string(ZOV_BIN_DIR) + "/Function.cgt";
const std::string kInterfaceGrammar = std::string(ZOV_BIN_DIR) + "/Interface.cgt";
const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/interfaces/";

InterfaceHandler HandlerNamed(std::string_view name)
{
    const int index = FindCliHandler(name);
    return index < 0 ? nullptr : CliHandlerTable[static_cast<size_t>(index)].Handler;
}

// A table as initialisation leaves it: the built-ins, then the interface grammar.
class InterfaceLinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine().Reset();
        ASSERT_TRUE(table_.LoadGrammar(kFunctionGrammar));
        ASSERT_TRUE(RegisterBuiltins(table_));
        ASSERT_TRUE(table_.LoadGrammar(kInterfaceGrammar));
        lines_.Clear();
    }
    void TearDown() override { Engine().Reset(); }

    // Applies one line; the last entry it added, or null.
    const CFunctionEntry* Apply(const std::string& line, int expectedResult = 0, bool expectedFlag = false)
    {
        const int before = table_.GetCount();
        bool flag = !expectedFlag;
        EXPECT_EQ(table_.ReadInterfaceLine(line, macros_, 7, flag), expectedResult) << line;
        EXPECT_EQ(flag, expectedFlag) << line;
        return table_.GetCount() > before ? table_.GetEntry(table_.GetCount() - 1) : nullptr;
    }

    CFunctionTable table_;
    CMacroTable macros_;
    test::LineCapture lines_;
};

TEST_F(InterfaceLinesTest, CliDeclarationSettings)
{
    struct Case {
        std::string line;
        std::string command;
        std::string terminator;
        unsigned syncMode;
        std::string exitCommand;
        bool dropLineBreaks;
        bool stripQuotes;
    };
    const Case cases[] = {
        {R"(CLI dov : "dovrel -x|>>|0|exit|1")", "dovrel -x", ">>", 0, "exit", true, false},
        {R"(CLI dov : "dovrel|>>|1|quit|0|1")", "dovrel", ">>", 1, "quit", false, true},
        {R"(CLI dov : "dovrel|>>|1|quit|1|0")", "dovrel", ">>", 1, "quit", true, false},
        // The sync mode is the value of the leading digits of its field.
        {R"(CLI dov : "dovrel|OK|x1|quit|1|1")", "dovrel", "OK", 0, "quit", true, true},
        {R"(CLI dov : "dovrel|OK|1 (stderr)|quit|1")", "dovrel", "OK", 1, "quit", true, false},
        // An empty line-break field leaves strip-quotes clear.
        {R"(CLI dov : "tool|>>|0|exit||1")", "tool", ">>", 0, "exit", false, false},
        // Empty fields are texts like any other; a seventh field is ignored.
        {R"(CLI dov : "tool|||||1|x")", "tool", "", 0, "", false, false},
        {R"(CLI dov : "tool||0||1|1|x")", "tool", "", 0, "", true, true},
        // Quotes inside the settings are written without escape and stay.
        {R"(CLI dov : ""/opt/my tool/t" -v|>>|1|quit|0|1")", R"("/opt/my tool/t" -v)", ">>", 1, "quit", false, true},
        // Blanks and a carriage return after the closing quote.
        {"CLI dov : \"tool|>>|0|exit|1\"  \t\r", "tool", ">>", 0, "exit", true, false},
        {"  CLI\tdov:\"tool|>>|0|exit|1\"", "tool", ">>", 0, "exit", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const CFunctionEntry* entry = Apply(c.line);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, "dov");
        EXPECT_EQ(entry->ReturnType, kTypeCli);
        EXPECT_EQ(entry->ParamCount, 0);
        EXPECT_EQ(entry->InterfaceFlag, 1);
        EXPECT_TRUE(entry->CliDeclaration);
        EXPECT_EQ(entry->Interface, HandlerNamed("StartCLI"));
        EXPECT_EQ(entry->Builtin, nullptr);
        EXPECT_EQ(entry->CommandText, c.command);
        EXPECT_EQ(entry->Settings.Terminator, c.terminator);
        EXPECT_EQ(entry->Settings.SyncMode, c.syncMode);
        EXPECT_EQ(entry->Settings.ExitCommand, c.exitCommand);
        EXPECT_EQ(entry->Settings.DropLineBreaks, c.dropLineBreaks);
        EXPECT_EQ(entry->Settings.StripQuotes, c.stripQuotes);
    }
    EXPECT_EQ(lines_.Out(), "");
}

TEST_F(InterfaceLinesTest, SettingsWithFewerThanFiveFieldsAreRefused)
{
    for (const char* line : {R"(CLI dov : "dovrel|>>|0|exit")", R"(CLI dov : "dovrel|>>|0")", R"(CLI dov : "dovrel")",
                             R"(CLI dov : "")"}) {
        SCOPED_TRACE(line);
        lines_.Clear();
        EXPECT_EQ(Apply(line, 1, true), nullptr);
        EXPECT_EQ(lines_.Out(), "dpb: 7 : Erreur de syntaxe dans l'interface\n");
    }
    EXPECT_EQ(table_.GetCount(), 58);
}

TEST_F(InterfaceLinesTest, CliFunctionsAreBoundByReturnTypeAndParameterCount)
{
    struct Case {
        std::string line;
        std::string name;
        TypeCode returnType;
        std::vector<TypeCode> params;
        const char* handler;
        std::string commandTemplate;
    };
    const std::vector<TypeCode> twoTexts = {kTypeString, kTypeString};
    const Case cases[] = {
        {R"(&count() : "count")", "count", kTypeInteger, {}, "CmdFunction3_0", "count"},
        {R"(_send(@1, @2) : "send %s %s")", "send", kTypeVoid, twoTexts, "CmdFunction0", "send %s %s"},
        {R"(_stop() : "stop")", "stop", kTypeVoid, {}, "CmdFunction0_0", "stop"},
        {R"(@name(@1) : "name %s")", "name", kTypeString, {kTypeString}, "CmdFunction1", "name %s"},
        {R"(@list() : "list")", "list", kTypeString, {}, "CmdFunction1_0", "list"},
        {R"(#ready() : "ready")", "ready", kTypeBoolean, {}, "CmdFunction2_0", "ready"},
        {R"(#has(@1) : "has %s")", "has", kTypeBoolean, {kTypeString}, "CmdFunction2", "has %s"},
        {R"(&add(@1, @2) : "add %s %s")", "add", kTypeInteger, twoTexts, "CmdFunction3", "add %s %s"},
        {R"($avg(@1,@2) : "avg %s %s")", "avg", kTypeReal, twoTexts, "CmdFunction4", "avg %s %s"},
        {R"($pi() : "pi")", "pi", kTypeReal, {}, "CmdFunction4_0", "pi"},
        // Other markers before a parameter give its type; the tag after it is not read.
        {R"(_set(&1, $x, #3) : "set %s %s %s")",
         "set",
         kTypeVoid,
         {kTypeInteger, kTypeReal, kTypeBoolean},
         "CmdFunction0",
         "set %s %s %s"},
        // A template keeps the double quotes inside it.
        {R"(@read(@1) : "read "%s"")", "read", kTypeString, {kTypeString}, "CmdFunction1", R"(read "%s")"},
        {R"(_empty() : "")", "empty", kTypeVoid, {}, "CmdFunction0_0", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const CFunctionEntry* entry = Apply(c.line);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, c.name);
        EXPECT_EQ(entry->ReturnType, c.returnType);
        EXPECT_EQ(std::vector<TypeCode>(entry->ParamTypes.begin(), entry->ParamTypes.begin() + entry->ParamCount),
                  c.params);
        EXPECT_EQ(entry->Interface, HandlerNamed(c.handler));
        EXPECT_NE(entry->Interface, nullptr);
        EXPECT_EQ(entry->InterfaceFlag, 1);
        EXPECT_FALSE(entry->CliDeclaration);
        EXPECT_EQ(entry->CommandText, c.commandTemplate);
    }
    EXPECT_EQ(lines_.Out(), "");
}

TEST_F(InterfaceLinesTest, HandlerNamesAndTheUnboundReturnType)
{
    EXPECT_EQ(CliHandlerName(kTypeInteger, 0), "CmdFunction3_0");
    EXPECT_EQ(CliHandlerName(kTypeVoid, 2), "CmdFunction0");
    EXPECT_EQ(CliHandlerName(kTypeAny, 2), "error_CmdFunctionX_2");
    EXPECT_EQ(FindCliHandler(CliHandlerName(kTypeAny, 2)), -1);
    EXPECT_EQ(FindCliHandler("StartCLI"), 0);
    EXPECT_EQ(FindCliHandler("CmdFunction4_0"), 10);
    EXPECT_EQ(FindCliHandler("cmdfunction0"), -1);
}

TEST_F(InterfaceLinesTest, SixteenParametersAtMost)
{
    auto line = [](int count) {
        std::string text = "_f(";
        for (int i = 1; i <= count; ++i)
            text += (i > 1 ? ", @" : "@") + std::to_string(i);
        return text + ") : \"f\"";
    };
    const CFunctionEntry* entry = Apply(line(16));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->ParamCount, 16);
    EXPECT_EQ(Apply(line(17), 1, true), nullptr);
    EXPECT_EQ(lines_.Out(), "dpb: 7 : Erreur de syntaxe dans l'interface\n");
}

TEST_F(InterfaceLinesTest, ConstantsKeepTheirValueAsWritten)
{
    struct Case {
        std::string line;
        std::string name;
        std::string value;
    };
    const Case cases[] = {
        {"CONST TIMEOUT : 30", "TIMEOUT", "30"},
        {"CONST MASK : -0x1F", "MASK", "-0x1F"},
        {"CONST RATE : 1.5e-3", "RATE", "1.5e-3"},
        {"CONST FLAG : false", "FLAG", "false"},
        {R"(CONST ROOT : "C:\\ZOV\\data")", "ROOT", R"("C:\\ZOV\\data")"},
        {R"(CONST SAY : "say "hi"" )", "SAY", R"("say "hi"")"},
        {R"(CONST NONE : "")", "NONE", R"("")"},
        {"CONST EMPTY :", "EMPTY", ""},
        {"CONST EMPTY2 :   ", "EMPTY2", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Apply(c.line);
        const MacroEntry* entry = macros_.Find(c.name);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->value, c.value);
        EXPECT_EQ(entry->kind, kMacroKindConstant);
    }
    EXPECT_EQ(table_.GetCount(), 58);
    EXPECT_EQ(lines_.Out(), "");
}

TEST(MacroBody, PiecesWithASemicolonOutsideQuotesAreDropped)
{
    struct Case {
        const char* body;
        const char* joined;
    };
    const Case cases[] = {
        {"a&b;c&d", "a&d"},
        {"a & b;c & d", "a & d"},
        {R"(a&"b;c"&d)", R"(a&"b;c"&d)"},  // inside quotes
        {"a&b;&d", "a&b;&d"},              // the last character of its piece
        {"a&&b&", "a&b"},                  // empty pieces vanish
        {";", ";"},
        {"a;b&c;d", ""},  // nothing kept
        {"", ""},
        // An ampersand inside quotes does not cut the body.
        {R"(x = "p&q;" & y)", R"(x = "p&q;" & y)"},
        {R"(t = "a & b" & u;v & w)", R"(t = "a & b" & w)"},
        // A piece that opens a quote and does not close it keeps the rest of the body.
        {R"(s = "open & t;u)", R"(s = "open & t;u)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterMacroBody(c.body), c.joined) << c.body;
}

TEST_F(InterfaceLinesTest, MacroLinesEnterTheMacroTable)
{
    Apply(R"(MACRO SETUP : {x = 1 & y = "a;b" & z;3 & w = "&"}  )");
    Apply("MACRO QUOTED : \"a & b\"");
    Apply("MACRO NOBODY :");
    Apply("MACRO EMPTY : {}");
    const std::pair<const char*, const char*> expected[] = {
        {"SETUP", R"(x = 1 & y = "a;b" & w = "&")"},
        {"QUOTED", "a & b"},
        {"NOBODY", ""},
        {"EMPTY", ""},
    };
    for (const auto& [name, value] : expected) {
        const MacroEntry* entry = macros_.Find(name);
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->value, value) << name;
        EXPECT_EQ(entry->kind, kMacroKindMacro) << name;
    }
}

TEST_F(InterfaceLinesTest, TwoDeclarationsOfOneNameBothEnterAndTheFirstIsFound)
{
    Apply(R"(CLI dov : "first|>>|0|exit|1")");
    Apply(R"(CLI dov : "second|>>|0|exit|1")");
    ASSERT_EQ(table_.GetCount(), 60);
    EXPECT_EQ(table_.IndexOf("dov"), 58);
    EXPECT_EQ(table_.GetEntry(58)->CommandText, "first");
    EXPECT_EQ(table_.GetEntry(59)->CommandText, "second");

    // An interface function bearing a built-in's name enters the table but is never found.
    Apply(R"(_trace(@1) : "trace %s")");
    EXPECT_EQ(table_.GetCount(), 61);
    EXPECT_EQ(table_.IndexOf("trace"), 25);

    Apply("CONST A : 1");
    Apply("CONST A : 2");
    EXPECT_EQ(macros_.Size(), 2u);
    EXPECT_EQ(macros_.Find("A")->value, "1");
}

TEST_F(InterfaceLinesTest, LinesThatDoNotScanOrParseGetTheirDpbLine)
{
    struct Case {
        std::string line;
        std::string message;
    };
    const Case cases[] = {
        // The keywords match in upper case only.
        {R"(cli dov : "tool|>>|0|exit|1")", "dpb: 7 : Erreur de syntaxe dans l'interface\n"},
        {"Const A : 1", "dpb: 7 : Erreur de syntaxe dans l'interface\n"},
        {"CONST A : 1 2", "dpb: 7 : Erreur lors de l'interpretation d'une constante de l'interface\n"},
        {"MACRO M : 12", "dpb: 7 : Erreur lors de l'interpretation d'une macro de l'interface\n"},
        {"&f(@1,) : \"f\"", "dpb: 7 : Erreur de syntaxe dans l'interface\n"},
        {"&f(@1) \"f\"", "dpb: 7 : Erreur de syntaxe dans l'interface\n"},
        // A closing quote missing: the last quote of the line is the opening one.
        {"&f() : \"unclosed", "dpb: 7 : Erreur de syntaxe\n"},
        {"CONST A : \"a\" b", "dpb: 7 : Erreur de syntaxe\n"},
        {"CONST A : ~", "dpb: 7 : Erreur de syntaxe\n"},
        {"   ", "dpb: 7 : Erreur de syntaxe dans l'interface\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        lines_.Clear();
        EXPECT_EQ(Apply(c.line, 1, true), nullptr);
        EXPECT_EQ(lines_.Out(), c.message);
    }
    EXPECT_EQ(macros_.Size(), 0u);
    EXPECT_EQ(table_.GetCount(), 58);
}

TEST_F(InterfaceLinesTest, AZeroByteRefusesTheLine)
{
    EXPECT_EQ(Apply(std::string("CONST A : 1\0 junk", 17), 1, true), nullptr);
    EXPECT_EQ(macros_.Size(), 0u);
}

TEST(InterfaceLinesNoGrammar, EveryLineIsRefusedWithoutTheInterfaceGrammar)
{
    Engine().Reset();
    test::LineCapture lines;
    CFunctionTable table;
    ASSERT_TRUE(table.LoadGrammar(kFunctionGrammar));
    ASSERT_TRUE(RegisterBuiltins(table));
    EXPECT_FALSE(table.LoadGrammar("no-such/Interface.cgt"));
    CMacroTable macros;
    bool flag = false;
    EXPECT_EQ(table.ReadInterfaceLine("CONST A : 1", macros, 3, flag), 1);
    EXPECT_TRUE(flag);
    EXPECT_EQ(macros.Size(), 0u);
    EXPECT_EQ(lines.Out(),
              "eng:Impossible de lire le ficher (no-such/Interface.cgt)\n"
              "dpb: 3 : Erreur de syntaxe dans l'interface\n");
}

// ---------------------------------------------------------------------------------------------
// Whole files

TEST_F(InterfaceLinesTest, FileAsTheIdeWritesIt)
{
    EXPECT_EQ(ReadInterfaceFile(table_, macros_, kFixtures + "ide_written.qzi"), 0);
    EXPECT_EQ(lines_.Out(), "");
    ASSERT_EQ(table_.GetCount(), 63);
    const char* names[] = {"dov", "qua", "open", "count", "read"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(table_.GetEntry(58 + i)->Name, names[i]);
    EXPECT_EQ(table_.GetEntry(59)->CommandText, "quarnel -q");
    EXPECT_EQ(table_.GetEntry(59)->Settings.ExitCommand, "quit");
    EXPECT_EQ(table_.GetEntry(62)->CommandText, R"(read "%s")");

    ASSERT_EQ(macros_.Size(), 5u);
    EXPECT_EQ(macros_.Find("TIMEOUT")->value, "30");
    EXPECT_EQ(macros_.Find("ROOT")->value, R"("C:\\ZOV\\data")");
    EXPECT_EQ(macros_.Find("VERBOSE")->value, "true");
    EXPECT_EQ(macros_.Find("SETUP")->value, R"(x = 1 & y = "a;b" & z = 3)");
    // The last line has no line end: nothing of it is lost.
    EXPECT_EQ(macros_.Find("LAST")->value, "done = 1");
}

TEST_F(InterfaceLinesTest, RefusedLinesAreCountedWithTheirNumbers)
{
    Engine().Verbose = true;
    EXPECT_EQ(ReadInterfaceFile(table_, macros_, kFixtures + "refused_lines.qzi"), 4);
    EXPECT_EQ(lines_.Out(), "eng: Lecture du fichier d'interface(" + kFixtures +
                                "refused_lines.qzi)\n"
                                "dpb: 3 : Erreur de syntaxe dans l'interface\n"
                                "eng:-> Erreur: ligne 00003 texte=const lower : 1\n"
                                "dpb: 4 : Erreur de syntaxe dans l'interface\n"
                                "eng:-> Erreur: ligne 00004 texte=CLI short : \"tool|>>|0|exit\"\n"
                                "dpb: 6 : Erreur lors de l'interpretation d'une constante de l'interface\n"
                                "eng:-> Erreur: ligne 00006 texte=CONST A : 1 2\n"
                                "dpb: 8 : Erreur de syntaxe\n"
                                "eng:-> Erreur: ligne 00008 texte=MACRO M : {a & b}  junk\n");
    // The good lines around the refused ones are applied.
    EXPECT_NE(macros_.Find("FIRST"), nullptr);
    EXPECT_NE(macros_.Find("LAST"), nullptr);
    EXPECT_EQ(table_.IndexOf("f"), 58);
}

TEST_F(InterfaceLinesTest, MissingFile)
{
    EXPECT_EQ(ReadInterfaceFile(table_, macros_, "/no/such/Temp.qzi"), -1);
    EXPECT_EQ(lines_.Out(), "eng:Impossible de lire le ficher (/no/such/Temp.qzi)\n");
    lines_.Clear();
    Engine().Verbose = true;
    EXPECT_EQ(ReadInterfaceFile(table_, macros_, "/no/such/Temp.qzi"), -1);
    EXPECT_EQ(lines_.Out(),
              "eng: Lecture du fichier d'interface(/no/such/Temp.qzi)\n"
              "eng:-> Erreur: Impossible de lire le ficher\n");
}

// A path that names a folder, or a file that cannot be read, fails as a missing file does:
// nothing is applied and the reading-failure line is written.
TEST_F(InterfaceLinesTest, AFolderOrAnUnreadableFileFailsAsAMissingFile)
{
    const std::string folder = ::testing::TempDir() + "interface_folder.qzi";
    ::mkdir(folder.c_str(), 0700);
    std::vector<std::string> paths = {folder};
    // A root user reads any file whatever its mode, so the mode case only counts elsewhere.
    const std::string locked = ::testing::TempDir() + "interface_locked.qzi";
    if (::geteuid() != 0) {
        std::FILE* file = std::fopen(locked.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("CONST A : 1\n", file);
        std::fclose(file);
        ::chmod(locked.c_str(), 0);
        paths.push_back(locked);
    }
    for (const std::string& path : paths) {
        lines_.Clear();
        Engine().Verbose = false;
        EXPECT_EQ(ReadInterfaceFile(table_, macros_, path), -1) << path;
        EXPECT_EQ(lines_.Out(), "eng:Impossible de lire le ficher (" + path + ")\n");
        lines_.Clear();
        Engine().Verbose = true;
        EXPECT_EQ(ReadInterfaceFile(table_, macros_, path), -1) << path;
        EXPECT_EQ(lines_.Out(), "eng: Lecture du fichier d'interface(" + path +
                                    ")\n"
                                    "eng:-> Erreur: Impossible de lire le ficher\n");
        EXPECT_EQ(macros_.Size(), 0u);
    }
    ::rmdir(folder.c_str());
    ::unlink(locked.c_str());
}

TEST_F(InterfaceLinesTest, CommentsShortLinesAndEveryKindOfLineEnd)
{
    // LF, CR LF and CR line ends; a comment; a one-character line; an empty last line.
    const std::string text = ";only a comment\nx\r\nCONST A : 1\rCONST B : 2\r\n\r\n;\nCONST C : 3\n";
    EXPECT_EQ(ReadInterfaceText(table_, macros_, text), 0);
    EXPECT_EQ(lines_.Out(), "");
    ASSERT_EQ(macros_.Size(), 3u);
    EXPECT_EQ(macros_.Find("C")->value, "3");
    EXPECT_EQ(ReadInterfaceText(table_, macros_, ""), 0);
    EXPECT_EQ(ReadInterfaceText(table_, macros_, ";\r\n\r\n"), 0);
}

TEST_F(InterfaceLinesTest, ALongLineIsOneErrorLine)
{
    // 9999 characters are a line like any other; 10000 are one refused line, not two pieces,
    // and the lines after it keep their numbers.
    const std::string fits = "CONST A : \"" + std::string(9999 - 12, 'a') + "\"";
    const std::string tooLong = "CONST B : \"" + std::string(10000 - 12, 'b') + "\"";
    ASSERT_EQ(fits.size(), 9999u);
    ASSERT_EQ(tooLong.size(), 10000u);
    const std::string text = fits + "\r\n" + tooLong + "\r\nCONST C : 1 2\r\n";
    EXPECT_EQ(ReadInterfaceText(table_, macros_, text), 2);
    EXPECT_EQ(lines_.Out(),
              "dpb: 2 : Erreur de syntaxe dans l'interface\n"
              "dpb: 3 : Erreur lors de l'interpretation d'une constante de l'interface\n");
    ASSERT_NE(macros_.Find("A"), nullptr);
    EXPECT_EQ(macros_.Find("A")->value.size(), 9999u - 10);
    EXPECT_EQ(macros_.Find("B"), nullptr);
}

TEST(InterfaceLineSplitter, PiecesOfAnySizeGiveTheSameLines)
{
    const std::string text = "one\r\ntwo\rthree\n\r\nfour" + std::string(10005, 'x') + "\r\nlast";
    auto split = [&](size_t pieceSize) {
        std::vector<std::string> lines;
        InterfaceLineSplitter splitter([&](int number, std::string_view line, bool tooLong) {
            lines.push_back(std::to_string(number) + (tooLong ? "!" : ":") + std::string(line.substr(0, 8)));
        });
        for (size_t i = 0; i < text.size(); i += pieceSize)
            splitter.Feed(std::string_view(text).substr(i, pieceSize));
        splitter.Finish();
        return lines;
    };
    const std::vector<std::string> expected = {"1:one", "2:two", "3:three", "4:", "5!fourxxxx", "6:last"};
    EXPECT_EQ(split(text.size()), expected);
    EXPECT_EQ(split(1), expected);
    EXPECT_EQ(split(5), expected);
}

// ---------------------------------------------------------------------------------------------
// Calls through interface entries reach a real CLI.

TEST_F(InterfaceLinesTest, DeclaredCliAndFunctionsRunThroughTheTable)
{
    const std::string cli = std::string(ZOV_BIN_DIR) + "/zovtestcli";
    Apply("CLI t : \"" + cli + "|>>|1|exit|1\"");
    Apply(R"(@echo(@1) : "echo %s")");
    Apply(R"(&seven() : "echo 7")");
    BuiltinContext context = CallContext(1);

    CValue handle;
    ASSERT_TRUE(
        table_.Invoke(table_.IndexOf("t"), std::vector<CValue>{CValue::Text(cli), CValue::Cli(1)}, &handle, context));
    ASSERT_GT(handle.Word(), 0);

    CValue result;
    const int echo = table_.IndexOf("echo");
    const std::vector<CValue> args = {CValue::Text("echo %s"), CValue::Cli(handle.Word()), CValue::Text("hello")};
    ASSERT_TRUE(table_.Invoke(echo, args, &result, context));
    EXPECT_EQ(result.TextView(), "hello");
    ASSERT_TRUE(table_.Invoke(table_.IndexOf("seven"),
                              std::vector<CValue>{CValue::Text("echo 7"), CValue::Cli(handle.Word())}, &result,
                              context));
    EXPECT_EQ(result.Word(), 7);
    StopAllCliProcesses();
}

}  // namespace
}  // namespace zov

// The function table: the 58 built-in prototypes read with the prototype grammar, lookup by
// name, calls through the table, and the failures of initialisation. Also checks both tables
// of the function table (prototypes and interface lines) against an independent reader.
#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/grammar/GrammarTable.h"
#include "LineCapture.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"
#include "../support/GoldCrossCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zov {
namespace {

const std::string kFunctionGrammar = std::string(ZOV_BIN_DIR) + "/Function.cgt";
const std::string kInterfaceGrammar = std::string(ZOV_BIN_DIR) + "/Interface.cgt";
const std::string kTestProgram = std::string(ZOV_BIN_DIR) + "/zovtestprog";

class FunctionTableTest : public ::testing::Test {
protected:
    void SetUp() override { Engine().Reset(); }
    void TearDown() override { Engine().Reset(); }

    // A table with the prototype grammar loaded (and nothing registered).
    static std::unique_ptr<CFunctionTable> Loaded()
    {
        auto table = std::make_unique<CFunctionTable>();
        EXPECT_TRUE(table->LoadGrammar(kFunctionGrammar));
        return table;
    }

    test::LineCapture lines_;
};

std::vector<TypeCode> ParamTypes(const CFunctionTable& table, int index)
{
    const std::span<const TypeCode> types = table.GetParamTypes(index);
    return std::vector<TypeCode>(types.begin(), types.end());
}

TEST_F(FunctionTableTest, RegistersTheBuiltinsInTableOrder)
{
    auto table = Loaded();
    ASSERT_TRUE(RegisterBuiltins(*table));
    EXPECT_EQ(lines_.Out(), "");
    ASSERT_EQ(table->GetCount(), 58);

    // The name is the word before '(' of each prototype: the order is the table's.
    for (int i = 0; i < 58; ++i) {
        const std::string_view prototype = BuiltinTable[static_cast<size_t>(i)].Prototype;
        const std::string_view head = prototype.substr(0, prototype.find('('));
        const std::string_view name = head.substr(head.rfind(' ') + 1);
        const CFunctionEntry* entry = table->GetEntry(i);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, name) << i;
        EXPECT_EQ(entry->InterfaceFlag, 0) << name;
        EXPECT_FALSE(entry->CliDeclaration) << name;
        EXPECT_NE(entry->Builtin, nullptr) << name;
        EXPECT_EQ(table->IndexOf(name), i) << name;
    }

    struct Case {
        const char* name;
        int index;
        TypeCode returnType;
        std::vector<TypeCode> params;
    };
    const Case cases[] = {
        {"pause", 0, kTypeVoid, {kTypeInteger}},
        {"killall", 7, kTypeVoid, {}},
        {"strextract", 13, kTypeString, {kTypeString, kTypeString, kTypeInteger}},
        {"time", 23, kTypeReal, {}},
        {"trace", 25, kTypeVoid, {kTypeAny, kTypeAny, kTypeAny, kTypeAny, kTypeAny}},
        {"bool2str", 31, kTypeString, {kTypeBoolean}},
        {"dateDMY", 34, kTypeString, {}},
        {"round", 44, kTypeReal, {kTypeReal, kTypeInteger}},
        {"abs", 48, kTypeAny, {kTypeAny}},
        {"max", 57, kTypeAny, {kTypeAny, kTypeAny}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(table->IndexOf(c.name), c.index);
        EXPECT_EQ(table->GetReturnType(c.index), c.returnType);
        EXPECT_EQ(table->GetParamCount(c.index), static_cast<int>(c.params.size()));
        EXPECT_EQ(ParamTypes(*table, c.index), c.params);
    }
}

TEST_F(FunctionTableTest, NamesAreCaseSensitiveAndUnknownNamesAreMinusOne)
{
    auto table = Loaded();
    ASSERT_TRUE(RegisterBuiltins(*table));
    EXPECT_EQ(table->IndexOf("trace"), 25);
    EXPECT_EQ(table->IndexOf("Trace"), -1);
    EXPECT_EQ(table->IndexOf("datedmy"), -1);
    EXPECT_EQ(table->IndexOf(""), -1);
    EXPECT_EQ(table->GetEntry(58), nullptr);
    EXPECT_EQ(table->GetEntry(-1), nullptr);
    EXPECT_EQ(table->GetParamCount(99), 0);
    EXPECT_TRUE(table->GetParamTypes(99).empty());
}

TEST_F(FunctionTableTest, EveryBuiltinIsServedByTheLibraryHandlerOfItsName)
{
    auto table = Loaded();
    ASSERT_TRUE(RegisterBuiltins(*table));
    int fromLibrary = 0;
    for (int i = 0; i < table->GetCount(); ++i) {
        const CFunctionEntry* entry = table->GetEntry(i);
        if (BuiltinHandler handler = FindBuiltinHandler(entry->Name)) {
            EXPECT_EQ(entry->Builtin, handler) << entry->Name;
            ++fromLibrary;
        }
    }
    // All but exec, kill, killall and run, which the process layer serves.
    EXPECT_EQ(fromLibrary, 54);
}

TEST_F(FunctionTableTest, MissingPrototypeGrammarFailsEveryBuiltinAndTheCount)
{
    CFunctionTable table;
    EXPECT_FALSE(table.LoadGrammar("no-such-folder/Function.cgt"));
    EXPECT_FALSE(table.IsLoaded());
    EXPECT_FALSE(RegisterBuiltins(table));
    std::string expected = "eng:Impossible de lire le ficher (no-such-folder/Function.cgt)\n";
    for (int i = 0; i < 58; ++i)
        expected += "eng:-> Erreur: Impossible d'integrer une fonction\n";
    expected += "eng: Mauvaise initialisation des fonctions (0 - 58)\n";
    EXPECT_EQ(lines_.Out(), expected);
    EXPECT_EQ(table.GetCount(), 0);
}

TEST_F(FunctionTableTest, GrammarReadingLinesWhenVerbose)
{
    Engine().Verbose = true;
    CFunctionTable table;
    EXPECT_TRUE(table.LoadGrammar(kFunctionGrammar));
    EXPECT_FALSE(table.LoadGrammar("missing.cgt"));
    EXPECT_EQ(lines_.Out(), "eng:Lecture du fichier grammaire (" + kFunctionGrammar +
                                ")\n"
                                "eng:-> succes\n"
                                "eng:Lecture du fichier grammaire (missing.cgt)\n"
                                "eng:-> Erreur: Impossible de lire le ficher\n");
    // A failed load clears the flag set by the one before.
    EXPECT_FALSE(table.IsLoaded());
}

TEST_F(FunctionTableTest, BadPrototypesWriteTheirErrorsAndAreNotRegistered)
{
    struct Case {
        const char* prototype;
        const char* lines;
    };
    const Case cases[] = {
        {"void f(int)", "err: 1 :  Erreur de syntaxe\n"},     // a parameter without a name
        {"void f(int a,)", "err: 1 :  Erreur de syntaxe\n"},  // nothing after the comma
        {"Int f()", "err: 1 :  Erreur de syntaxe\n"},         // types keep their case
        {"void f(int a) $", "err: 1 : Erreur de syntaxe\n"},  // not a character of the language
        {"void f(\n\nint)", "err: 3 :  Erreur de syntaxe\n"},
    };
    auto table = Loaded();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prototype);
        lines_.Clear();
        EXPECT_EQ(table->AddBuiltin(&BuiltinNoResult, c.prototype), 1);
        EXPECT_EQ(lines_.Out(), c.lines);
    }
    EXPECT_EQ(table->GetCount(), 0);
}

TEST_F(FunctionTableTest, SixteenParametersAtMost)
{
    auto prototype = [](int count) {
        std::string text = "int f(";
        for (int i = 0; i < count; ++i)
            text += (i ? ", int p" : "int p") + std::to_string(i);
        return text + ")";
    };
    auto table = Loaded();
    EXPECT_EQ(table->AddBuiltin(&BuiltinNoResult, prototype(16)), 0);
    EXPECT_EQ(table->GetParamCount(0), 16);
    EXPECT_EQ(lines_.Out(), "");
    EXPECT_EQ(table->AddBuiltin(&BuiltinNoResult, prototype(17)), 1);
    EXPECT_EQ(lines_.Out(), "eng:-> Erreur: Impossible d'integrer une fonction\n");
    EXPECT_EQ(table->GetCount(), 1);
}

// A handler that keeps what it was given and answers with a value prepared by the test.
std::vector<CValue> seenArgs;
CValue preparedResult;

CValue Recorder(BuiltinContext&, std::span<const CValue> args)
{
    seenArgs.assign(args.begin(), args.end());
    return preparedResult;
}

TEST_F(FunctionTableTest, InvokePassesTypedValuesAndStoresByReturnType)
{
    auto table = Loaded();
    ASSERT_EQ(table->AddBuiltin(&Recorder, "double fd(char* a, int b, double c)"), 0);
    ASSERT_EQ(table->AddBuiltin(&Recorder, "char* fs()"), 0);
    ASSERT_EQ(table->AddBuiltin(&Recorder, "void fv()"), 0);
    ASSERT_EQ(table->AddBuiltin(&Recorder, "int fi()"), 0);
    BuiltinContext context = CallContext(1);

    // Three values of three types arrive whole and in order: no extra value, nothing cut.
    const std::vector<CValue> args = {CValue::Text("a text"), CValue::Integer(-7), CValue::Real(0.25)};
    preparedResult = CValue::Real(2.5);
    CValue result = CValue::Integer(41);
    ASSERT_TRUE(table->Invoke(0, args, &result, context));
    ASSERT_EQ(seenArgs.size(), 3u);
    EXPECT_EQ(seenArgs[0].TextView(), "a text");
    EXPECT_EQ(seenArgs[1].Word(), -7);
    EXPECT_EQ(seenArgs[2].RealValue(), 0.25);
    // A double result goes to the real and leaves the word as it was.
    EXPECT_EQ(result.RealValue(), 2.5);
    EXPECT_EQ(result.Word(), 41);

    preparedResult = CValue::Text("made");
    ASSERT_TRUE(table->Invoke(1, {}, &result, context));
    EXPECT_EQ(result.TextView(), "made");
    preparedResult = CValue{};  // no text
    ASSERT_TRUE(table->Invoke(1, {}, &result, context));
    EXPECT_FALSE(result.HasText());

    preparedResult = CValue::Integer(99);
    CValue untouched = CValue::Integer(5);
    ASSERT_TRUE(table->Invoke(2, {}, &untouched, context));
    EXPECT_EQ(untouched.Word(), 5);
    ASSERT_TRUE(table->Invoke(3, {}, &result, context));
    EXPECT_EQ(result.Word(), 99);
    // A call used as a statement has no result value.
    EXPECT_TRUE(table->Invoke(3, {}, nullptr, context));

    EXPECT_FALSE(table->Invoke(4, {}, &result, context));
    EXPECT_FALSE(table->Invoke(-1, {}, &result, context));
}

TEST_F(FunctionTableTest, RegisteredBuiltinsRunThroughTheTable)
{
    auto table = Loaded();
    ASSERT_TRUE(RegisterBuiltins(*table));
    BuiltinContext context = CallContext(3);
    CValue result;

    const std::vector<CValue> text = {CValue::Text("Abc")};
    ASSERT_TRUE(table->Invoke(table->IndexOf("strupper"), text, &result, context));
    EXPECT_EQ(result.TextView(), "ABC");
    ASSERT_TRUE(table->Invoke(table->IndexOf("strsize"), text, &result, context));
    EXPECT_EQ(result.Word(), 3);

    // The process built-ins, adapted from their own signatures.
    const std::vector<CValue> run = {CValue::Text(kTestProgram + " text hello"), CValue::Integer(0)};
    ASSERT_TRUE(table->Invoke(table->IndexOf("run"), run, &result, context));
    EXPECT_EQ(result.TextView(), "hello");
    const std::vector<CValue> missing = {CValue::Text("/no/such/program")};
    ASSERT_TRUE(table->Invoke(table->IndexOf("exec"), missing, &result, context));
    EXPECT_EQ(result.Word(), 0);
    ASSERT_TRUE(table->Invoke(table->IndexOf("killall"), {}, nullptr, context));
}

TEST_F(FunctionTableTest, InstalledTableIsTheProcessWideOne)
{
    auto table = Loaded();
    CFunctionTable* raw = table.get();
    EXPECT_EQ(InstallFunctionTable(std::move(table)), raw);
    EXPECT_EQ(GetFunctionTable(), raw);
}

// ---------------------------------------------------------------------------------------------
// Both tables against an independent reader of the format (@warfley/node-gold-engine).

TEST(FunctionTableGrammars, PrototypeTableAgreesWithAnIndependentReader)
{
    std::vector<std::string> samples;
    for (const BuiltinPrototype& row : BuiltinTable)
        samples.emplace_back(row.Prototype);
    for (const char* bad : {"void f(int)", "void f(int a,)", "Int f()", "char * f()", "void f(int a) $", "f()",
                            "void f(int a, int b", "void\tf ( bool b )"})
        samples.emplace_back(bad);
    ZOV_NEED_INDEPENDENT_READER();
    test::ExpectSameVerdicts(kFunctionGrammar, samples);
}

TEST(FunctionTableGrammars, InterfaceTableAgreesWithAnIndependentReader)
{
    const std::vector<std::string> samples = {
        "CLI dov : \"dovrel|>>|0|exit|1\"",
        "CLI dov : \"\"/opt/my tool/t\" -v|>>|1|quit|0|1\"",
        "CLI dov : \"dovrel|>>|0|exit|1\"  \r",
        "_stop() : \"stop\"",
        "&add(@1, @2) : \"add %s %s\"",
        "@name(@1) : \"say \"%s\"\"",
        "$avg(@1, @2, @3) : \"avg %s %s %s\"",
        "#ok() : \"ok\"",
        "CONST A : 12",
        "CONST N : -0x1F",
        "CONST R : 1.5e-3",
        "CONST B : true",
        "CONST S : \"C:\\\\Program Files\\\\ZOV\"",
        "CONST E :",
        "MACRO M : {a & b;c & \"d&e\"}",
        "MACRO M :",
        "cli dov : \"dovrel|>>|0|exit|1\"",
        "Const A : 1",
        "CONST A : 1 2",
        "CONST A : \"a\" b",
        "@f(@1,) : \"x\"",
        "@f(@1) \"x\"",
        "_(@1) : \"x\"",
        "&f() : \"unclosed",
        "MACRO M : {unclosed",
        "CLI : \"a|b|0|e|1\"",
    };
    ZOV_NEED_INDEPENDENT_READER();
    test::ExpectSameVerdicts(kInterfaceGrammar, samples);
}

}  // namespace
}  // namespace zov

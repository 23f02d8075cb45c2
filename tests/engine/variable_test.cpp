// Declarations and uses of variables in small trees, analysed and run as the engine does.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/expressions/IdUse.h"
#include "LineCapture.h"
#include "engine/base/Output.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {
namespace {

class CapturedOutput : public test::LineCapture {
public:
    std::string Text() const { return Out(); }
};

// A constant of a given type.
class Constant final : public CExpression {
public:
    Constant(CValue value, TypeCode type) : value_(std::move(value)), type_(type) {}
    int TypeAnalysis(CSymbolStore*, TypeCode& type, CErrorList&, std::uint32_t) override
    {
        type = type_;
        return kAnalysisDone;
    }
    JumpTarget Execute(CSymbolStore*, CValue& out, CDebugger&) override
    {
        out.AssignAs(type_, value_);
        return nullptr;
    }

private:
    CValue value_;
    TypeCode type_;
};

// The assignment as the statements will drive a declaration: the value straight into the
// cells, an element through the array checks.
class Assign final : public CStatement {
public:
    // The value is analysed before the target is declared, so `x = x + 1` reads the x before.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override
    {
        Child(1)->NameAnalysis(scope, errors);
        return Child(0)->NameAnalysis(scope, errors);
    }
    JumpTarget Execute(CSymbolStore* scope, CValue&, CDebugger& debugger) override
    {
        auto* target = static_cast<CIdDecl*>(Child(0));
        if (!ReportLine(debugger, Line()))
            return nullptr;
        CVariable& cells = target->Variable()->Storage();
        if (!cells.IsArray()) {
            JumpTarget jump = Child(1)->Execute(scope, cells.Value(), debugger);
            CSymbolStore::Record(cells);
            return jump;
        }
        CValue index;
        if (target->Index())
            target->Index()->Execute(scope, index, debugger);
        else
            index.SetWord(-1);
        ArrayAccess access;
        CValue* cell = cells.ElementForWrite(index.Word(), access);
        if (!cell) {
            RunTimeError(debugger, ArrayAccessMessage(access, true));
            return nullptr;
        }
        return Child(1)->Execute(scope, *cell, debugger);
    }
};

// `dim`: the declaration's cells become an array of the initial value's type.
class Dim final : public CStatement {
public:
    int TypeAnalysis(CSymbolStore* scope, TypeCode& type, CErrorList& errors, std::uint32_t word) override
    {
        Child(2)->TypeAnalysis(scope, type, errors, word);
        auto* target = static_cast<CIdDecl*>(Child(0));
        target->BindType(scope, type, errors, word);
        target->Variable()->MarkArray();
        return kAnalysisDone;
    }
    JumpTarget Execute(CSymbolStore* scope, CValue&, CDebugger& debugger) override
    {
        CValue count;
        CValue initial;
        Child(1)->Execute(scope, count, debugger);
        Child(2)->Execute(scope, initial, debugger);
        TypeCode type = kTypeUndetermined;
        CErrorList scratch(ErrorListUse::Scratch);
        Child(2)->TypeAnalysis(scope, type, scratch, 0);
        static_cast<CIdDecl*>(Child(0))->Variable()->Allocate(count.Word(), type, initial);
        return nullptr;
    }
};

// Reads a use into a slot that the test inspects.
class Read final : public CStatement {
public:
    explicit Read(CValue& into) : into_(into) {}
    JumpTarget Execute(CSymbolStore* scope, CValue&, CDebugger& debugger) override
    {
        if (!ReportLine(debugger, Line()))
            return nullptr;
        return Child(0)->Execute(scope, into_, debugger);
    }

private:
    CValue& into_;
};

template <typename T, typename... Args>
T* Add(CAny& parent, unsigned line, Args&&... args)
{
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = child.get();
    raw->SetPosition(static_cast<std::uint16_t>(line), 1);
    raw->SetParent(&parent);
    parent.AddChild(std::move(child));
    return raw;
}

class VariableTest : public ::testing::Test {
protected:
    CIdDecl* Declare(CAny& statement, std::string_view name)
    {
        CIdDecl* decl = Add<CIdDecl>(statement, statement.Line());
        decl->SetVariableName(name);
        return decl;
    }
    CIdUse* Use(CAny& parent, std::string_view name)
    {
        CIdUse* use = Add<CIdUse>(parent, parent.Line());
        use->SetVariableName(name);
        return use;
    }
    // name = value
    Assign* Let(CAny& list, unsigned line, std::string_view name, CValue value, TypeCode type)
    {
        Assign* a = Add<Assign>(list, line);
        Declare(*a, name);
        Add<Constant>(*a, line, std::move(value), type);
        return a;
    }
    // name(index) = value
    Assign* LetElement(CAny& list, unsigned line, std::string_view name, std::int32_t index, CValue value,
                       TypeCode type)
    {
        Assign* a = Add<Assign>(list, line);
        CIdDecl* decl = Declare(*a, name);
        Add<Constant>(*decl, line, CValue::Integer(index), kTypeInteger);
        Add<Constant>(*a, line, std::move(value), type);
        return a;
    }
    Dim* DimArray(CAny& list, unsigned line, std::string_view name, std::int32_t count, CValue initial, TypeCode type)
    {
        Dim* d = Add<Dim>(list, line);
        Declare(*d, name);
        Add<Constant>(*d, line, CValue::Integer(count), kTypeInteger);
        Add<Constant>(*d, line, std::move(initial), type);
        return d;
    }
    // into = name, or into = name(index) when index >= -1
    CIdUse* ReadInto(CAny& list, unsigned line, std::string_view name, CValue& into, bool indexed = false,
                     std::int32_t index = 0)
    {
        Read* r = Add<Read>(list, line, into);
        CIdUse* use = Use(*r, name);
        if (indexed)
            Add<Constant>(*use, line, CValue::Integer(index), kTypeInteger);
        return use;
    }

    // Both analyses as the engine runs them; true when no error was found.
    bool Analyse(CAny& root, CSymbolStore& scope)
    {
        if (root.NameAnalysis(&scope, errors) != kAnalysisDone || !errors.Empty())
            return false;
        TypeCode type = kTypeUndetermined;
        return root.TypeAnalysis(&scope, type, errors, 0) == kAnalysisDone && errors.Empty();
    }
    std::string ErrorTexts() const
    {
        std::string all;
        for (const CAnalysisError& e : errors.Errors())
            all += std::to_string(e.line) + ": " + e.text + "\n";
        return all;
    }
    void Run(CAny& root, CSymbolStore& scope)
    {
        CValue scratch;
        root.Execute(&scope, scratch, debugger);
    }

    VariableTest() { engine.NotifyLines = false; }

    CSymbolStore global;
    CErrorList errors;
    EngineState engine;
    CDebugger debugger{engine};
};

TEST_F(VariableTest, NameOf64CharactersAcceptedAnd65Refused)
{
    const std::string name64(64, 'n');
    const std::string name65 = name64 + "x";
    {
        CAny root;
        Let(root, 1, name64, CValue::Integer(5), kTypeInteger);
        CValue out;
        ReadInto(root, 2, name64, out);
        ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
        Run(root, global);
        EXPECT_EQ(out.Word(), 5);
    }
    {
        CAny root;
        Let(root, 3, name65, CValue::Integer(5), kTypeInteger);
        CValue out;
        ReadInto(root, 4, name65, out);
        EXPECT_FALSE(Analyse(root, global));
        EXPECT_EQ(ErrorTexts(),
                  "3: Le nom de variable comprend plus de 64 caracteres\n"
                  "4: Le nom de variable comprend plus de 64 caracteres\n");
    }
}

TEST_F(VariableTest, NamesAreCaseSensitive)
{
    CAny root;
    Let(root, 1, "Count", CValue::Integer(1), kTypeInteger);
    Let(root, 2, "count", CValue::Integer(2), kTypeInteger);
    CValue upper;
    CValue lower;
    ReadInto(root, 3, "Count", upper);
    ReadInto(root, 4, "count", lower);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    Run(root, global);
    EXPECT_EQ(upper.Word(), 1);
    EXPECT_EQ(lower.Word(), 2);

    CAny other;
    CValue none;
    ReadInto(other, 5, "COUNT", none);
    errors.Clear();
    EXPECT_FALSE(Analyse(other, global));
    EXPECT_EQ(ErrorTexts(), "5: La variable 'COUNT' n'a pas ete initialisee\n");
}

TEST_F(VariableTest, UseBeforeAnyDeclarationIsRefused)
{
    CAny root;
    CValue out;
    ReadInto(root, 1, "x", out);
    Let(root, 2, "x", CValue::Integer(1), kTypeInteger);
    EXPECT_FALSE(Analyse(root, global));
    EXPECT_EQ(ErrorTexts(), "1: La variable 'x' n'a pas ete initialisee\n");
}

TEST_F(VariableTest, RedeclarationWithAnotherTypeGetsItsOwnCells)
{
    CAny root;
    Let(root, 1, "x", CValue::Integer(7), kTypeInteger);
    CValue before;
    ReadInto(root, 2, "x", before);
    Let(root, 3, "x", CValue::Text("abc"), kTypeString);
    CValue after;
    CIdUse* use = ReadInto(root, 4, "x", after);
    Let(root, 5, "x", CValue::Integer(9), kTypeInteger);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    EXPECT_EQ(use->OperandType(), kTypeString);
    Run(root, global);
    EXPECT_EQ(before.Word(), 7);
    EXPECT_EQ(after.TextView(), "abc");
    // The debugger sees the cells written last.
    EXPECT_EQ(global.FindVariable("x")->Value().Word(), 9);
}

TEST_F(VariableTest, ParameterTakesTheTypeOfItsDefault)
{
    // proc p(s = "text"): the parameter is an assignment under the procedure.
    CAny procedure;
    procedure.SetImage("proc");
    CAny* parameters = Add<CStatement>(procedure, 1);
    Assign* parameter = Add<Assign>(*parameters, 1);
    CIdDecl* decl = Declare(*parameter, "s");
    Add<Constant>(*parameter, 1, CValue::Text("text"), kTypeString);
    CSymbolStore own(&global);
    ASSERT_TRUE(Analyse(procedure, own)) << ErrorTexts();
    EXPECT_EQ(decl->Variable()->Type(), kTypeString);
}

TEST_F(VariableTest, UndeterminedTypeIsReported)
{
    CAny root;
    Let(root, 1, "a", CValue(), kTypeUndetermined);
    Let(root, 2, "a", CValue(), kTypeUndetermined);
    EXPECT_FALSE(Analyse(root, global));
    EXPECT_EQ(ErrorTexts(),
              "1: La variable 'a' a un type indefinit\n"
              "2: L'expression 'a' a un type indefinit\n");
}

// An operator with the shared operand check only.
class Sum final : public CExpression {};

TEST_F(VariableTest, ValueErrorsAreReportedOnceThoughTheDeclarationLooksAgain)
{
    CAny root;
    Assign* a = Add<Assign>(root, 4);
    Declare(*a, "x");
    Sum* sum = Add<Sum>(*a, 4);
    Add<Constant>(*sum, 4, CValue::Integer(1), kTypeInteger);
    Add<Constant>(*sum, 4, CValue::Real(2.5), kTypeReal);
    CapturedOutput out;
    EXPECT_FALSE(Analyse(root, global));
    EXPECT_EQ(ErrorTexts(),
              "4: L'expression est non conforme car plusieurs types differents sont utilises dans l'expression\n");
    EXPECT_EQ(out.Text(), "DEBUG <CExpression::TypeAnalysis> Error\n");
}

TEST_F(VariableTest, DimWithCountZeroMakesOneElement)
{
    CAny root;
    DimArray(root, 1, "a", 0, CValue::Integer(4), kTypeInteger);
    CValue first;
    ReadInto(root, 2, "a", first, true, 0);
    CValue second = CValue::Integer(-7);
    ReadInto(root, 3, "a", second, true, 1);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    CapturedOutput out;
    Run(root, global);
    EXPECT_EQ(global.FindVariable("a")->ElementCount(), 1);
    EXPECT_EQ(first.Word(), 4);
    EXPECT_EQ(second.Word(), -7);
    EXPECT_EQ(out.Text(), "err: 003 : Indice trop grand pour ce tableau (1)\n");
}

struct ArrayReadCase {
    const char* what;
    TypeCode type;
    CValue initial;
    bool dimmed;
    std::int32_t index;
    const char* expectedOutput;
};

TEST_F(VariableTest, OutOfRangeReads)
{
    const ArrayReadCase cases[] = {
        {"integer, index = count", kTypeInteger, CValue::Integer(1), true, 3,
         "err: 002 : Indice trop grand pour ce tableau (3)\n"},
        {"string, index = count", kTypeString, CValue::Text("s"), true, 3,
         "err: 002 : Indice trop grand pour ce tableau\n"},
        {"real, index = count", kTypeReal, CValue::Real(1.5), true, 3,
         "err: 002 : Indice trop grand pour ce tableau\n"},
        {"negative index", kTypeInteger, CValue::Integer(1), true, -1, ""},
        // Indexing the name makes it an array, so the plain assignment before already fails.
        {"never dimmed", kTypeInteger, CValue::Integer(1), false, 0, "err: 001 : Le tableau n'est pas initialise\n"},
        {"last element", kTypeInteger, CValue::Integer(1), true, 2, ""},
    };
    for (const ArrayReadCase& c : cases) {
        CSymbolStore scope;
        CDebugger runDebugger{engine};
        CAny root;
        if (c.dimmed)
            DimArray(root, 1, "a", 3, c.initial, c.type);
        else
            Let(root, 1, "a", c.initial, c.type);
        CValue out = CValue::Integer(55);
        ReadInto(root, 2, "a", out, true, c.index);
        Let(root, 3, "after", CValue::Integer(1), kTypeInteger);
        errors.Clear();
        ASSERT_TRUE(Analyse(root, scope)) << c.what << ErrorTexts();
        CapturedOutput captured;
        CValue scratch;
        root.Execute(&scope, scratch, runDebugger);
        EXPECT_EQ(captured.Text(), c.expectedOutput) << c.what;
        const bool failed = *c.expectedOutput != '\0';
        EXPECT_EQ(runDebugger.Aborting(), failed) << c.what;
        // After a run-time error the next statement does not run.
        EXPECT_EQ(scope.FindVariable("after")->Value().Word(), failed ? 0 : 1) << c.what;
        if (c.index < 0) {
            EXPECT_EQ(out.Word(), 55) << c.what;
        }
    }
}

TEST_F(VariableTest, OutOfRangeWrites)
{
    const struct {
        std::int32_t index;
        const char* expected;
    } cases[] = {
        {-1, "err: 002 : Copie de tableau non authorisee\n"},
        {2, "err: 002 : Indice trop grand pour ce tableau\n"},
        {1, ""},
    };
    for (const auto& c : cases) {
        CSymbolStore scope;
        CDebugger runDebugger{engine};
        CAny root;
        DimArray(root, 1, "a", 2, CValue::Integer(0), kTypeInteger);
        LetElement(root, 2, "a", c.index, CValue::Integer(8), kTypeInteger);
        errors.Clear();
        ASSERT_TRUE(Analyse(root, scope)) << ErrorTexts();
        CapturedOutput captured;
        CValue scratch;
        root.Execute(&scope, scratch, runDebugger);
        EXPECT_EQ(captured.Text(), c.expected) << c.index;
        if (!*c.expected) {
            EXPECT_EQ(scope.FindVariable("a")->Element(1)->Word(), 8);
        }
    }
}

TEST_F(VariableTest, StringArrayElementsAreCopiedNotShared)
{
    CAny root;
    DimArray(root, 1, "s", 2, CValue::Text("first"), kTypeString);
    LetElement(root, 2, "s", 1, CValue::Text("second"), kTypeString);
    CValue a;
    CValue b;
    ReadInto(root, 3, "s", a, true, 0);
    ReadInto(root, 4, "s", b, true, 1);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    Run(root, global);
    EXPECT_EQ(a.TextView(), "first");
    EXPECT_EQ(b.TextView(), "second");
    const CVariable* s = global.FindVariable("s");
    EXPECT_NE(a.TextView().data(), s->Element(0)->TextView().data());
    EXPECT_EQ(s->Type(), kTypeString);
    // Running again overwrites and frees each text once (the sanitizers watch this).
    Run(root, global);
    EXPECT_EQ(b.TextView(), "second");
}

TEST_F(VariableTest, ArrayElementCannotChangeType)
{
    CAny root;
    DimArray(root, 1, "a", 2, CValue::Integer(0), kTypeInteger);
    LetElement(root, 2, "a", 0, CValue::Text("x"), kTypeString);
    EXPECT_FALSE(Analyse(root, global));
    EXPECT_EQ(ErrorTexts(), "2: Type incompatible avec le type du tableau\n");
}

TEST_F(VariableTest, ArrayWithoutIndexHasTheWholeArrayType)
{
    CAny root;
    DimArray(root, 1, "a", 2, CValue::Integer(0), kTypeInteger);
    CValue out;
    CIdUse* whole = ReadInto(root, 2, "a", out);
    CIdUse* element = ReadInto(root, 3, "a", out, true, 1);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    EXPECT_EQ(whole->OperandType(), kTypeWholeArray);
    EXPECT_EQ(element->OperandType(), kTypeInteger);
}

TEST_F(VariableTest, ProcedureUsingAnEnclosingArrayIsRefused)
{
    CAny root;
    DimArray(root, 1, "a", 2, CValue::Integer(0), kTypeInteger);
    DimArray(root, 2, "cli", 2, CValue::Cli(0), kTypeCli);
    Let(root, 3, "n", CValue::Integer(0), kTypeInteger);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();

    CSymbolStore own(&global);
    CAny body;
    CValue out;
    ReadInto(body, 10, "a", out, true, 0);
    ReadInto(body, 11, "a", out);
    ReadInto(body, 12, "cli", out, true, 0);  // arrays of CLI handles may be used
    ReadInto(body, 13, "n", out);             // and plain variables
    EXPECT_FALSE(Analyse(body, own));
    EXPECT_EQ(ErrorTexts(),
              "10: La variable 'a' est un tableau, l'utilisation est incorrecte.\n"
              "11: La variable 'a' est un tableau, l'utilisation est incorrecte.\n");
}

TEST_F(VariableTest, ProcedureRedeclaringAGlobalWritesItsCells)
{
    CAny root;
    Let(root, 1, "total", CValue::Integer(1), kTypeInteger);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();

    CSymbolStore own(&global);
    CAny body;
    Let(body, 5, "total", CValue::Integer(2), kTypeInteger);
    Let(body, 6, "local", CValue::Integer(3), kTypeInteger);
    ASSERT_TRUE(Analyse(body, own)) << ErrorTexts();
    Run(root, global);
    Run(body, own);
    EXPECT_EQ(global.FindVariable("total")->Value().Word(), 2);
    EXPECT_EQ(global.FindVariable("local"), nullptr);
    EXPECT_EQ(own.FindVariable("local")->Value().Word(), 3);
}

TEST_F(VariableTest, IntegerReadKeepsDisplayBaseOnlyForFreshValues)
{
    CAny root;
    Let(root, 1, "h", CValue::Integer(255, 16, true), kTypeInteger);
    CValue plain;
    CValue fresh;
    fresh.SetBase(kNoBase);
    ReadInto(root, 2, "h", plain);
    ReadInto(root, 3, "h", fresh);
    ASSERT_TRUE(Analyse(root, global)) << ErrorTexts();
    Run(root, global);
    EXPECT_EQ(plain.Word(), 255);
    EXPECT_EQ(plain.Base(), kDefaultBase);
    EXPECT_EQ(fresh.Base(), 16u);
    EXPECT_TRUE(fresh.Based());
}

}  // namespace
}  // namespace zov

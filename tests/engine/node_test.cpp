#include "engine/tree/Node.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "LineCapture.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {
namespace {

class CapturedOutput : public test::LineCapture {
public:
    std::string Text() const { return Out(); }
};

using Log = std::vector<std::string>;

// A statement that notes its name when run, reports its line, and can jump or fail.
class Step : public CStatement {
public:
    Step(Log& log, std::string name, unsigned line = 1) : log_(log), name_(std::move(name))
    {
        SetPosition(static_cast<std::uint16_t>(line), 1);
    }
    JumpTarget Execute(CSymbolStore*, CValue&, CDebugger& debugger) override
    {
        if (!ReportLine(debugger, Line()))
            return nullptr;
        log_.push_back(name_);
        if (failWith_)
            RunTimeError(debugger, failWith_);
        if (jumps_ > 0) {
            --jumps_;
            return target_;
        }
        return nullptr;
    }
    int NameAnalysis(CSymbolStore*, CErrorList&) override
    {
        log_.push_back("name " + name_);
        return kAnalysisFailed;
    }
    int TypeAnalysis(CSymbolStore*, TypeCode& type, CErrorList&, std::uint32_t) override
    {
        log_.push_back("type " + name_);
        type = kTypeInteger;
        return kAnalysisFailed;
    }
    void JumpTo(CAny* target, int times = 1)
    {
        target_ = target;
        jumps_ = times;
    }
    void FailWith(const char* message) { failWith_ = message; }

private:
    Log& log_;
    std::string name_;
    CAny* target_ = nullptr;
    int jumps_ = 0;
    const char* failWith_ = nullptr;
};

// A procedure declaration: runs only when jumped to, then goes back to its return point.
class Procedure : public CStatement {
public:
    Procedure(Log& log) : log_(log) { MarkProcedureDeclaration(); }
    JumpTarget Execute(CSymbolStore*, CValue&, CDebugger&) override
    {
        log_.push_back("proc");
        return returnPoint_;
    }
    void SetReturnPoint(JumpTarget resumeAt) override { returnPoint_ = resumeAt; }

private:
    Log& log_;
    JumpTarget returnPoint_ = nullptr;
};

template <typename T, typename... Args>
T* Add(CAny& parent, Args&&... args)
{
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = child.get();
    child->SetParent(&parent);
    parent.AddChild(std::move(child));
    return raw;
}

class NodeTest : public ::testing::Test {
protected:
    JumpTarget Run(CAny& root)
    {
        CValue value;
        return root.Execute(&scope, value, debugger);
    }

    NodeTest() { engine.NotifyLines = false; }

    Log log;
    EngineState engine;
    CDebugger debugger{engine};
    CSymbolStore scope;
};

TEST_F(NodeTest, ListRunsItsStatementsInOrder)
{
    CAny list;
    Add<Step>(list, log, "a");
    Add<Step>(list, log, "b");
    Add<Step>(list, log, "c");
    EXPECT_EQ(Run(list), nullptr);
    EXPECT_EQ(log, (Log{"a", "b", "c"}));
}

TEST_F(NodeTest, NothingRunsAfterARunTimeError)
{
    int cliStops = 0;
    ClearProcessHooks();
    AddStopAllClisHook([&] { ++cliStops; });

    CAny root;
    CAny* inner = Add<CStatement>(root);
    Add<Step>(*inner, log, "a", 2);
    Add<Step>(*inner, log, "fails", 3)->FailWith("Division par 0");
    Add<Step>(*inner, log, "after in the same list", 4);
    Add<Step>(root, log, "after in the enclosing list", 5);

    engine.NotifyLines = true;
    CapturedOutput out;
    EXPECT_EQ(Run(root), nullptr);
    EXPECT_EQ(log, (Log{"a", "fails"}));
    // No line report either once the run is ending.
    EXPECT_EQ(out.Text(), "cmd: run : 2\ncmd: run : 3\nerr: 003 : Division par 0\n");
    EXPECT_TRUE(debugger.Aborting());
    EXPECT_EQ(cliStops, 1);
    EXPECT_FALSE(ReportLine(debugger, 6));

    // A second run of the same tree does nothing while the run is aborting.
    log.clear();
    EXPECT_EQ(Run(root), nullptr);
    EXPECT_TRUE(log.empty());
    ClearProcessHooks();
}

TEST_F(NodeTest, RunTimeErrorWithIndex)
{
    CapturedOutput out;
    ReportLine(debugger, 1234);
    RunTimeError(debugger, "Indice trop grand pour ce tableau", 5);
    EXPECT_EQ(out.Text(), "err: 1234 : Indice trop grand pour ce tableau (5)\n");
    EXPECT_TRUE(debugger.Aborting());
}

TEST_F(NodeTest, RunTimeErrorTextIsNoFormat)
{
    CapturedOutput out;
    ReportLine(debugger, 7);
    RunTimeError(debugger, "100% %s");
    EXPECT_EQ(out.Text(), "err: 007 : 100% %s\n");
}

TEST_F(NodeTest, JumpBackwardsInTheSameList)
{
    CAny list;
    Add<Step>(list, log, "a");
    Step* label = Add<Step>(list, log, "label");
    Add<Step>(list, log, "b");
    Add<Step>(list, log, "goto")->JumpTo(label, 2);
    EXPECT_EQ(Run(list), nullptr);
    EXPECT_EQ(log, (Log{"a", "label", "b", "goto", "label", "b", "goto", "label", "b", "goto"}));
}

TEST_F(NodeTest, JumpClimbsToTheListThatHoldsTheTarget)
{
    CAny root;
    CAny* loopBody = Add<CStatement>(root);
    Step* jump = Add<Step>(*loopBody, log, "goto");
    Add<Step>(*loopBody, log, "skipped in the body");
    Add<Step>(root, log, "skipped after the body");
    Step* label = Add<Step>(root, log, "label");
    jump->JumpTo(label);
    EXPECT_EQ(Run(root), nullptr);
    EXPECT_EQ(log, (Log{"goto", "label"}));
}

TEST_F(NodeTest, TargetFoundAgainAfterTheListChanged)
{
    // The position a target was found at is only a hint: a list built differently around it
    // still finds it.
    CAny first;
    Step* label = Add<Step>(first, log, "label");
    Add<Step>(first, log, "goto")->JumpTo(label);
    Run(first);

    CAny second;
    Add<Step>(second, log, "x");
    Add<Step>(second, log, "y");
    auto moved = std::move(first.GetChildren()[0]);
    moved->SetParent(&second);
    second.AddChild(std::move(moved));
    Add<Step>(second, log, "goto again")->JumpTo(label);
    log.clear();
    EXPECT_EQ(Run(second), nullptr);
    EXPECT_EQ(log, (Log{"x", "y", "label", "goto again", "label", "goto again"}));
}

TEST_F(NodeTest, JumpToATargetNoListHoldsEndsTheRunQuietly)
{
    Step elsewhere(log, "elsewhere");
    CAny root;
    Add<Step>(root, log, "goto")->JumpTo(&elsewhere);
    Add<Step>(root, log, "never");
    CapturedOutput out;
    EXPECT_EQ(Run(root), &elsewhere);
    EXPECT_EQ(log, (Log{"goto"}));
    EXPECT_EQ(out.Text(), "");
}

TEST_F(NodeTest, ProcedureDeclarationIsPassedOverInSequence)
{
    CAny list;
    Add<Procedure>(list, log);
    Add<Step>(list, log, "a");
    EXPECT_EQ(Run(list), nullptr);
    EXPECT_EQ(log, (Log{"a"}));
}

TEST_F(NodeTest, JumpIntoAProcedureResumesAfterTheJump)
{
    CAny list;
    Procedure* procedure = Add<Procedure>(list, log);
    Add<Step>(list, log, "call")->JumpTo(procedure);
    Add<Step>(list, log, "after");
    EXPECT_EQ(Run(list), nullptr);
    EXPECT_EQ(log, (Log{"call", "proc", "after"}));
}

TEST_F(NodeTest, ProcedureEnteredFromTheLastStatementEndsTheList)
{
    CAny list;
    Procedure* procedure = Add<Procedure>(list, log);
    Add<Step>(list, log, "call")->JumpTo(procedure);
    EXPECT_EQ(Run(list), EndOfList());
    EXPECT_EQ(log, (Log{"call", "proc"}));
    EXPECT_NE(EndOfList(), nullptr);
}

TEST_F(NodeTest, AnalysisWalksEveryChildWhateverTheyAnswer)
{
    CAny list;
    Add<Step>(list, log, "a");
    Add<Step>(list, log, "b");
    CErrorList errors;
    EXPECT_EQ(list.NameAnalysis(&scope, errors), kAnalysisDone);
    TypeCode type = kTypeUndetermined;
    EXPECT_EQ(list.TypeAnalysis(&scope, type, errors, 0), kAnalysisDone);
    EXPECT_EQ(type, kTypeInteger);
    EXPECT_EQ(log, (Log{"name a", "name b", "type a", "type b"}));
}

TEST_F(NodeTest, MissingChildStopsTheAnalysisWithItsLine)
{
    CAny list;
    Add<Step>(list, log, "a");
    list.AddChild(nullptr);
    Add<Step>(list, log, "never analysed");
    CErrorList errors;
    TypeCode type = kTypeUndetermined;
    CapturedOutput out;
    EXPECT_EQ(list.NameAnalysis(&scope, errors), kAnalysisFailed);
    EXPECT_EQ(list.TypeAnalysis(&scope, type, errors, 0), kAnalysisFailed);
    EXPECT_EQ(out.Text(),
              "eng: ERROR <CAny::NameAnalysis> NULL Pointer\n"
              "eng: ERROR <CAny::TypeAnalysis> NULL Pointer\n");
    EXPECT_EQ(log, (Log{"name a", "type a"}));
    EXPECT_EQ(list.Child(1), nullptr);
    EXPECT_EQ(list.Child(99), nullptr);

    // A list with a missing statement still runs the others.
    EXPECT_EQ(Run(list), nullptr);
}

TEST_F(NodeTest, AnalysisErrorsCarryTheNodePosition)
{
    Step node(log, "n", 41);
    node.SetPosition(41, 17);
    CErrorList errors;
    node.AddError(errors, "Ce label existe deja");
    ASSERT_EQ(errors.GetAnalysisErrorCount(), 1u);
    EXPECT_EQ(errors.Errors()[0].line, 41u);
    EXPECT_EQ(errors.Errors()[0].column, 17u);
}

// An operand of fixed type for the shared type check.
class Operand : public CExpression {
public:
    Operand(TypeCode type, int result) : type_(type), result_(result) {}
    int TypeAnalysis(CSymbolStore*, TypeCode& type, CErrorList&, std::uint32_t) override
    {
        type = type_;
        return result_;
    }

private:
    TypeCode type_;
    int result_;
};

class Operator : public CExpression {
public:
    explicit Operator(OperatorClass operatorClass) : CExpression(operatorClass) { SetPosition(9, 4); }
};

struct TypeCase {
    const char* what;
    OperatorClass op;
    TypeCode left;
    int leftResult;
    TypeCode right;  // kTypeVoid + 100: no right operand
    int rightResult;
    int expectedResult;
    TypeCode expectedType;
    TypeCode expectedOperandType;
    const char* expectedError;
};

constexpr TypeCode kNone = 1000;

TEST(ExpressionTypeCheck, Table)
{
    using O = OperatorClass;
    const TypeCase cases[] = {
        {"1 + 2", O::Plain, kTypeInteger, 0, kTypeInteger, 0, 2, kTypeInteger, kTypeInteger, nullptr},
        {"1.0 + 2.5", O::Plain, kTypeReal, 0, kTypeReal, 0, 2, kTypeReal, kTypeReal, nullptr},
        {"1 + 2.5", O::Plain, kTypeInteger, 0, kTypeReal, 0, 1, kTypeInteger, kTypeInteger, nodemsg::MixedTypes},
        {"cli + 1", O::Plain, kTypeCli, 0, kTypeInteger, 0, 2, kTypeCli, kTypeCli, nullptr},
        {"1 < 2", O::Ordering, kTypeInteger, 0, kTypeInteger, 0, 2, kTypeBoolean, kTypeInteger, nullptr},
        {"a == b texts", O::Equality, kTypeString, 0, kTypeString, 0, 2, kTypeBoolean, kTypeString, nullptr},
        {"true == false", O::Equality, kTypeBoolean, 0, kTypeBoolean, 0, 2, kTypeBoolean, kTypeBoolean, nullptr},
        {"true < false", O::Ordering, kTypeBoolean, 0, kTypeBoolean, 0, 1, kTypeBoolean, kTypeBoolean,
         nodemsg::BooleanOrdering},
        {"failed left", O::Plain, kTypeInteger, 1, kTypeInteger, 0, 0, kTypeUndetermined, kTypeUndetermined, nullptr},
        {"undetermined right", O::Plain, kTypeInteger, 0, kTypeUndetermined, 0, 0, kTypeUndetermined, kTypeUndetermined,
         nullptr},
        {"failed right", O::Plain, kTypeInteger, 0, kTypeInteger, 1, 0, kTypeUndetermined, kTypeUndetermined, nullptr},
        // A right operand that is an operator is still compared with the left one.
        {"1.0 + (2 * 3)", O::Plain, kTypeReal, 0, kTypeInteger, 2, 1, kTypeReal, kTypeReal, nodemsg::MixedTypes},
        {"a < b + c", O::Ordering, kTypeInteger, 2, kTypeInteger, 2, 2, kTypeBoolean, kTypeInteger, nullptr},
        {"-x", O::Plain, kTypeReal, 0, kNone, 0, 2, kTypeReal, kTypeReal, nullptr},
        {"not flag", O::Plain, kTypeBoolean, 2, kNone, 0, 2, kTypeBoolean, kTypeBoolean, nullptr},
        {"whole array + 1", O::Plain, kTypeWholeArray, 0, kTypeInteger, 0, 1, kTypeWholeArray, kTypeWholeArray,
         nodemsg::MixedTypes},
    };
    for (const TypeCase& c : cases) {
        Operator node(c.op);
        node.AddChild(std::make_unique<Operand>(c.left, c.leftResult));
        if (c.right != kNone)
            node.AddChild(std::make_unique<Operand>(c.right, c.rightResult));
        CErrorList errors;
        TypeCode type = 77;
        CapturedOutput out;
        EXPECT_EQ(node.TypeAnalysis(nullptr, type, errors, 0), c.expectedResult) << c.what;
        EXPECT_EQ(type, c.expectedType) << c.what;
        EXPECT_EQ(node.OperandType(), c.expectedOperandType) << c.what;
        if (c.expectedError) {
            ASSERT_EQ(errors.GetAnalysisErrorCount(), 1u) << c.what;
            EXPECT_EQ(errors.Errors()[0].text, c.expectedError) << c.what;
            EXPECT_EQ(errors.Errors()[0].line, 9u);
            EXPECT_EQ(errors.Errors()[0].column, 4u);
        } else {
            EXPECT_EQ(errors.GetAnalysisErrorCount(), 0u) << c.what;
        }
        const bool mixed = c.expectedError == nodemsg::MixedTypes;
        EXPECT_EQ(out.Text(), mixed ? "DEBUG <CExpression::TypeAnalysis> Error\n" : "") << c.what;
    }
}

TEST(ExpressionTypeCheck, ScratchListWritesNothing)
{
    Operator node(OperatorClass::Plain);
    node.AddChild(std::make_unique<Operand>(kTypeInteger, 0));
    node.AddChild(std::make_unique<Operand>(kTypeReal, 0));
    CErrorList scratch(ErrorListUse::Scratch);
    TypeCode type = kTypeUndetermined;
    CapturedOutput out;
    EXPECT_EQ(node.TypeAnalysis(nullptr, type, scratch, 0), kAnalysisFailed);
    EXPECT_EQ(scratch.GetAnalysisErrorCount(), 1u);
    EXPECT_EQ(out.Text(), "");
}

TEST(ExpressionTypeCheck, OperatorContextStartsAtNone)
{
    Operator node(OperatorClass::Plain);
    EXPECT_EQ(node.OperatorContext(), kContextNone);
    node.SetOperatorContext(kContextMinus);
    EXPECT_EQ(node.OperatorContext(), 3u);
    EXPECT_FALSE(node.IsComparison());
    EXPECT_TRUE(Operator(OperatorClass::Equality).IsComparison());
}

}  // namespace
}  // namespace zov

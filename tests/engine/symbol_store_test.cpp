#include "engine/runtime/SymbolStore.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace zov {
namespace {

TEST(SymbolStore, NameOf64CharactersIsAcceptedAnd65Refused)
{
    const std::string name64(64, 'v');
    const std::string name65(65, 'v');
    EXPECT_EQ(AcceptVariableName(name64), name64);
    EXPECT_EQ(AcceptVariableName(name65), "");
    EXPECT_EQ(AcceptVariableName(""), "");

    CSymbolStore scope;
    CVariable* v = scope.Declare(name64);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Name(), name64);
    EXPECT_EQ(scope.Declare(name65), nullptr);
    EXPECT_EQ(scope.Declare(""), nullptr);
    EXPECT_EQ(scope.VariableCount(), 1u);
    EXPECT_STREQ(varmsg::NameTooLong, "Le nom de variable comprend plus de 64 caracteres");
}

TEST(SymbolStore, NamesAreCaseSensitive)
{
    CSymbolStore scope;
    CVariable* upper = scope.Declare("Count");
    CVariable* lower = scope.Declare("count");
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(lower, nullptr);
    EXPECT_NE(&upper->Storage(), &lower->Storage());
    EXPECT_FALSE(lower->Shared());
    upper->Value().SetWord(1);
    lower->Value().SetWord(2);
    EXPECT_EQ(scope.FindVariable("Count")->Value().Word(), 1);
    EXPECT_EQ(scope.FindVariable("count")->Value().Word(), 2);
    EXPECT_EQ(scope.FindVariable("COUNT"), nullptr);
}

TEST(SymbolStore, RedeclarationSharesTheFirstCells)
{
    CSymbolStore scope;
    CVariable* first = scope.Declare("x");
    CVariable* second = scope.Declare("x");
    CVariable* third = scope.Declare("x");
    EXPECT_FALSE(first->Shared());
    EXPECT_TRUE(second->Shared());
    EXPECT_EQ(scope.FindVariable("x"), third);
    // Every later declaration reaches the first one's cells in one step.
    EXPECT_EQ(&third->Storage(), first);
    third->Value().SetWord(42);
    EXPECT_EQ(first->Value().Word(), 42);
    EXPECT_EQ(scope.VariableCount(), 1u);
}

TEST(SymbolStore, DeclarationOfAnotherTypeGetsCellsOfItsOwn)
{
    CSymbolStore scope;
    CVariable* number = scope.Declare("x");
    number->SetType(kTypeInteger);
    number->Value().SetWord(5);
    CVariable* text = scope.Declare("x");
    text->SetType(kTypeString);
    text->UseOwnStorage();
    text->Value().SetText("abc");

    EXPECT_TRUE(text->IsStorage());
    EXPECT_EQ(number->Value().Word(), 5);
    EXPECT_FALSE(number->Value().HasText());

    // The debugger reads the cells last written.
    CSymbolStore::Record(*number);
    EXPECT_EQ(scope.FindVariable("x"), number);
    CSymbolStore::Record(*text);
    EXPECT_EQ(scope.FindVariable("x"), text);
}

TEST(SymbolStore, SettlingByTypeFollowsTheDeclarationBefore)
{
    CSymbolStore scope;
    CVariable* d1 = scope.Declare("x");
    CVariable* d2 = scope.Declare("x");
    CVariable* d3 = scope.Declare("x");
    CVariable* d4 = scope.Declare("x");
    EXPECT_FALSE(d1->SettleStorage(kTypeInteger));  // the first has its own cells anyway
    EXPECT_TRUE(d2->SettleStorage(kTypeInteger));
    EXPECT_FALSE(d3->SettleStorage(kTypeString));
    EXPECT_TRUE(d4->SettleStorage(kTypeString));
    EXPECT_EQ(&d2->Storage(), d1);
    EXPECT_EQ(&d3->Storage(), d3);
    // Shares the string cells of the declaration before it, not the first integer ones.
    EXPECT_EQ(&d4->Storage(), d3);
    EXPECT_EQ(d4->Type(), kTypeString);
}

TEST(SymbolStore, ProcedureRedeclaringAGlobalSharesItsCells)
{
    CSymbolStore global;
    CSymbolStore procedure(&global);
    CVariable* outer = global.Declare("total");
    CVariable* inner = procedure.Declare("total");
    EXPECT_TRUE(inner->Shared());
    EXPECT_EQ(&inner->Storage(), outer);
    // The procedure binds the name in its own table; outside it the name keeps its binding.
    EXPECT_EQ(global.FindVariable("total"), outer);
    EXPECT_EQ(procedure.FindVariable("total"), inner);
    EXPECT_EQ(procedure.ResolveVariable("total"), inner);
    EXPECT_EQ(&inner->Scope(), &procedure);
    EXPECT_TRUE(inner->SettleStorage(kTypeInteger) || outer->Type() != kTypeInteger);

    CVariable* local = procedure.Declare("i");
    EXPECT_FALSE(local->Shared());
    EXPECT_EQ(global.ResolveVariable("i"), nullptr);
    EXPECT_EQ(procedure.ResolveInEnclosing("i"), nullptr);
    EXPECT_EQ(procedure.ResolveInEnclosing("total"), outer);
    EXPECT_EQ(&procedure.Global(), &global);
}

TEST(SymbolStore, ProcedureDeclarationsOfAnotherTypeStayInTheProcedure)
{
    CSymbolStore global;
    CSymbolStore procedure(&global);
    CVariable* outer = global.Declare("n");
    outer->SettleStorage(kTypeInteger);
    CVariable* same = procedure.Declare("n");
    EXPECT_TRUE(same->SettleStorage(kTypeInteger));
    EXPECT_EQ(&same->Storage(), outer);
    CVariable* text = procedure.Declare("n");
    EXPECT_FALSE(text->SettleStorage(kTypeString));
    EXPECT_EQ(&text->Storage(), text);
    EXPECT_EQ(global.ResolveVariable("n"), outer);
    EXPECT_EQ(procedure.ResolveVariable("n"), text);

    // A parameter never shares the cells of an outer variable of its name.
    CVariable* parameter = procedure.DeclareHere("m");
    CVariable* outerM = global.Declare("m");
    EXPECT_FALSE(parameter->Shared());
    CSymbolStore other(&global);
    CVariable* otherParameter = other.DeclareHere("m");
    EXPECT_FALSE(otherParameter->Shared());
    EXPECT_EQ(&otherParameter->Storage(), otherParameter);
    EXPECT_NE(&otherParameter->Storage(), outerM);
}

TEST(SymbolStore, NamesListedInBindingOrder)
{
    CSymbolStore scope;
    scope.Declare("b");
    scope.Declare("a");
    scope.Declare("b");
    scope.Declare("c");
    const std::vector<std::string_view> names = scope.VariableNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "b");
    EXPECT_EQ(names[1], "a");
    EXPECT_EQ(names[2], "c");
}

TEST(SymbolStore, DimWithCountZeroOrBelowMakesOneElement)
{
    CSymbolStore scope;
    CVariable* a = scope.Declare("a");
    for (std::int32_t count : {0, -5, std::numeric_limits<std::int32_t>::min()}) {
        ASSERT_EQ(a->Allocate(count, kTypeInteger, CValue::Integer(7)), ArrayAccess::Ok);
        EXPECT_EQ(a->ElementCount(), 1) << count;
    }
    EXPECT_TRUE(a->IsArray());
    EXPECT_EQ(a->Type(), kTypeInteger);  // the element type, no array bit
}

TEST(SymbolStore, IntegerArrayReads)
{
    CSymbolStore scope;
    CVariable* a = scope.Declare("a");
    CValue out = CValue::Integer(99);
    EXPECT_EQ(a->ReadElement(0, out), ArrayAccess::NotAllocated);

    a->SetType(kTypeInteger);
    ASSERT_EQ(a->Allocate(3, kTypeInteger, CValue::Integer(255, 16, true)), ArrayAccess::Ok);
    EXPECT_EQ(a->ReadElement(3, out), ArrayAccess::IndexTooLarge);
    EXPECT_EQ(a->ReadElement(std::numeric_limits<std::int32_t>::max(), out), ArrayAccess::IndexTooLarge);
    EXPECT_EQ(a->ReadElement(-1, out), ArrayAccess::NegativeIndex);
    EXPECT_EQ(out.Word(), 99);  // left as it was
    EXPECT_EQ(ArrayAccessMessage(ArrayAccess::NegativeIndex, false), nullptr);
    EXPECT_STREQ(ArrayAccessMessage(ArrayAccess::IndexTooLarge, false), "Indice trop grand pour ce tableau");
    EXPECT_STREQ(ArrayAccessMessage(ArrayAccess::NotAllocated, false), "Le tableau n'est pas initialise");

    // The display base passes on only to a value that has none yet.
    EXPECT_EQ(a->ReadElement(2, out), ArrayAccess::Ok);
    EXPECT_EQ(out.Word(), 255);
    EXPECT_EQ(out.Base(), kDefaultBase);
    CValue fresh;
    fresh.SetBase(kNoBase);
    EXPECT_EQ(a->ReadElement(0, fresh), ArrayAccess::Ok);
    EXPECT_EQ(fresh.Base(), 16u);
    EXPECT_TRUE(fresh.Based());
}

TEST(SymbolStore, ArrayWrites)
{
    CSymbolStore scope;
    CVariable* a = scope.Declare("a");
    ArrayAccess access = ArrayAccess::Ok;
    EXPECT_EQ(a->ElementForWrite(0, access), nullptr);
    EXPECT_EQ(access, ArrayAccess::NotAllocated);

    ASSERT_EQ(a->Allocate(4, kTypeInteger, CValue::Integer(0)), ArrayAccess::Ok);
    EXPECT_EQ(a->ElementForWrite(-1, access), nullptr);
    EXPECT_EQ(access, ArrayAccess::NegativeIndex);
    EXPECT_STREQ(ArrayAccessMessage(access, true), "Copie de tableau non authorisee");
    EXPECT_EQ(a->ElementForWrite(4, access), nullptr);
    EXPECT_EQ(access, ArrayAccess::IndexTooLarge);

    CValue* cell = a->ElementForWrite(3, access);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(access, ArrayAccess::Ok);
    cell->SetWord(12);
    CValue out;
    ASSERT_EQ(a->ReadElement(3, out), ArrayAccess::Ok);
    EXPECT_EQ(out.Word(), 12);
    ASSERT_EQ(a->ReadElement(2, out), ArrayAccess::Ok);
    EXPECT_EQ(out.Word(), 0);
}

TEST(SymbolStore, StringArrayElementsOwnTheirTexts)
{
    CSymbolStore scope;
    CVariable* s = scope.Declare("s");
    CValue initial = CValue::Text("init");
    ASSERT_EQ(s->Allocate(3, kTypeString, initial), ArrayAccess::Ok);
    EXPECT_EQ(s->Type(), kTypeString);  // the element type stays a string type
    initial.SetText("changed");

    ArrayAccess access;
    s->ElementForWrite(0, access)->MutableText() = "zero";
    EXPECT_NE(s->Element(1)->TextView().data(), s->Element(2)->TextView().data());

    CValue out;
    ASSERT_EQ(s->ReadElement(0, out), ArrayAccess::Ok);
    EXPECT_EQ(out.TextView(), "zero");
    EXPECT_NE(out.TextView().data(), s->Element(0)->TextView().data());
    ASSERT_EQ(s->ReadElement(1, out), ArrayAccess::Ok);
    EXPECT_EQ(out.TextView(), "init");

    // Dropping and remaking the array frees each text once (checked by the sanitizers).
    ASSERT_EQ(s->Allocate(2, kTypeString, CValue::Text("")), ArrayAccess::Ok);
    EXPECT_FALSE(s->Element(0)->HasText());  // an empty initial text is stored as no text
    ASSERT_EQ(s->ReadElement(0, out), ArrayAccess::Ok);
    EXPECT_FALSE(out.HasText());
}

TEST(SymbolStore, ArrayRemadeFromOneOfItsOwnElements)
{
    CSymbolStore scope;
    CVariable* s = scope.Declare("s");
    ASSERT_EQ(s->Allocate(2, kTypeString, CValue::Text("keep")), ArrayAccess::Ok);
    ASSERT_EQ(s->Allocate(5, kTypeString, *s->Element(1)), ArrayAccess::Ok);
    EXPECT_EQ(s->ElementCount(), 5);
    EXPECT_EQ(s->Element(4)->TextView(), "keep");
}

TEST(SymbolStore, NonStringElementsCarryNoText)
{
    CSymbolStore scope;
    CVariable* r = scope.Declare("r");
    CValue initial = CValue::Real(0.5);
    initial.SetText("stray");
    ASSERT_EQ(r->Allocate(2, kTypeReal, initial), ArrayAccess::Ok);
    EXPECT_FALSE(r->Element(0)->HasText());
    CValue out = CValue::Text("keep");
    ASSERT_EQ(r->ReadElement(1, out), ArrayAccess::Ok);
    EXPECT_EQ(out.RealValue(), 0.5);
    EXPECT_EQ(out.TextView(), "keep");
}

TEST(SymbolStore, HugeArrayRefusedAndOldOneKept)
{
    CSymbolStore scope;
    CVariable* a = scope.Declare("a");
    ASSERT_EQ(a->Allocate(2, kTypeInteger, CValue::Integer(1)), ArrayAccess::Ok);
    EXPECT_EQ(a->Allocate(kMaxArrayElements + 1, kTypeInteger, CValue::Integer(0)), ArrayAccess::TooManyElements);
    EXPECT_EQ(a->ElementCount(), 2);
    EXPECT_STREQ(ArrayAccessMessage(ArrayAccess::TooManyElements, true), "Taille de tableau trop grande");
}

TEST(SymbolStore, ArrayStateIsSharedByEveryDeclarationOfTheName)
{
    CSymbolStore scope;
    CVariable* dim = scope.Declare("t");
    CVariable* later = scope.Declare("t");
    later->MarkArray();
    EXPECT_TRUE(dim->IsArray());
    ASSERT_EQ(dim->Allocate(3, kTypeString, CValue::Text("x")), ArrayAccess::Ok);
    EXPECT_EQ(later->ElementCount(), 3);
    CValue out;
    ASSERT_EQ(later->ReadElement(2, out), ArrayAccess::Ok);
    EXPECT_EQ(out.TextView(), "x");

    // A declaration given cells of its own is a plain variable again.
    later->UseOwnStorage();
    EXPECT_FALSE(later->IsArray());
    EXPECT_TRUE(dim->IsArray());
}

TEST(SymbolStore, ScalarReadsByType)
{
    CSymbolStore scope;
    CVariable* i = scope.Declare("i");
    i->SetType(kTypeInteger);
    i->Value() = CValue::Integer(-3, 2, true);
    CValue out;
    i->ReadScalar(out);
    EXPECT_EQ(out.Word(), -3);
    EXPECT_EQ(out.Base(), kDefaultBase);
    out.SetBase(kNoBase);
    i->ReadScalar(out);
    EXPECT_EQ(out.Base(), 2u);

    CVariable* s = scope.Declare("s");
    s->SetType(kTypeString);
    s->Value().SetText("abc");
    s->ReadScalar(out);
    EXPECT_EQ(out.TextView(), "abc");
    EXPECT_NE(out.TextView().data(), s->Value().TextView().data());
    s->ReadScalar(s->Value());  // reading into its own cell changes nothing
    EXPECT_EQ(s->Value().TextView(), "abc");

    CVariable* r = scope.Declare("r");
    r->SetType(kTypeReal);
    r->Value().SetReal(2.25);
    r->ReadScalar(out);
    EXPECT_EQ(out.RealValue(), 2.25);

    CVariable* b = scope.Declare("b");
    b->SetType(kTypeBoolean);
    b->Value().SetBoolean(true);
    b->ReadScalar(out);
    EXPECT_TRUE(out.IsTrue());
}

TEST(SymbolStore, Procedures)
{
    CSymbolStore global;
    CSymbolStore own(&global);
    int nodeA = 0;
    int nodeB = 0;
    CAny* a = reinterpret_cast<CAny*>(&nodeA);
    CAny* b = reinterpret_cast<CAny*>(&nodeB);

    EXPECT_TRUE(global.RegisterProcedure("p", a, &own));
    EXPECT_FALSE(global.RegisterProcedure("p", b, nullptr));  // already defined
    EXPECT_EQ(global.FindProcedureHere("p"), a);
    EXPECT_EQ(global.FindProcedureHere("P"), nullptr);
    EXPECT_EQ(global.ProcedureScope("p"), &own);
    EXPECT_EQ(own.FindProcedureHere("p"), nullptr);
    EXPECT_EQ(own.FindProcedure("p"), a);

    // An entry cleared to null counts as absent and is taken over.
    EXPECT_TRUE(global.RegisterProcedure("q", nullptr, nullptr));
    EXPECT_EQ(global.FindProcedure("q"), nullptr);
    EXPECT_EQ(global.ProcedureScope("q"), nullptr);
    EXPECT_TRUE(global.RegisterProcedure("q", b, nullptr));
    EXPECT_EQ(global.FindProcedure("q"), b);
    EXPECT_EQ(global.ProcedureCount(), 2u);

    // Procedure and variable names live in separate tables.
    global.Declare("p");
    EXPECT_EQ(global.FindProcedure("p"), a);
}

TEST(SymbolStore, NamedVariableMessages)
{
    EXPECT_EQ(NamedVariableMessage(varmsg::VariableLead, "x", varmsg::NotInitialised),
              "La variable 'x' n'a pas ete initialisee");
    EXPECT_EQ(NamedVariableMessage(varmsg::ExpressionLead, "y", varmsg::UndefinedType),
              "L'expression 'y' a un type indefinit");
    EXPECT_EQ(NamedVariableMessage(varmsg::VariableLead, "t", varmsg::ArrayMisuse),
              "La variable 't' est un tableau, l'utilisation est incorrecte.");
}

}  // namespace
}  // namespace zov

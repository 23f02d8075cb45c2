// The macro table: first definition found, kinds, and the script parameters added after the
// interface constants.

#include "engine/runtime/EngineState.h"
#include "engine/input/MacroTable.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

TEST(MacroTableTest, LookupFindsTheFirstEntryOfAName)
{
    CMacroTable table;
    table.Add("N", "5", kMacroKindConstant);
    table.Add("M", "{a & b}", kMacroKindMacro);
    table.Add("N", "6", kMacroKindMacro);
    ASSERT_EQ(table.Size(), 3u);

    std::uint8_t kind = 9;
    EXPECT_EQ(table.Lookup("N", kind), 0);
    EXPECT_EQ(kind, kMacroKindConstant);
    EXPECT_EQ(table.Find("N")->value, "5");
    EXPECT_EQ(table.Lookup("M", kind), 1);
    EXPECT_EQ(kind, kMacroKindMacro);
    // The later entry is kept, only hidden.
    EXPECT_EQ(table.Entry(2).value, "6");
}

TEST(MacroTableTest, LookupIsExactAndCaseSensitive)
{
    CMacroTable table;
    table.Add("Name", "1", kMacroKindMacro);
    for (const char* other : {"name", "NAME", "Name ", "Nam", "Names", ""}) {
        std::uint8_t kind = 7;
        EXPECT_EQ(table.Lookup(other, kind), -1) << other;
        EXPECT_EQ(kind, 0) << other;
        EXPECT_EQ(table.Find(other), nullptr) << other;
    }
}

TEST(MacroTableTest, NamesAndValuesAreCopiedBytes)
{
    CMacroTable table;
    std::string name = "caf\xc3\xa9";
    std::string value("a\0b", 3);
    table.Add(name, value, kMacroKindConstant);
    name[0] = 'X';
    value[0] = 'X';
    const MacroEntry* entry = table.Find("caf\xc3\xa9");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->value, std::string("a\0b", 3));
}

TEST(MacroTableTest, ScriptParametersEnterInOrderAndOnlyWhenGiven)
{
    EngineState state;
    state.SetParamValues("first", "", "third");
    CMacroTable table;
    AddScriptParameters(table, state);
    ASSERT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Entry(0).name, "%%1");
    EXPECT_EQ(table.Entry(0).value, "first");
    EXPECT_EQ(table.Entry(0).kind, kMacroKindConstant);
    EXPECT_EQ(table.Entry(1).name, "%%3");
    EXPECT_EQ(table.Entry(1).value, "third");
    // An empty first parameter leaves the word %%1 as it is in the script.
    EXPECT_EQ(table.Find("%%2"), nullptr);
}

TEST(MacroTableTest, InterfaceConstantHidesTheParameterOfTheSameName)
{
    EngineState state;
    state.SetParamValues("from-params", "p2", "");
    CMacroTable table;
    table.Add("%%1", "\"from interface\"", kMacroKindConstant);  // read from the interface file first
    AddScriptParameters(table, state);

    bool changed = false;
    const auto out = ExpandMacros(table, "x = %%1 + %%2\r\n", changed);
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, "x = \"from interface\" + p2\r\n");
}

}  // namespace
}  // namespace zov

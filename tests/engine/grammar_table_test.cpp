#include "grammar_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

using namespace zov;
using namespace zov::test;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Offsets at which a record of a well-formed table ends, found by walking its bytes.
std::vector<size_t> RecordEnds(const std::string& bytes)
{
    std::vector<size_t> ends;
    size_t pos = 0;
    auto word = [&] {
        const uint32_t w = static_cast<unsigned char>(bytes[pos]) | (static_cast<unsigned char>(bytes[pos + 1]) << 8);
        pos += 2;
        return w;
    };
    while (word() != 0) {
    }
    ends.push_back(pos);
    while (pos < bytes.size()) {
        ++pos;  // 'M'
        const uint32_t n = word();
        for (uint32_t i = 0; i < n; ++i) {
            const char type = bytes[pos++];
            if (type == 'I')
                pos += 2;
            else if (type == 'B' || type == 'b')
                pos += 1;
            else if (type == 'S')
                while (word() != 0) {
                }
        }
        ends.push_back(pos);
    }
    return ends;
}

}  // namespace

TEST(GrammarTable, LoadsACompiledGrammar)
{
    CGrammarTable table;
    ASSERT_TRUE(table.Load(TestTable("mini"))) << (table.GetLastError() ? table.GetLastError() : "");
    EXPECT_EQ(table.GetHeader(), "GOLD Parser Tables/v1.0");
    EXPECT_EQ(table.GetParameters().Name, "Mini");
    EXPECT_EQ(table.GetParameters().Version, "1.0");
    EXPECT_FALSE(table.IsCaseSensitive());
    ASSERT_FALSE(table.GetSymbols().empty());
    EXPECT_EQ(table.GetSymbols()[0].Name, "EOF");
    EXPECT_EQ(table.GetSymbols()[0].Kind, cgt::EndOfInput);
    EXPECT_EQ(table.GetSymbols()[table.GetStartSymbol()].Name, "Start");
    // The scanner lowers 'A'..'Z' before matching, so a case-insensitive table holds no capitals.
    for (const std::string& set : table.GetCharSets())
        EXPECT_EQ(set.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << set;
}

TEST(GrammarTable, MissingFileFails)
{
    CGrammarTable table;
    EXPECT_FALSE(table.Load(TestTable("no-such-grammar")));
}

TEST(GrammarTable, FileEndingRightAfterItsLastRecordLoads)
{
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(OneWordRecords())));
    EXPECT_EQ(table.GetLastError(), nullptr);
    EXPECT_EQ(table.GetSymbols().size(), 3u);
    EXPECT_EQ(table.GetRules()[0].Body, std::vector<uint32_t>{1});
    EXPECT_EQ(table.GetLalrStates()[0].Actions.size(), 2u);
    EXPECT_EQ(table.GetParameters().About, "about");
    EXPECT_TRUE(table.IsCaseSensitive());
}

TEST(GrammarTable, ReadsFromAStream)
{
    std::istringstream in(Join(OneWordRecords()));
    CGrammarTable table;
    EXPECT_TRUE(table.ReadRecords(in));
    EXPECT_EQ(table.GetSymbols()[1].Name, "a");
}

TEST(GrammarTable, EmptyStringEntryIsAnEmptyText)
{
    auto records = OneWordRecords(u"");
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(records)));
    EXPECT_EQ(table.GetParameters().Name, "");
}

TEST(GrammarTable, CharactersAboveLatin1KeepTheirLowByte)
{
    auto records = OneWordRecords(u"\u0141x");             // 0x0141 -> 'A'
    records[6] = Record({Byte('C'), I(0), S(u"\u0161")});  // 0x0161 -> 'a'
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(records)));
    EXPECT_EQ(table.GetParameters().Name, "Ax");
    EXPECT_EQ(table.GetCharSets()[0], "a");
}

TEST(GrammarTable, IntegerEntryIsUnsigned)
{
    auto records = OneWordRecords();
    records[0] = Record({Byte('P'), S(u"n"), S(u"v"), S(u"a"), S(u"b"), B(false), I(0xFFFF)});
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(records)));
    EXPECT_EQ(table.GetStartSymbol(), 65535u);
}

TEST(GrammarTable, RecordKindOtherThanMFails)
{
    auto records = OneWordRecords();
    records.push_back(Record({Byte('S'), I(0), S(u"EOF"), I(3)}, 'N'));
    CGrammarTable table;
    EXPECT_FALSE(LoadBytes(table, Join(records)));
    ASSERT_NE(table.GetLastError(), nullptr);
    EXPECT_STREQ(table.GetLastError(), "Record type is not supported\n");

    // Also a stray byte after the last record, before any entry count could follow it.
    EXPECT_FALSE(LoadBytes(table, Join(OneWordRecords()) + "N"));
    ASSERT_NE(table.GetLastError(), nullptr);
    EXPECT_STREQ(table.GetLastError(), "Record type is not supported\n");
}

TEST(GrammarTable, UnknownContentTypeIsSkippedOnlyWhenEmpty)
{
    auto records = OneWordRecords();
    records.insert(records.begin() + 3, Record({Byte('Z')}));
    CGrammarTable table;
    EXPECT_TRUE(LoadBytes(table, Join(records)));
    records.insert(records.begin() + 3, Record({Byte('Z'), I(1)}));
    EXPECT_FALSE(LoadBytes(table, Join(records)));
    EXPECT_STREQ(table.GetLastError(), "Record type is not supported\n");
}

TEST(GrammarTable, SecondLoadReplacesAllTables)
{
    CGrammarTable table;
    ASSERT_TRUE(table.Load(TestTable("mini")));
    CScanner* before = table.CreateScanner();
    ASSERT_TRUE(before->Tokenize("a = 1\n"));
    ASSERT_TRUE(LoadBytes(table, Join(OneWordRecords(u"Second"))));
    EXPECT_EQ(table.GetParameters().Name, "Second");
    EXPECT_EQ(table.GetSymbols().size(), 3u);
    EXPECT_EQ(table.GetCharSets().size(), 1u);
    EXPECT_EQ(table.GetRules().size(), 1u);
    EXPECT_EQ(table.GetDfaStates().size(), 2u);
    EXPECT_EQ(table.GetLalrStates().size(), 3u);
    EXPECT_TRUE(table.IsCaseSensitive());

    CScanner* scanner = table.CreateScanner();
    ASSERT_TRUE(scanner->Tokenize("a"));
    CParser* parser = table.CreateParser();
    EXPECT_NE(parser->Parse(scanner->GetTokens()), nullptr);
    EXPECT_FALSE(scanner->Tokenize("a = 1\n"));
}

// Every way a file can lie about itself fails the load instead of reading past its end,
// writing outside a table or ending "successfully" half read.
TEST(GrammarTable, RejectsUnsoundFiles)
{
    const std::u16string tooLong(512, u'x');
    const std::u16string longest(511, u'x');
    struct Case {
        const char* what;
        size_t record;  // replaced record of the one-word table
        std::string bytes;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"symbol index beyond the count", 5, Record({Byte('S'), I(3), S(u"S"), I(0)}), "Table index out of range\n"},
        {"charset index beyond the count", 6, Record({Byte('C'), I(1), S(u"a")}), "Table index out of range\n"},
        {"rule head beyond the count", 7, Record({Byte('R'), I(0), I(3), E(), I(1)}), "Table index out of range\n"},
        {"rule symbol beyond the count", 7, Record({Byte('R'), I(0), I(2), E(), I(9)}), "Table index out of range\n"},
        {"edge set beyond the count", 8, Record({Byte('D'), I(0), B(false), I(0), E(), I(1), I(1), E()}),
         "Table index out of range\n"},
        {"edge target beyond the count", 8, Record({Byte('D'), I(0), B(false), I(0), E(), I(0), I(2), E()}),
         "Table index out of range\n"},
        {"accept symbol beyond the count", 9, Record({Byte('D'), I(1), B(true), I(3), E()}),
         "Table index out of range\n"},
        {"shift target beyond the count", 10, Record({Byte('L'), I(0), E(), I(1), I(1), I(3), E()}),
         "Table index out of range\n"},
        {"reduce rule beyond the count", 11, Record({Byte('L'), I(1), E(), I(0), I(2), I(1), E()}),
         "Table index out of range\n"},
        {"unknown action", 11, Record({Byte('L'), I(1), E(), I(0), I(5), I(0), E()}), "Unknown LALR action\n"},
        {"DFA record shorter than a triple", 8, Record({Byte('D'), I(0), B(false), I(0), E(), I(0), I(1)}),
         "Record does not end where its entry count says\n"},
        {"LALR record shorter than a quadruple", 12, Record({Byte('L'), I(2), E(), I(0), I(4)}),
         "Record does not end where its entry count says\n"},
        {"parameter record with an extra entry", 0,
         Record({Byte('P'), S(u"n"), S(u"v"), S(u"a"), S(u"b"), B(false), I(0), I(0)}),
         "Record does not end where its entry count says\n"},
        {"unknown entry type", 4, Record({Byte('S'), I(1), {'X', 0, {}}, I(1)}), "Unexpected entry type\n"},
        {"string longer than 511", 4, Record({Byte('S'), I(1), S(tooLong), I(1)}),
         "String longer than 511 characters\n"},
        {"initial state beyond the count", 2, Record({Byte('I'), I(2), I(0)}), "Table index out of range\n"},
    };
    for (const Case& c : cases) {
        auto records = OneWordRecords();
        records[c.record] = c.bytes;
        CGrammarTable table;
        EXPECT_FALSE(LoadBytes(table, Join(records))) << c.what;
        ASSERT_NE(table.GetLastError(), nullptr) << c.what;
        EXPECT_STREQ(table.GetLastError(), c.error) << c.what;
    }

    auto records = OneWordRecords();
    records[4] = Record({Byte('S'), I(1), S(longest), I(1)});
    CGrammarTable table;
    EXPECT_TRUE(LoadBytes(table, Join(records)));
    EXPECT_EQ(table.GetSymbols()[1].Name.size(), 511u);
}

TEST(GrammarTable, FillingRecordBeforeTheCountsFails)
{
    auto records = OneWordRecords();
    std::swap(records[1], records[3]);  // a symbol before 'T'
    CGrammarTable table;
    EXPECT_FALSE(LoadBytes(table, Join(records)));
    EXPECT_STREQ(table.GetLastError(), "Table record before the table counts\n");

    // The counts of a file loaded earlier into the same object are not this file's counts.
    CGrammarTable reused;
    ASSERT_TRUE(reused.Load(TestTable("mini")));
    EXPECT_FALSE(LoadBytes(reused, Join(records)));
    ASSERT_NE(reused.GetLastError(), nullptr);
    EXPECT_STREQ(reused.GetLastError(), "Table record before the table counts\n");
}

TEST(GrammarTable, EveryTruncationInsideARecordFails)
{
    const std::string bytes = ReadFile(TestTable("mini"));
    ASSERT_FALSE(bytes.empty());
    const std::vector<size_t> ends = RecordEnds(bytes);
    ASSERT_EQ(ends.back(), bytes.size());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const bool boundary = std::find(ends.begin(), ends.end(), cut) != ends.end();
        CGrammarTable table;
        EXPECT_EQ(LoadBytes(table, bytes.substr(0, cut)), boundary) << "cut at " << cut;
    }
}

TEST(GrammarTable, DfaRowTakesTheFirstMatchingEdge)
{
    auto records = OneWordRecords();
    records[1] = Record({Byte('T'), I(3), I(2), I(1), I(3), I(3)});
    records[6] = Record({Byte('C'), I(0), S(u"ab")});
    records.insert(records.begin() + 7, Record({Byte('C'), I(1), S(u"bc")}));
    // State 0: "ab" -> 1 listed before "bc" -> 2; 'b' must go to 1.
    records[9] = Record({Byte('D'), I(0), B(false), I(0), E(), I(0), I(1), E(), I(1), I(2), E()});
    records.insert(records.begin() + 11, Record({Byte('D'), I(2), B(true), I(1), E()}));
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(records))) << table.GetLastError();
    const uint16_t* row = table.GetDfaRow(0);
    EXPECT_EQ(row['a'], 1);
    EXPECT_EQ(row['b'], 1);
    EXPECT_EQ(row['c'], 2);
    EXPECT_EQ(row['d'], CGrammarTable::NoTarget);
    EXPECT_EQ(row['A'], CGrammarTable::NoTarget);  // case-sensitive table
    EXPECT_EQ(row[0], CGrammarTable::NoTarget);
}

TEST(GrammarTable, CaseInsensitiveRowsLowerCapitals)
{
    CGrammarTable table;
    ASSERT_TRUE(table.Load(TestTable("mini")));
    const uint16_t* row = table.GetDfaRow(table.GetInitialDfaState());
    for (int c = 'A'; c <= 'Z'; ++c)
        EXPECT_EQ(row[c], row[c + 32]) << static_cast<char>(c);
    EXPECT_NE(row['i'], CGrammarTable::NoTarget);
}

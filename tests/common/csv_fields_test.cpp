#include "common/CsvFields.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov {
namespace {

struct FieldCase {
    const char* line;
    int n;
    const char* expected;
};

TEST(GetCsvField, SeparatorsInsideQualifiersDoNotSplit)
{
    const FieldCase cases[] = {
        {"a;\"b;c\";d", 1, "a"},
        {"a;\"b;c\";d", 2, "b;c"},
        {"a;\"b;c\";d", 3, "d"},
        {"a;\"b;c\";d", 4, ""},
        {"a;\"b;c\";d", 0, ""},
        {"a;\"b;c\";d", -1, ""},
        {"a;\"b;c\"", 2, "b;c"},
        {"\"a \"\"q\"\" b\"", 1, "a \"\"q\"\" b"},    // doubled qualifiers stay as they are
        {"\"x \"\";\"\" y\";z", 1, "x \"\";\"\" y"},  // a doubled qualifier does not close the text
        {"\"x \"\";\"\" y\";z", 2, "z"},
        {"  a  ;\t b \t", 2, "b"},
        {" \" a \" ;x", 1, " a "},  // trimmed before the qualifiers go, not after
        {"a;;c", 2, ""},
        {"a;", 2, ""},
        {"a;", 3, ""},
        {"", 1, ""},
        {"a;\"b", 2, "b"},    // unclosed: the rest is the field
        {"a;\"b;c", 2, "b"},  // unclosed: up to the next separator
        {"a;\"b;c", 3, "c"},
        {"ab\"c;d\"e;f", 1, "ab\"c;d\"e"},  // qualified although the qualifier is not first
        {"ab\"c;d\"e;f", 2, "f"},
        {"\"\";x", 1, ""},
        {"\"", 1, ""},
        {"a;\"b\"c;d", 2, "b\"c"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(GetCsvField(c.n, c.line, ';', '"'), c.expected) << c.line << " #" << c.n;
}

TEST(GetCsvField, NoQualifierSplitsAtEverySeparator)
{
    const FieldCase cases[] = {
        {"a;\"b;c\";d", 2, "\"b"},
        {"a;\"b;c\";d", 3, "c\""},
        {"a;\"b;c\";d", 4, "d"},
        {" x ;y", 1, "x"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(GetCsvField(c.n, c.line, ';', 0), c.expected) << c.line << " #" << c.n;
    EXPECT_EQ(GetCsvField(2, "a,\"b,c\"", ',', '"'), "b,c");
}

struct LineCase {
    const char* line;
    char qual;
    int count;
    bool complete;
};

TEST(CountCsvFields, AndLineCompleteness)
{
    const LineCase cases[] = {
        {"a;\"b;c\";d", '"', 3, true},
        {"a;\"b;c\"", '"', 2, true},
        {"a;\"b", '"', 2, false},  // the record goes on in the next line
        {"a;\"b;c", '"', 3, false},
        {"\"a;b", '"', 2, false},
        {"ab\"", '"', 1, true},  // no separator: complete
        {"\"ab", '"', 1, true},
        {"", 0, 1, true},
        {"", '"', 1, true},
        {"a;b;", '"', 3, true},
        {"a;\"b\"\"", '"', 2, false},  // the doubled qualifier is text: still open
        {"a;\"b\"\"\"", '"', 2, true},
        {"a;\"b;c\";d", 0, 4, true},
        {"a;\"b", 0, 2, true},
        {";;;", '"', 4, true},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(CountCsvFields(c.line, ';', c.qual), c.count) << c.line;
        EXPECT_EQ(IsCsvLineComplete(c.line, ';', c.qual), c.complete) << c.line;
    }
}

// The last field of a complete line is the count-th one, and the one after it is empty.
TEST(CountCsvFields, AgreesWithGetCsvField)
{
    for (const char* line : {"a;\"b;c\";d", "x;\"y\"\";\"\"z\";w", "1;2;3;", "\"only\""}) {
        const int count = CountCsvFields(line, ';', '"');
        EXPECT_EQ(GetCsvField(count + 1, line, ';', '"'), "") << line;
    }
    EXPECT_EQ(GetCsvField(3, "x;\"y\"\";\"\"z\";w", ';', '"'), "w");
}

TEST(FindCsvFieldPos, PositionOfTheOpeningSeparator)
{
    const std::vector<int> expected = {-1, 0, 1, 3, -1, -1};
    for (int n = 0; n < static_cast<int>(expected.size()); ++n)
        EXPECT_EQ(FindCsvFieldPos(n, "a;b;c", ';'), expected[n]) << n;
    EXPECT_EQ(FindCsvFieldPos(2, "\"a;x\";b", ';'), 2);  // qualifiers are not looked at
    EXPECT_EQ(FindCsvFieldPos(1, "", ';'), 0);
    EXPECT_EQ(FindCsvFieldPos(2, "", ';'), -1);
    EXPECT_EQ(FindCsvFieldPos(3, "a;;", ';'), 2);
}

struct PosCase {
    const char* line;
    char qual;
    int n;
    int expected;
};

// The qualified position agrees with GetCsvField's split: the field that opens after it is the
// n-th one, whatever separators a quoted text holds.
TEST(FindQualifiedCsvFieldPos, SkipsSeparatorsInsideQualifiedText)
{
    const std::string record = R"("R2";"Logout; forcé";"ligne1\nligne2";"T4/T2")";
    const PosCase cases[] = {
        {record.c_str(), '"', 1, 0},
        {record.c_str(), '"', 2, 4},
        {record.c_str(), '"', 3, static_cast<int>(record.find(";\"ligne1"))},
        {record.c_str(), '"', 4, static_cast<int>(record.find(";\"T4"))},
        {record.c_str(), '"', 5, -1},
        {record.c_str(), '"', 0, -1},
        {"a;\"b\"\";\"\"c\";d", '"', 3, 11},  // a doubled qualifier does not close the text
        {"a;\"b;c", '"', 3, 4},               // unclosed: split at the next separator, as reading does
        {"a;b;", '"', 3, 3},
        {"", '"', 1, 0},
        {"", '"', 2, -1},
        {"\"a;x\";b", 0, 2, 2},  // no qualifier: every separator counts
    };
    for (const PosCase& c : cases) {
        const int pos = FindQualifiedCsvFieldPos(c.n, c.line, ';', c.qual);
        EXPECT_EQ(pos, c.expected) << c.line << " #" << c.n;
        if (pos > 0) {
            const std::string_view after = std::string_view(c.line).substr(static_cast<size_t>(pos) + 1);
            EXPECT_EQ(GetCsvField(1, after, ';', c.qual), GetCsvField(c.n, c.line, ';', c.qual)) << c.line;
        }
    }
    EXPECT_EQ(FindQualifiedCsvFieldPos(4, record, ';', '"'), static_cast<int>(record.size()) - 8);
    EXPECT_EQ(FindCsvFieldPos(4, record, ';'), static_cast<int>(record.find(";\"ligne1")));  // the plain count
}

}  // namespace
}  // namespace zov

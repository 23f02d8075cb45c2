// The text built-ins, called through their handlers as the function table calls them.

#include "engine/runtime/Builtins.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace zov {
namespace {

// An argument as a script passes it: a text, the null text, or an integer.
struct Arg {
    enum Kind { Text, Null, Int } kind;
    std::string text;
    std::int32_t word = 0;
};
Arg T(std::string text)
{
    return Arg{Arg::Text, std::move(text), 0};
}
const Arg N{Arg::Null, {}, 0};
Arg I(std::int32_t word)
{
    return Arg{Arg::Int, {}, word};
}

std::vector<CValue> Values(const std::vector<Arg>& args)
{
    std::vector<CValue> values;
    for (const Arg& a : args) {
        switch (a.kind) {
        case Arg::Text:
            values.push_back(CValue::Text(a.text));
            break;
        case Arg::Null:
            values.emplace_back();
            break;
        case Arg::Int:
            values.push_back(CValue::Integer(a.word));
            break;
        }
    }
    return values;
}

CValue Call(const char* name, const std::vector<Arg>& args)
{
    BuiltinHandler handler = FindBuiltinHandler(name);
    EXPECT_NE(handler, nullptr) << name;
    if (!handler)
        return {};
    BuiltinContext context = CallContext(1);
    const std::vector<CValue> values = Values(args);
    return handler(context, values);
}

// nullopt stands for the "no text" result.
struct TextCase {
    const char* name;
    std::vector<Arg> args;
    std::optional<std::string> expected;
};

class TextResults : public testing::TestWithParam<TextCase> {};

TEST_P(TextResults, GiveTheTextOrNoText)
{
    const TextCase& c = GetParam();
    const CValue result = Call(c.name, c.args);
    if (!c.expected) {
        EXPECT_FALSE(result.HasText()) << "got \"" << result.TextView() << "\"";
        return;
    }
    ASSERT_TRUE(result.HasText());
    EXPECT_EQ(result.TextView(), *c.expected);
}

const std::optional<std::string> kNoText;

INSTANTIATE_TEST_SUITE_P(
    Builtins, TextResults,
    testing::Values(
        TextCase{"strlower", {T("AbC-\xC3\x89Z")}, "abc-\xC3\x89z"},  // bytes above ASCII kept
        TextCase{"strlower", {N}, ""}, TextCase{"strupper", {T("abc-z9")}, "ABC-Z9"}, TextCase{"strupper", {N}, ""},

        TextCase{"strextract", {T("a,b,c"), T(","), I(1)}, "a"},
        TextCase{"strextract", {T("a,b,c"), T(","), I(2)}, "b"},
        TextCase{"strextract", {T("a,b,c"), T(","), I(3)}, "c"},
        TextCase{"strextract", {T("a,b,c"), T(","), I(4)}, kNoText},
        TextCase{"strextract", {T("a,b,c"), T(","), I(0)}, kNoText},
        TextCase{"strextract", {T("a,,c"), T(","), I(2)}, ""}, TextCase{"strextract", {T(""), T(","), I(1)}, kNoText},
        TextCase{"strextract", {N, T(","), I(1)}, kNoText}, TextCase{"strextract", {T("a,b"), N, I(1)}, kNoText},
        // A field starts one byte after the start of the separator before it.
        // A field starts past the whole separator.
        TextCase{"strextract", {T("a--b"), T("--"), I(2)}, "b"},
        TextCase{"strextract", {T("a, b, c"), T(", "), I(3)}, "c"},
        TextCase{"strextract", {T("a::b::c"), T("::"), I(2)}, "b"},
        TextCase{"strextract", {T("a::b::c"), T("::"), I(1)}, "a"},
        TextCase{"strextract", {T("::b::"), T("::"), I(3)}, ""},
        // Overlapping occurrences: each counts, the fields between them are empty.
        TextCase{"strextract", {T("xaaay"), T("aa"), I(2)}, ""},
        TextCase{"strextract", {T("xaaay"), T("aa"), I(3)}, "y"},
        TextCase{"strextract", {T("abc"), T(""), I(1)}, "abc"},
        TextCase{"strextract", {T("abc"), T(""), I(2)}, kNoText},

        TextCase{"strleft", {T("abcdef"), I(2)}, "ab"}, TextCase{"strleft", {T("abcdef"), I(6)}, "abcdef"},
        TextCase{"strleft", {T("abcdef"), I(7)}, ""}, TextCase{"strleft", {T("abcdef"), I(0)}, ""},
        TextCase{"strleft", {T("abcdef"), I(-1)}, ""}, TextCase{"strleft", {N, I(2)}, ""},
        TextCase{"strright", {T("abcdef"), I(2)}, "cdef"}, TextCase{"strright", {T("abcdef"), I(0)}, "abcdef"},
        TextCase{"strright", {T("abcdef"), I(6)}, ""}, TextCase{"strright", {T("abcdef"), I(-1)}, ""},
        TextCase{"strright", {N, I(1)}, ""},

        TextCase{"strcopy", {T("abcdef"), I(1), I(3)}, "bcd"}, TextCase{"strcopy", {T("abcdef"), I(4), I(10)}, "ef"},
        TextCase{"strcopy", {T("abcdef"), I(6), I(2)}, ""}, TextCase{"strcopy", {T("abcdef"), I(7), I(1)}, kNoText},
        TextCase{"strcopy", {N, I(0), I(1)}, kNoText},
        // A negative offset or length never reaches outside the text.
        TextCase{"strcopy", {T("abcdef"), I(-1), I(2)}, kNoText},
        TextCase{"strcopy", {T("abcdef"), I(INT_MIN), I(INT_MAX)}, kNoText},
        TextCase{"strcopy", {T("abcdef"), I(1), I(-5)}, ""},
        TextCase{"strcopy", {T("abcdef"), I(2), I(INT_MAX)}, "cdef"},

        TextCase{"strreplace", {T("a.b.c"), T("."), T("--")}, "a--b--c"},
        TextCase{"strreplace", {T("aaa"), T("aa"), T("b")}, "ba"},
        // The inserted text is never searched again.
        TextCase{"strreplace", {T("abab"), T("ab"), T("xabx")}, "xabxxabx"},
        TextCase{"strreplace", {T("abc"), T("b"), N}, "ac"}, TextCase{"strreplace", {T(""), T("a"), T("b")}, ""},
        TextCase{"strreplace", {N, T("a"), T("b")}, ""},
        // An empty or null pattern replaces nothing (and ends).
        TextCase{"strreplace", {T("abc"), T(""), T("x")}, "abc"}, TextCase{"strreplace", {T("abc"), N, T("x")}, "abc"},

        TextCase{"strtrim", {T("  a b  ")}, "a b"},
        TextCase{"strtrim", {T("\ta \t")}, "\ta \t"},  // only the space is a blank
        TextCase{"strtrim", {T("  ")}, kNoText}, TextCase{"strtrim", {T("")}, kNoText},
        TextCase{"strtrim", {N}, kNoText},

        TextCase{"strreverse", {T("abc")}, "cba"}, TextCase{"strreverse", {N}, ""},
        TextCase{"strrepeat", {T("ab"), I(3)}, "ababab"}, TextCase{"strrepeat", {T("ab"), I(0)}, ""},
        TextCase{"strrepeat", {T("ab"), I(-4)}, ""}, TextCase{"strrepeat", {N, I(3)}, ""},

        TextCase{"strregular", {T("abc"), T("a.*")}, kNoText}));

struct NumberCase {
    const char* name;
    std::vector<Arg> args;
    std::int32_t expected;
};

class TextNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(TextNumbers, GiveTheWord)
{
    const NumberCase& c = GetParam();
    EXPECT_EQ(Call(c.name, c.args).Word(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, TextNumbers,
    testing::Values(NumberCase{"strsize", {T("abcdef")}, 6},
                    NumberCase{"strsize", {T("\xC3\xA9")}, 2},  // bytes, not characters
                    NumberCase{"strsize", {N}, 0},

                    NumberCase{"strfind", {T("hello"), T("ll")}, 1}, NumberCase{"strfind", {T("hello"), T("x")}, 0},
                    NumberCase{"strfind", {T("hello"), T("")}, 1}, NumberCase{"strfind", {N, T("a")}, 0},
                    NumberCase{"strfind", {T("a"), N}, 0},

                    NumberCase{"strcount", {T("a,b,c"), T(",")}, 3}, NumberCase{"strcount", {T("abc"), T(",")}, 1},
                    NumberCase{"strcount", {T(""), T(",")}, 0}, NumberCase{"strcount", {N, T(",")}, 0},
                    NumberCase{"strcount", {T("a,b"), N}, 0},
                    NumberCase{"strcount", {T("aaa"), T("aa")}, 3},  // overlapping occurrences count
                    NumberCase{"strcount", {T("abc"), T("")}, 1},    // an empty separator occurs nowhere

                    NumberCase{"strpos", {T("hello"), T("l")}, 2}, NumberCase{"strpos", {T("hello"), T("he")}, 0},
                    NumberCase{"strpos", {T("hello"), T("z")}, -1}, NumberCase{"strpos", {T(""), T("a")}, -1},
                    NumberCase{"strpos", {T("a"), T("")}, -1}, NumberCase{"strpos", {N, T("a")}, -1}));

// Past the limit: see call_builtins_test, where the run is seen to stop.
TEST(Builtins, StrreplaceMakesAResultUpToTheTextLimit)
{
    const std::string megabyte(std::size_t{1} << 20, 'a');
    const CValue fits = Call("strreplace", {T(megabyte), T("a"), T("bc")});
    EXPECT_EQ(fits.TextView().size(), 2 * megabyte.size());
}

// strcount and strextract agree: every field up to the count exists, the next does not.
TEST(Builtins, StrextractHasAsManyFieldsAsStrcountCounts)
{
    for (const char* text : {"a,b,,c", ",", "x", ",,,", "aaaa"}) {
        for (const char* separator : {",", "aa", ",,"}) {
            const std::int32_t count = Call("strcount", {T(text), T(separator)}).Word();
            for (std::int32_t i = 1; i <= count; ++i)
                EXPECT_TRUE(Call("strextract", {T(text), T(separator), I(i)}).HasText())
                    << text << " " << separator << " " << i;
            EXPECT_FALSE(Call("strextract", {T(text), T(separator), I(count + 1)}).HasText())
                << text << " " << separator;
        }
    }
}

}  // namespace
}  // namespace zov

#include "engine/grammar/SyntaxMessages.h"

#include "grammar_test_support.h"

#include <gtest/gtest.h>

using namespace zov;
using namespace zov::test;

namespace {

CParseError ParseErrorAt(int offendingLine, std::vector<std::pair<std::string, int>> traceback,
                         std::vector<std::string> expected)
{
    CParseError e;
    e.Kind = ErrorKindParse;
    e.Subtype = ParseErrorUnexpectedToken;
    e.Line = offendingLine;
    e.OffendingToken.SymbolName = "Identifier";
    e.OffendingToken.Line = offendingLine;
    for (auto& [name, line] : traceback) {
        CTracebackEntry entry;
        entry.SymbolName = name;
        entry.Line = line;
        e.Traceback.push_back(entry);
    }
    e.Expected = std::move(expected);
    return e;
}

CParseError ScanError(int subtype, int line)
{
    CParseError e;
    e.Kind = ErrorKindScan;
    e.Subtype = subtype;
    e.Line = line;
    return e;
}

}  // namespace

TEST(SyntaxMessages, ScriptParseErrorsAreExplained)
{
    struct Case {
        const char* what;
        CParseError error;
        const char* text;
    };
    const Case cases[] = {
        {"if lacks end", ParseErrorAt(9, {{"StatementList", 8}, {"then", 3}, {"if", 3}}, {"end", "else"}),
         "err: 3 : Il manque un 'end' pour l'instruction 'if'"},
        {"if lacks then", ParseErrorAt(4, {{"Identifier", 4}, {"if", 4}}, {"then", "+"}),
         "err: 4 : Il manque un 'then' pour l'instruction 'if'"},
        {"if with both end and then expected takes end", ParseErrorAt(4, {{"if", 2}}, {"then", "end"}),
         "err: 2 : Il manque un 'end' pour l'instruction 'if'"},
        {"case lacks end", ParseErrorAt(7, {{"case", 5}}, {"when", "end"}),
         "err: 5 :Il manque un 'end' pour l'instruction 'case'"},
        {"while lacks end", ParseErrorAt(7, {{"while", 6}}, {"end"}),
         "err: 6 : Il manque un 'end' pour l'instruction 'while'"},
        {"while lacks do", ParseErrorAt(7, {{"while", 6}}, {"do", "*"}),
         "err: 6 : Il manque un 'do' pour l'instruction 'while'"},
        {"for lacks end", ParseErrorAt(7, {{"for", 2}}, {"end"}),
         "err: 2 : Il manque un 'end' pour l'instruction 'for'"},
        {"for lacks do", ParseErrorAt(7, {{"for", 2}}, {"do"}), "err: 2 : Il manque un 'do' pour l'instruction 'for'"},
        {"repeat lacks until", ParseErrorAt(7, {{"repeat", 1}}, {"until"}),
         "err: 1 : Il manque un 'until' pour l'instruction 'repeat'"},
        {"while inside an unfinished for: the while row comes first",
         ParseErrorAt(9, {{"while", 5}, {"for", 2}}, {"end"}),
         "err: 5 : Il manque un 'end' pour l'instruction 'while'"},
        {"for inside a while: still the while row, at the innermost while",
         ParseErrorAt(9, {{"for", 7}, {"while", 5}, {"while", 2}}, {"end"}),
         "err: 5 : Il manque un 'end' pour l'instruction 'while'"},
        {"keyword present but its terminal not expected", ParseErrorAt(12, {{"if", 3}}, {"+", "-"}),
         "err: 12 :  Erreur de syntaxe"},
        {"no keyword on the stack", ParseErrorAt(12, {{"Identifier", 12}}, {"end"}), "err: 12 :  Erreur de syntaxe"},
    };
    for (const Case& c : cases) {
        CScriptMessages messages;
        EXPECT_EQ(messages.FormatScriptError(c.error), c.text) << c.what;
    }
}

TEST(SyntaxMessages, ScanAndResourceTexts)
{
    CScriptMessages messages;
    EXPECT_EQ(messages.FormatScriptError(ScanError(ScanErrorCharacter, 17)), "err: 17 : Erreur de syntaxe");
    // Said for the memory the script needs, which is what went past 2 GB, not its size.
    EXPECT_EQ(messages.FormatScriptError(ScanError(ScanErrorWorkingSet, 0)),
              "err: Le script est trop grand, memoire necessaire > 2 Go\n");
    EXPECT_EQ(messages.FormatScriptError(ScanError(ScanErrorMemoryLoad, 0)),
              "err: Le script est trop grand, memoire insuffisante\n");
    EXPECT_EQ(messages.FormatScriptError(ScanError(1, 4)), "");
    CParseError other = ScanError(0, 1);
    other.Kind = 5;
    EXPECT_EQ(messages.FormatScriptError(other), "");
    EXPECT_EQ(messages.FormatInterfaceError(other, 3), "");
}

TEST(SyntaxMessages, BaseTextsAreNotExplained)
{
    CParseMessages messages;
    const CParseError e = ParseErrorAt(8, {{"if", 3}}, {"end"});
    EXPECT_EQ(messages.FormatScriptError(e), "err: 8 : Erreur durant le traitement du fichier");
    EXPECT_EQ(messages.FormatInterfaceError(e, 21), "dpb: 21 : Erreur durant le traitement du dictionnaire");
    EXPECT_EQ(messages.FormatInterfaceError(ScanError(ScanErrorCharacter, 1), 21), "dpb: 21 : Erreur de syntaxe");
    EXPECT_EQ(messages.FormatInterfaceError(ScanError(ScanErrorMemoryLoad, 1), 21), "");
}

TEST(SyntaxMessages, InterfaceLineTexts)
{
    struct Case {
        std::vector<std::pair<std::string, int>> traceback;
        const char* text;
    };
    const Case cases[] = {
        {{{"Identifier", 1}, {"MACRO", 1}}, "dpb: 14 : Erreur lors de l'interpretation d'une macro de l'interface"},
        {{{":", 1}, {"CONST", 1}}, "dpb: 14 : Erreur lors de l'interpretation d'une constante de l'interface"},
        {{{"CLI", 1}}, "dpb: 14 : Erreur de syntaxe dans l'interface"},
    };
    for (const Case& c : cases) {
        CScriptMessages messages;
        EXPECT_EQ(messages.FormatInterfaceError(ParseErrorAt(1, c.traceback, {}), 14), c.text);
    }
}

TEST(SyntaxMessages, HelpersLookFromTheTopOfTheStack)
{
    const CParseError e = ParseErrorAt(1, {{"if", 9}, {"x", 8}, {"if", 2}}, {"end", "then"});
    const CTracebackEntry* found = FindInTraceback(e.Traceback, "if");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Line, 9);
    EXPECT_EQ(FindInTraceback(e.Traceback, "IF"), nullptr);
    EXPECT_TRUE(FindExpectedToken(e.Expected, "then"));
    EXPECT_FALSE(FindExpectedToken(e.Expected, "do"));
}

// The same messages from real parse errors of the test grammar.
TEST(SyntaxMessages, FromParsedScripts)
{
    CGrammarTable table;
    ASSERT_TRUE(table.Load(TestTable("mini")));
    struct Case {
        const char* script;
        const char* text;
    };
    const Case cases[] = {
        {"a = 1\nif a then\n  b = 2\n", "err: 2 : Il manque un 'end' pour l'instruction 'if'"},
        {"if a b\nend\n", "err: 1 : Il manque un 'then' pour l'instruction 'if'"},
        {"case a of\nwhen 1:\n  b = 2\n", "err: 1 :Il manque un 'end' pour l'instruction 'case'"},
        {"for i = 1 to 3 do\n  while x do\n    y = 1\n  end\n", "err: 1 : Il manque un 'end' pour l'instruction 'for'"},
        {"for i = 1 to 3 do\n  while x do\n    y = 1\n", "err: 2 : Il manque un 'end' pour l'instruction 'while'"},
        {"while x\n", "err: 1 : Il manque un 'do' pour l'instruction 'while'"},
        {"repeat\n  a = 1\n", "err: 1 : Il manque un 'until' pour l'instruction 'repeat'"},
        {"a = 1\nb = )\n", "err: 2 :  Erreur de syntaxe"},
    };
    for (const Case& c : cases) {
        CScanner* scanner = table.CreateScanner();
        ASSERT_TRUE(scanner->Tokenize(c.script)) << c.script;
        CParser* parser = table.CreateParser();
        EXPECT_EQ(parser->Parse(scanner->GetTokens()), nullptr) << c.script;
        ASSERT_EQ(parser->GetErrors().size(), 1u) << c.script;
        CScriptMessages messages;
        EXPECT_EQ(messages.FormatScriptError(parser->GetErrors()[0]), c.text) << c.script;
    }
}

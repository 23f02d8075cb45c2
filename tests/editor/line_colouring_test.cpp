// The per-line caches of a view (cookies, widths with tabs expanded) and how edits forget them;
// the macro-call marks kept by the model; the language a document gets from its path.
#include "ide/editor/model/LanguageForPath.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/editor/model/MacroFolding.h"
#include "tests/editor/BufferTestSupport.h"
#include "tests/editor/SyntaxTestSupport.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

namespace zov::editor {
namespace {

using test::Fill;

std::vector<std::uint32_t> Cookies(LineColouring& colouring)
{
    std::vector<std::uint32_t> cookies;
    for (int line = 0; line < colouring.Buffer()->GetLineCount(); ++line)
        cookies.push_back(colouring.GetParseCookie(line));
    return cookies;
}

TEST(LineColouring, CookiesFollowTheTextAndEditsForgetThemFromTheLineDown)
{
    CTextBuffer buffer;
    Fill(buffer, "a \"open \\\nstill\" x\n; c \\\nall comment\nplain");
    LineColouring colouring(&buffer);
    EXPECT_EQ(colouring.KnownCookieCount(), 0);
    // Asking for the last line computes every line above it.
    EXPECT_EQ(colouring.GetParseCookie(4), 0U);
    EXPECT_EQ(colouring.KnownCookieCount(), 5);
    EXPECT_EQ(Cookies(colouring), (std::vector<std::uint32_t>{Cookie_String, 0, Cookie_LineComment, 0, 0}));

    std::vector<ColourBlock> blocks;
    colouring.ColourLine(1, blocks);
    EXPECT_EQ(test::ColourDigits(blocks, buffer.GetLineLength(1)), "eeeeee22");
    colouring.ColourLine(3, blocks);
    EXPECT_EQ(test::ColourDigits(blocks, buffer.GetLineLength(3)), "bbbbbbbbbbb");
    EXPECT_EQ(colouring.ColourLine(9, blocks), 0U);
    EXPECT_TRUE(blocks.empty());

    // One line edited: the cookies from it down are unknown and come back right.
    test::RecordingView view;
    buffer.AttachView(&view);
    ASSERT_TRUE(buffer.DeleteText(nullptr, {8, 0}, {9, 0}));  // the '\' that continued the string
    ASSERT_EQ(view.changes.size(), 1U);
    colouring.OnBufferChanged(view.changes[0].hint, view.changes[0].line);
    EXPECT_EQ(colouring.KnownCookieCount(), 0);
    EXPECT_EQ(Cookies(colouring), (std::vector<std::uint32_t>{0, 0, Cookie_LineComment, 0, 0}));

    // Lines inserted: resized to the new count.
    ASSERT_TRUE(buffer.InsertText(nullptr, {0, 4}, u"x\ny\n"));
    colouring.OnBufferChanged(view.changes.back().hint, view.changes.back().line);
    EXPECT_EQ(colouring.KnownCookieCount(), 4);
    EXPECT_EQ(colouring.GetParseCookie(6), 0U);
    EXPECT_EQ(colouring.KnownCookieCount(), 7);

    colouring.OnBufferChanged(BufferHint_Reset, -1);
    EXPECT_EQ(colouring.KnownCookieCount(), 0);
    buffer.DetachView(&view);
}

TEST(LineColouring, NewMarkersForgetEveryCookie)
{
    CTextBuffer buffer;
    Fill(buffer, "/* a\nb */ c\nd");
    LineColouring colouring(&buffer);
    EXPECT_EQ(Cookies(colouring), (std::vector<std::uint32_t>{0, 0, 0}));
    const auto c = test::Language("[c]\n#comment=//\n#comment_s=/*\n#comment_e=*/\n");
    colouring.SetMarkers(MarkersForLanguage(c.get()));
    EXPECT_EQ(colouring.KnownCookieCount(), 0);
    EXPECT_EQ(Cookies(colouring), (std::vector<std::uint32_t>{Cookie_BlockComment, 0, 0}));
}

TEST(LineColouring, ActualLengthsExpandTabsAndAreForgottenPerLine)
{
    struct Case {
        const char16_t* line;
        int tabSize;
        int length;
    };
    const Case cases[] = {
        {u"", 4, 0},      {u"abc", 4, 3},  {u"a\tb", 4, 5}, {u"\t", 4, 4},       {u"abcd\t", 4, 8},
        {u"\t\tx", 4, 9}, {u"a\tb", 8, 9}, {u"a\tb", 1, 3}, {u"\u00e9\t", 2, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandedLength(c.line, c.tabSize), c.length) << QString::fromUtf16(c.line).toStdString();

    CTextBuffer buffer;
    Fill(buffer, "a\tb\n\tx");
    test::RecordingView view;
    buffer.AttachView(&view);
    LineColouring colouring(&buffer);
    EXPECT_EQ(colouring.GetLineActualLength(0), 5);
    EXPECT_EQ(colouring.GetLineActualLength(1), 5);
    EXPECT_EQ(colouring.GetLineActualLength(2), 0);
    EXPECT_TRUE(colouring.SetTabSize(8));
    EXPECT_FALSE(colouring.SetTabSize(0));
    EXPECT_EQ(colouring.GetLineActualLength(0), 9);
    ASSERT_TRUE(buffer.InsertText(nullptr, {0, 1}, u"yy"));
    colouring.OnBufferChanged(view.changes.back().hint, view.changes.back().line);
    EXPECT_EQ(colouring.GetLineActualLength(1), 9);
    buffer.DetachView(&view);
}

TEST(MacroCallMarks, MarkedExactlyWhenTheTrimmedLineIsAMacroName)
{
    test::NamedSet names;
    CTextBuffer buffer;
    Fill(buffer, "Greet\n  Greet \t\nGreet x\ngreet\nTrace\n");
    {
        MacroCallMarks marks(buffer, &names.Set());
        EXPECT_EQ(buffer.GetMacroName(0), "Greet");
        EXPECT_EQ(buffer.GetMacroName(1), "Greet");
        for (int line : {2, 3, 4, 5})
            EXPECT_FALSE(buffer.HasMacroName(line)) << line;

        // Edits: the changed line and the lines brought in are looked at again.
        ASSERT_TRUE(buffer.InsertText(nullptr, {5, 0}, u" y"));  // "Greet y"
        EXPECT_FALSE(buffer.HasMacroName(0));
        ASSERT_TRUE(buffer.InsertText(nullptr, {7, 2}, u"\nGreet\nGreet"));  // "Greet x" split
        EXPECT_EQ(buffer.GetLine(2), "Greet x");
        EXPECT_EQ(buffer.GetLine(3), "Greet");
        EXPECT_EQ(buffer.GetMacroName(3), "Greet");
        EXPECT_EQ(buffer.GetLine(4), "Greet");
        EXPECT_EQ(buffer.GetMacroName(4), "Greet");
        ASSERT_TRUE(buffer.DeleteText(nullptr, {5, 3}, {0, 5}));  // joins "Greet" and "greet"
        EXPECT_EQ(buffer.GetLine(3), "Greetgreet");
        EXPECT_FALSE(buffer.HasMacroName(3));
        EXPECT_EQ(buffer.GetMacroName(4), "");

        // The set changes: every line again.
        names.Set().AddMacro("Trace2", "", -1);
        ASSERT_TRUE(buffer.InsertText(nullptr, {5, 4}, u"2"));
        EXPECT_EQ(buffer.GetMacroName(4), "Trace2");
        marks.SetNames(nullptr);
        for (int line = 0; line < buffer.GetLineCount(); ++line)
            EXPECT_FALSE(buffer.HasMacroName(line)) << line;
        marks.SetNames(&names.Set());
        EXPECT_EQ(buffer.GetMacroName(1), "Greet");
    }
    // Painting never changes the marks.
    LineColouring colouring(&buffer);
    colouring.SetNames(&names.Set());
    std::vector<ColourBlock> blocks;
    for (int line = 0; line < buffer.GetLineCount(); ++line)
        colouring.ColourLine(line, blocks);
    EXPECT_EQ(buffer.GetMacroName(1), "Greet");
    EXPECT_EQ(buffer.GetMacroName(4), "Trace2");
}

TEST(MacroCallMarks, FoldingUnfoldsTheMarkedCallsAndFoldsBackToThem)
{
    test::NamedSet names;
    names.Set().AddMacro("Twice", "Greet\nGreet", -1);
    CTextBuffer buffer;
    Fill(buffer, "  Twice\nx = 1");
    MacroCallMarks marks(buffer, &names.Set());
    const MacroExpander expand = [&](const std::string& name, int depth) {
        return names.Set().ExpandMacro(name, depth);
    };
    ExpandAllMacros(buffer, expand);
    ASSERT_GT(buffer.GetLineCount(), 2);
    EXPECT_EQ(buffer.GetMacroName(0), "Twice");  // the unfolded call keeps its name
    for (int line = 1; line + 1 < buffer.GetLineCount(); ++line)
        EXPECT_TRUE(buffer.IsMacroBodyLine(line)) << line;
    CollapseAllMacros(buffer);
    EXPECT_EQ(test::Lines(buffer), (std::vector<QString>{"  Twice", "x = 1"}));
    EXPECT_EQ(buffer.GetMacroName(0), "Twice");
    EXPECT_FALSE(buffer.HasMacroName(1));
}

TEST(LanguageForPath, KindAndLanguageByPath)
{
    shell::RecordingPrompter prompter;
    interfaces::InterfaceSet set({"", "", ""}, prompter);
    // Two sections of one name: the first wins.
    test::TempFolder folder;
    zov::test::WriteFile(folder.Path() / "zov.stx", "[qzs]\n#comment=;\n[ini]\n[qzs]\n[c.d]\n");
    set.LoadSyntaxFiles((folder.Path() / "*.stx").string());
    ASSERT_EQ(set.SyntaxLanguages().size(), 4U);
    const auto* qzs = set.SyntaxLanguages()[0].get();
    const auto* ini = set.SyntaxLanguages()[1].get();

    struct Case {
        const char* path;
        DocumentKind kind;
        const interfaces::SyntaxLanguage* language;
        bool refused;
    };
    const Case cases[] = {
        {"/p/test.qzs", DocumentKind_Script, qzs, false},     {"/p/tmp/M1.qzm", DocumentKind_Macro, qzs, false},
        {"/p/r.qzr", DocumentKind_Text, nullptr, false},      {"/p/notes.txt", DocumentKind_Text, nullptr, false},
        {"/p/x.qzs.bak", DocumentKind_Script, qzs, false},  // the path is searched as a whole
        {"/p/a.txt.qzm", DocumentKind_Macro, qzs, false},     {"/p/setup.ini", DocumentKind_Other, ini, false},
        {"/p/setup.INI", DocumentKind_Other, nullptr, true},  {"/p/data.csv", DocumentKind_Other, nullptr, true},
        {"/p.ini/README", DocumentKind_Other, nullptr, true},  // a point in a folder is no extension
        {"/p/b.c.d", DocumentKind_Other, nullptr, true},      {"C:\\p\\setup.ini", DocumentKind_Other, ini, false},
        {"/p/test.QZS", DocumentKind_Other, nullptr, true},
    };
    for (const Case& c : cases) {
        const DocumentLanguage got = LanguageForPath(c.path, set);
        EXPECT_EQ(got.kind, c.kind) << c.path;
        EXPECT_EQ(got.language, c.language) << c.path;
        EXPECT_EQ(got.refused, c.refused) << c.path;
    }

    // Without a "qzs" section a script opens with the default markers.
    interfaces::InterfaceSet empty({"", "", ""}, prompter);
    const DocumentLanguage script = LanguageForPath("/p/test.qzs", empty);
    EXPECT_EQ(script.kind, DocumentKind_Script);
    EXPECT_EQ(script.language, nullptr);
    EXPECT_FALSE(script.refused);
}

}  // namespace
}  // namespace zov::editor

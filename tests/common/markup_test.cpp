#include "common/Markup.h"

#include <gtest/gtest.h>

namespace {

using namespace zov::markup;

Style Bold()
{
    Style s;
    s.bold = true;
    return s;
}
Style Coloured(uint32_t colour)
{
    Style s;
    s.colour = colour;
    return s;
}

Item TextRun(std::string text, Style style = {})
{
    return {Item::Kind::Run, std::move(text), std::move(style)};
}
const Item kNewLine{Item::Kind::NewLine, {}, {}};
const Item kTab{Item::Kind::Tab, {}, {}};

std::string Show(const std::vector<Item>& items)
{
    std::string out;
    for (const Item& item : items) {
        if (item.kind == Item::Kind::NewLine) {
            out += "<R>";
        } else if (item.kind == Item::Kind::Tab) {
            out += "<T>";
        } else {
            out += "[" + item.text + " " + std::to_string(item.style.sizeTenths) + " " +
                   std::to_string(item.style.colour) + (item.style.bold ? " b" : "") + (item.style.italic ? " i" : "") +
                   (item.style.underline ? " u" : "") + " " + item.style.face + "]";
        }
    }
    return out;
}

struct Case {
    const char* text;
    std::vector<Item> items;
};

void Check(Dialect dialect, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        EXPECT_EQ(Show(Parse(c.text, dialect)), Show(c.items)) << "text: " << c.text;
    }
}

TEST(MarkupParse, MessageLabelCodes)
{
    Style boldItalicUnderline = Bold();
    boldItalicUnderline.italic = boldItalicUnderline.underline = true;
    Style large;
    large.sizeTenths = 120;
    Style smallSystem;
    smallSystem.sizeTenths = 80;
    smallSystem.face = "System";
    Style largeBoldRed = large;
    largeBoldRed.bold = true;
    largeBoldRed.colour = kRed;
    Style largeWingdings = large;
    largeWingdings.face = "Wingdings";
    Check(Dialect::Message,
          {
              {"", {}},
              {"plain text", {TextRun("plain text")}},
              {"#Bbold#N normal", {TextRun("bold", Bold()), TextRun(" normal")}},
              {"a##b", {TextRun("a#"), TextRun("b")}},
              {"##", {TextRun("#")}},
              {"100 ## 200", {TextRun("100 #"), TextRun(" 200")}},
              {"#CRred#R#CVgreen", {TextRun("red", Coloured(kRed)), kNewLine, TextRun("green", Coloured(kGreen))}},
              {"#CBb#CJj#CNn", {TextRun("b", Coloured(kBlue)), TextRun("j", Coloured(kYellow)), TextRun("n")}},
              {"#CRr#CXx",
               {TextRun("r", Coloured(kRed)), TextRun("x", Coloured(kRed))}},  // unknown colour letter is consumed
              {"#B#I#Uall", {TextRun("all", boldItalicUnderline)}},
              {"#SLbig#SSsmall",
               {TextRun("big", large), TextRun("small",
                                               [] {
                                                   Style s;
                                                   s.sizeTenths = 80;
                                                   return s;
                                               }())}},
              {"#SS#FSsys", {TextRun("sys", smallSystem)}},
              {"#SL#B#CRx#Ny", {TextRun("x", largeBoldRed), TextRun("y", large)}},  // #N keeps face and size
              {"#SL#FWw#FZz", {TextRun("w", largeWingdings), TextRun("z", largeWingdings)}},
              {"a#Tb#T#Tc", {TextRun("a"), kTab, TextRun("b"), kTab, kTab, TextRun("c")}},
              {"#Xunknown", {TextRun("unknown")}},
              {"#bword", {TextRun("word")}},  // codes are upper-case letters
              {"end#", {TextRun("end#")}},    // first '#' is the last character: drawn whole
              {"#Bend#", {TextRun("end", Bold())}},
              {"#C", {}},
              {"x#S", {TextRun("x")}},
              {"#", {TextRun("#")}},
              {"#\xC3\xA9t\xC3\xA9", {TextRun("t\xC3\xA9")}},  // a foreign code letter goes whole
              {"#C\xE2\x82\xAC"
               "x",
               {TextRun("x")}},
          });
}

TEST(MarkupParse, CaptionLabelDiffersOnlyInDoubledAndTrailingHash)
{
    Check(Dialect::Caption,
          {
              {"#BZ.O.V. Version 1.0 PR1", {TextRun("Z.O.V. Version 1.0 PR1", Bold())}},
              {"a##b", {TextRun("a"), TextRun("b")}},
              {"end#", {TextRun("end")}},
              {"#", {}},
              {"#CRred#R#CVgreen", {TextRun("red", Coloured(kRed)), kNewLine, TextRun("green", Coloured(kGreen))}},
          });
}

TEST(MarkupParse, EveryDrawingStartsFromTheGivenStyle)
{
    // The end of one text's drawing (bold, red, large) must not leak into the next drawing.
    const std::string text = "start#B#CR#SLend";
    const auto first = Parse(text, Dialect::Message);
    const auto second = Parse(text, Dialect::Message);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.front().style, Style{});
    Style initial;
    initial.face = "System";
    EXPECT_EQ(Parse("x", Dialect::Message, initial).front().style, initial);
}

TEST(MarkupLayout, PenMovesByRunsNewLinesAndTabStops)
{
    // Each character 7 pixels wide; large text 20 high, normal 13.
    const Measure measure = [](const std::string& text, const Style& style) {
        return Extent{7 * static_cast<int>(text.size()), style.sizeTenths > 100 ? 20 : 13};
    };
    struct LayoutCase {
        const char* text;
        std::vector<std::pair<int, int>> positions;
    };
    const LayoutCase cases[] = {
        {"ab#Tc", {{2, 2}, {50, 2}}},         // 2 + 14 = 16 -> 50
        {"#Tx", {{50, 2}}},                   // 2 -> 50
        {"1234567#Tx", {{2, 2}, {100, 2}}},   // 51 -> 100: always the next stop beyond
        {"abcdef#T#Tx", {{2, 2}, {100, 2}}},  // 44 -> 50 -> 100
        {"#SLbig#R#SMnext#Rlast", {{2, 2}, {2, 22}, {2, 35}}},
        {"#Rfirst", {{2, 2}}},          // no run drawn yet: the line height is 0
        {"a#R#Rb", {{2, 2}, {2, 28}}},  // the height of the last run counts for each break
    };
    for (const LayoutCase& c : cases) {
        const auto placed = Layout(Parse(c.text, Dialect::Message), measure);
        std::vector<std::pair<int, int>> positions;
        for (const PlacedRun& run : placed) {
            positions.emplace_back(run.x, run.y);
        }
        EXPECT_EQ(positions, c.positions) << c.text;
    }
}

}  // namespace

// The small inline mark-up of the message labels and the caption label: '#' followed by a
// code letter switches bold, italic, underline, colour, face and size, breaks the line or
// jumps to the next tab stop. Parsing and layout are pure functions, so that they are tested
// without a display; the label widget only measures and paints what they give.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::markup {

// Colours are Windows colour values, 0x00BBGGRR, as settings and callers carry them.
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kYellow = 0x00FFFF;
inline constexpr uint32_t kRed = 0x0000FF;
inline constexpr uint32_t kGreen = 0x00FF00;

// Pen start and tab width, in pixels.
inline constexpr int kMargin = 2;
inline constexpr int kTabWidth = 50;

struct Style {
    int sizeTenths = 100;  // tenths of a point
    uint32_t colour = kBlack;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string face = "Arial";

    bool operator==(const Style&) const = default;
};

// The two labels differ in two details, kept so that each reads its texts as before:
// - Message (the operator dialogs' label): "##" draws one '#'; a text whose first '#' is its
//   last character is drawn whole, that '#' included.
// - Caption (the splash and about caption): "##" is an unknown code and draws nothing; a '#'
//   at the end is dropped.
enum class Dialect { Message, Caption };

struct Item {
    enum class Kind { Run, NewLine, Tab };
    Kind kind = Kind::Run;
    std::string text;  // Run only
    Style style;       // Run only

    bool operator==(const Item&) const = default;
};

// The items of one drawing. Every drawing starts from `initial`: a repaint must not inherit
// the style in force at the end of the previous one.
std::vector<Item> Parse(std::string_view text, Dialect dialect, const Style& initial = Style{});

struct Extent {
    int width = 0;
    int height = 0;

    bool operator==(const Extent&) const = default;
};

struct PlacedRun {
    int x = 0;
    int y = 0;
    Extent extent;
    std::string text;
    Style style;

    bool operator==(const PlacedRun&) const = default;
};

using Measure = std::function<Extent(const std::string& text, const Style& style)>;

// Places the runs: the pen starts at (2, 2); a run moves it right by its width; a new line
// returns it to x = 2 and moves it down by the height of the last run drawn (nothing when no
// run has been drawn yet); a tab moves x to the next multiple of 50 beyond x + 49.
std::vector<PlacedRun> Layout(const std::vector<Item>& items, const Measure& measure);

}  // namespace zov::markup

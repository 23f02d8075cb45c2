#include "common/Markup.h"

namespace zov::markup {

namespace {

bool TakesParameter(char code)
{
    return code == 'C' || code == 'F' || code == 'S';
}

// A code letter or its parameter is one character: a UTF-8 sequence is consumed whole, so that a
// foreign letter after '#' never leaves half a character in the next run.
size_t CharacterLength(std::string_view text, size_t pos)
{
    size_t length = 1;
    while (pos + length < text.size() && (static_cast<unsigned char>(text[pos + length]) & 0xC0) == 0x80) {
        ++length;
    }
    return (static_cast<unsigned char>(text[pos]) >= 0xC0) ? length : 1;
}

void Apply(Style& style, char code, char parameter, std::vector<Item>& items)
{
    switch (code) {
    case 'B':
        style.bold = true;
        break;
    case 'I':
        style.italic = true;
        break;
    case 'U':
        style.underline = true;
        break;
    case 'N':
        // Face and size stay: "normal" concerns the emphasis and the colour only.
        style.bold = style.italic = style.underline = false;
        style.colour = kBlack;
        break;
    case 'C':
        switch (parameter) {
        case 'B':
            style.colour = kBlue;
            break;
        case 'J':
            style.colour = kYellow;
            break;
        case 'N':
            style.colour = kBlack;
            break;
        case 'R':
            style.colour = kRed;
            break;
        case 'V':
            style.colour = kGreen;
            break;
        default:
            break;
        }
        break;
    case 'F':
        switch (parameter) {
        case 'A':
            style.face = "Arial";
            break;
        case 'S':
            style.face = "System";
            break;
        case 'W':
            style.face = "Wingdings";
            break;
        default:
            break;
        }
        break;
    case 'S':
        switch (parameter) {
        case 'L':
            style.sizeTenths = 120;
            break;
        case 'M':
            style.sizeTenths = 100;
            break;
        case 'S':
            style.sizeTenths = 80;
            break;
        default:
            break;
        }
        break;
    case 'R':
        items.push_back({Item::Kind::NewLine, {}, {}});
        break;
    case 'T':
        items.push_back({Item::Kind::Tab, {}, {}});
        break;
    default:
        break;
    }
}

void AddRun(std::vector<Item>& items, std::string_view text, const Style& style)
{
    if (!text.empty()) {
        items.push_back({Item::Kind::Run, std::string(text), style});
    }
}

}  // namespace

std::vector<Item> Parse(std::string_view text, Dialect dialect, const Style& initial)
{
    std::vector<Item> items;
    Style style = initial;
    std::string_view rest = text;
    size_t hash = rest.find('#');
    if (dialect == Dialect::Message && (hash == std::string_view::npos || hash + 1 == rest.size())) {
        AddRun(items, rest, style);
        return items;
    }
    while (hash != std::string_view::npos) {
        const bool doubled = hash + 1 < rest.size() && rest[hash + 1] == '#';
        if (dialect == Dialect::Message && doubled) {
            AddRun(items, rest.substr(0, hash + 1), style);
        } else {
            AddRun(items, rest.substr(0, hash), style);
        }
        size_t consumed = hash + 1;
        if (consumed < rest.size()) {
            const char code = rest[consumed];
            consumed += CharacterLength(rest, consumed);
            char parameter = '\0';
            if (TakesParameter(code) && consumed < rest.size()) {
                parameter = rest[consumed];
                consumed += CharacterLength(rest, consumed);
            }
            Apply(style, code, parameter, items);
        }
        rest.remove_prefix(consumed);
        hash = rest.find('#');
    }
    AddRun(items, rest, style);
    return items;
}

std::vector<PlacedRun> Layout(const std::vector<Item>& items, const Measure& measure)
{
    std::vector<PlacedRun> placed;
    int x = kMargin;
    int y = kMargin;
    int lineHeight = 0;
    for (const Item& item : items) {
        switch (item.kind) {
        case Item::Kind::Run: {
            const Extent extent = measure(item.text, item.style);
            placed.push_back({x, y, extent, item.text, item.style});
            x += extent.width;
            lineHeight = extent.height;
            break;
        }
        case Item::Kind::NewLine:
            x = kMargin;
            y += lineHeight;
            break;
        case Item::Kind::Tab:
            x = (x + kTabWidth) / kTabWidth * kTabWidth;
            break;
        }
    }
    return placed;
}

}  // namespace zov::markup

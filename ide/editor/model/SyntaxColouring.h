#pragma once
// Syntax colouring of one line of a script view: the markers of the document's language, the
// parse cookie carried from line to line, and the colour blocks a view paints. Words are looked
// up among the language's keywords and the names the loaded interfaces declare.

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zov::interfaces {
class InterfaceSet;
struct SyntaxLanguage;
}  // namespace zov::interfaces

namespace zov::editor {

// The state at the end of a line, handed to the next one.
enum ParseCookie : std::uint32_t {
    Cookie_LineComment = 1,
    Cookie_BlockComment = 4,
    Cookie_String = 8,
};

// Indexes into the text view's colour table.
enum ColourIndex : int {
    Colour_Normal = 2,
    Colour_Keyword = 6,
    Colour_Function = 7,
    Colour_Cli = 8,
    Colour_Constant = 9,
    Colour_Macro = 10,
    Colour_Comment = 11,
    Colour_Number = 12,
    Colour_String = 14,
};

// A block runs from its character to the next block's character or the end of the line.
struct ColourBlock {
    int charIndex = 0;
    int colourIndex = Colour_Normal;
    friend bool operator==(const ColourBlock&, const ColourBlock&) = default;
};

// What a script view colours with. The defaults hold until a language is applied.
struct SyntaxMarkers {
    QString lineComment = QStringLiteral(";");
    QChar stringDelimiter1 = u'"';  // a null QChar is no delimiter
    QChar stringDelimiter2 = u'"';
    QString blockCommentStart;
    QString blockCommentEnd;  // block comments are recognised only when this is set
    const interfaces::SyntaxLanguage* language = nullptr;
    // The editor's comment character: none until a language is applied, then the first
    // character of its line-comment marker.
    QChar commentChar;
};

// The markers a view takes from its document's language; none keeps the defaults.
SyntaxMarkers MarkersForLanguage(const interfaces::SyntaxLanguage* language);

// Letters and digits of any script (accented letters included), '_' and '.'.
bool IsColourWordChar(QChar c);

// Number literals: 0x hex, 0b binary, 0o octal, 0d followed by a digit, else a digit followed
// by digits, signs, points and exponents ("1e-5", never "-5").
bool IsNumber(QStringView text);

// The colour of every character of a line of `length` characters under its blocks: the last
// block at or before the character, the normal colour before the first block.
std::vector<int> EffectiveColours(const std::vector<ColourBlock>& blocks, int length);

class SyntaxColourer {
public:
    explicit SyntaxColourer(SyntaxMarkers markers = {}, const interfaces::InterfaceSet* names = nullptr)
        : markers_(std::move(markers)), names_(names)
    {}

    const SyntaxMarkers& Markers() const { return markers_; }
    void SetMarkers(SyntaxMarkers markers) { markers_ = std::move(markers); }
    const interfaces::InterfaceSet* Names() const { return names_; }
    void SetNames(const interfaces::InterfaceSet* names) { names_ = names; }

    // Colours `line` given the cookie of the line above (0 for the first line) and returns the
    // cookie for the next line. With `blocks` (cleared first) the words are classified too;
    // without, only the cookie is computed, which is all the lines above the visible ones need.
    std::uint32_t ColourLine(QStringView line, std::uint32_t cookie, std::vector<ColourBlock>* blocks) const;

    // The colour a word gets on its own (0: none, it shows in the colour of its block).
    int ClassifyWord(QStringView word) const;

    // The macro a line calls: its text trimmed of blanks, when that is the name of a macro of the
    // set; else empty.
    QString MacroCallName(QStringView line) const;

private:
    bool IsMacroName(QStringView word) const;
    const std::string& Utf8(QStringView text) const;

    SyntaxMarkers markers_;
    const interfaces::InterfaceSet* names_ = nullptr;
    mutable std::string scratch_;  // reused so that look-ups allocate nothing once warm
};

}  // namespace zov::editor

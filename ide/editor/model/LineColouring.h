#pragma once
// What a text view keeps per line to paint quickly: the parse cookie at the end of each line
// and each line's width in columns with tabs expanded. Both are computed on demand, kept, and
// forgotten from the changed line on when the buffer changes.

#include "ide/editor/model/SyntaxColouring.h"
#include "ide/editor/model/TextBuffer.h"

#include <cstdint>
#include <vector>

namespace zov::editor {

// The display columns of a line: a tab moves to the next multiple of the tab size.
int ExpandedLength(QStringView line, int tabSize);

class LineColouring {
public:
    static constexpr int kDefaultTabSize = 4;

    explicit LineColouring(const CTextBuffer* buffer = nullptr) : buffer_(buffer) {}

    // Another buffer (or none): every cache is dropped.
    void Attach(const CTextBuffer* buffer);
    const CTextBuffer* Buffer() const { return buffer_; }

    const SyntaxColourer& Colourer() const { return colourer_; }
    // New markers change every cookie; new names change only the blocks.
    void SetMarkers(SyntaxMarkers markers);
    void SetNames(const interfaces::InterfaceSet* names) { colourer_.SetNames(names); }

    int GetTabSize() const { return tabSize_; }
    // Sizes below 1 or above 64 are refused (false, nothing changed).
    bool SetTabSize(int tabSize);

    // The cookie at the end of `line` (0 for a line out of range); unknown cookies are computed
    // from the nearest known line above and kept.
    std::uint32_t GetParseCookie(int line);
    // Display columns of the line with tabs expanded (0 for a line out of range).
    int GetLineActualLength(int line);
    // The blocks of one line, from the cookie of the line above; returns the line's own cookie.
    std::uint32_t ColourLine(int line, std::vector<ColourBlock>& blocks);

    // A view's notification, forwarded: hint BufferHint_Reset drops everything; BufferHint_OneLine
    // forgets the line's width and the cookies from the line down; any other change resizes to
    // the line count and forgets both from the line down (line -1 counts as 0).
    void OnBufferChanged(unsigned hint, int line);
    void Reset();

    // How many leading cookies are known (for tests and the benchmark).
    int KnownCookieCount() const { return knownCookies_; }

private:
    void FitToLineCount();

    const CTextBuffer* buffer_ = nullptr;
    SyntaxColourer colourer_;
    int tabSize_ = kDefaultTabSize;
    // Cookies are always invalidated from a line to the bottom, so the known ones form a prefix.
    std::vector<std::uint32_t> cookies_;
    int knownCookies_ = 0;
    std::vector<int> actualLengths_;  // -1: unknown
};

// Keeps every line's macro-call mark in step with its text: a line calls a macro exactly when
// its trimmed text is the name of a macro of the set. Marks change when lines change and, for
// every line, when the set changes; painting never touches them.
class MacroCallMarks final : public BufferView {
public:
    MacroCallMarks(CTextBuffer& buffer, const interfaces::InterfaceSet* names);
    ~MacroCallMarks() override;
    MacroCallMarks(const MacroCallMarks&) = delete;
    MacroCallMarks& operator=(const MacroCallMarks&) = delete;

    // The set changed (or is another one): every line is looked at again.
    void SetNames(const interfaces::InterfaceSet* names);
    void RefreshAll();
    void RefreshLines(int first, int last);

    void OnBufferChanged(BufferView* source, const EditContext* edit, unsigned hint, int line) override;

private:
    CTextBuffer& buffer_;
    SyntaxColourer colourer_;
    int lineCount_ = 0;  // before the change being told, to know how many lines came in
};

}  // namespace zov::editor

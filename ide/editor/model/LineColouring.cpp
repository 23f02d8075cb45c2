#include "ide/editor/model/LineColouring.h"

#include <algorithm>

namespace zov::editor {

int ExpandedLength(QStringView line, int tabSize)
{
    int columns = 0;
    for (const QChar c : line)
        columns = c == u'\t' ? (columns / tabSize + 1) * tabSize : columns + 1;
    return columns;
}

void LineColouring::Attach(const CTextBuffer* buffer)
{
    buffer_ = buffer;
    Reset();
}

void LineColouring::SetMarkers(SyntaxMarkers markers)
{
    colourer_.SetMarkers(std::move(markers));
    knownCookies_ = 0;
}

bool LineColouring::SetTabSize(int tabSize)
{
    if (tabSize < 1 || tabSize > 64)
        return false;
    if (tabSize != tabSize_) {
        tabSize_ = tabSize;
        std::fill(actualLengths_.begin(), actualLengths_.end(), -1);
    }
    return true;
}

void LineColouring::Reset()
{
    cookies_.clear();
    actualLengths_.clear();
    knownCookies_ = 0;
}

void LineColouring::FitToLineCount()
{
    const std::size_t count = buffer_ == nullptr ? 0 : static_cast<std::size_t>(buffer_->GetLineCount());
    if (cookies_.size() != count) {
        cookies_.resize(count, 0);
        knownCookies_ = std::min(knownCookies_, static_cast<int>(count));
    }
    if (actualLengths_.size() != count)
        actualLengths_.resize(count, -1);
}

std::uint32_t LineColouring::GetParseCookie(int line)
{
    if (buffer_ == nullptr || line < 0 || line >= buffer_->GetLineCount())
        return 0;
    FitToLineCount();
    while (knownCookies_ <= line) {
        const std::uint32_t above = knownCookies_ == 0 ? 0 : cookies_[static_cast<std::size_t>(knownCookies_ - 1)];
        cookies_[static_cast<std::size_t>(knownCookies_)] =
            colourer_.ColourLine(buffer_->GetLine(knownCookies_), above, nullptr);
        ++knownCookies_;
    }
    return cookies_[static_cast<std::size_t>(line)];
}

int LineColouring::GetLineActualLength(int line)
{
    if (buffer_ == nullptr || line < 0 || line >= buffer_->GetLineCount())
        return 0;
    FitToLineCount();
    int& length = actualLengths_[static_cast<std::size_t>(line)];
    if (length < 0)
        length = ExpandedLength(buffer_->GetLine(line), tabSize_);
    return length;
}

std::uint32_t LineColouring::ColourLine(int line, std::vector<ColourBlock>& blocks)
{
    blocks.clear();
    if (buffer_ == nullptr || line < 0 || line >= buffer_->GetLineCount())
        return 0;
    const std::uint32_t above = line == 0 ? 0 : GetParseCookie(line - 1);
    return colourer_.ColourLine(buffer_->GetLine(line), above, &blocks);
}

void LineColouring::OnBufferChanged(unsigned hint, int line)
{
    if (hint & BufferHint_Reset) {
        Reset();
        return;
    }
    if (buffer_ == nullptr || line >= buffer_->GetLineCount())
        return;
    if (hint & BufferHint_OneLine) {
        if (line < 0)
            return;
        FitToLineCount();
        knownCookies_ = std::min(knownCookies_, line);
        actualLengths_[static_cast<std::size_t>(line)] = -1;
        return;
    }
    const int from = std::max(line, 0);
    FitToLineCount();
    knownCookies_ = std::min(knownCookies_, from);
    std::fill(actualLengths_.begin() + from, actualLengths_.end(), -1);
}

MacroCallMarks::MacroCallMarks(CTextBuffer& buffer, const interfaces::InterfaceSet* names)
    : buffer_(buffer), colourer_({}, names)
{
    buffer_.AttachView(this);
    RefreshAll();
}

MacroCallMarks::~MacroCallMarks()
{
    buffer_.DetachView(this);
}

void MacroCallMarks::SetNames(const interfaces::InterfaceSet* names)
{
    colourer_.SetNames(names);
    RefreshAll();
}

void MacroCallMarks::RefreshAll()
{
    RefreshLines(0, buffer_.GetLineCount() - 1);
}

void MacroCallMarks::RefreshLines(int first, int last)
{
    lineCount_ = buffer_.GetLineCount();
    first = std::max(first, 0);
    last = std::min(last, lineCount_ - 1);
    for (int line = first; line <= last; ++line) {
        // A line in a fold state keeps its name; the buffer refuses the change.
        const QString name = colourer_.MacroCallName(buffer_.GetLine(line));
        if (name.isEmpty() ? buffer_.HasMacroName(line) : buffer_.GetMacroName(line) != name)
            buffer_.SetMacroName(line, name);
    }
}

void MacroCallMarks::OnBufferChanged(BufferView*, const EditContext*, unsigned hint, int line)
{
    if (hint & BufferHint_Reset) {
        RefreshAll();
        return;
    }
    if (hint & BufferHint_Flags)
        return;  // the text did not change
    // Marks travel with their lines: only the edited line and the lines an insert brought in
    // have new text (a deletion across lines leaves one joined line).
    const int added = std::max(buffer_.GetLineCount() - lineCount_, 0);
    RefreshLines(line, line + added);
}

}  // namespace zov::editor

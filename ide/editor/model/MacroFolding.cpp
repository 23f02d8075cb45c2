#include "ide/editor/model/MacroFolding.h"

#include "ide/editor/model/TextSearch.h"

namespace zov::editor {

namespace {

// Edits that stay out of the undo list and leave the modified state as it was.
class UnrecordedEdits {
public:
    explicit UnrecordedEdits(CTextBuffer& buffer)
        : buffer_(buffer), modified_(buffer.IsModified()), recording_(buffer.IsUndoRecordingEnabled())
    {
        buffer_.EnableUndoRecording(false);
    }
    ~UnrecordedEdits()
    {
        buffer_.EnableUndoRecording(recording_);
        if (buffer_.IsModified() != modified_) {
            buffer_.SetModified(modified_);
        }
    }
    UnrecordedEdits(const UnrecordedEdits&) = delete;
    UnrecordedEdits& operator=(const UnrecordedEdits&) = delete;

private:
    CTextBuffer& buffer_;
    bool modified_;
    bool recording_;
};

bool Unfold(CTextBuffer& buffer, int line, bool full, const MacroExpander& expand)
{
    const QString name = buffer.GetMacroName(line);
    if (name.isEmpty() || buffer.IsMacroBodyLine(line + 1)) {
        return false;
    }
    const QString& text = buffer.GetLine(line);
    const int at = FindInLine(text, name, 0, static_cast<int>(text.size()), static_cast<int>(text.size()),
                              Find_MatchCase | Find_WholeWord);
    if (at < 0) {
        return false;
    }
    const QString indent = text.left(at);
    const QString body = expand ? QString::fromStdString(expand(name.toStdString(), full ? 10 : 1)) : QString();
    // After every line break of the body, the call's indentation.
    QString indented;
    indented.reserve(body.size() + indent.size() * 8);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < body.size() && body[i + 1] == u'\n') {
                ++i;
            }
            indented += QStringLiteral("\r\n");
            indented += indent;
        } else {
            indented += c;
        }
    }
    UnrecordedEdits unrecorded(buffer);
    const TextPosition start{at, line};
    if (!buffer.DeleteText(nullptr, start, {at + static_cast<int>(name.size()), line})) {
        return false;
    }
    TextPosition end = start;
    if (!buffer.InsertText(nullptr, start, indented, &end)) {
        buffer.InsertText(nullptr, start, name);
        return false;
    }
    buffer.MarkMacroBody(line, end.line);
    buffer.SetFoldIndent(line, indent);
    return true;
}

bool Fold(CTextBuffer& buffer, int line)
{
    const QString name = buffer.GetMacroName(line);
    if (name.isEmpty()) {
        return false;
    }
    const int last = buffer.UnmarkMacroBody(line);
    const QString indent = buffer.GetFoldIndent(line);
    UnrecordedEdits unrecorded(buffer);
    if (!buffer.DeleteText(nullptr, {0, line}, {buffer.GetLineLength(last), last})) {
        buffer.MarkMacroBody(line, last);
        return false;
    }
    buffer.InsertText(nullptr, {0, line}, indent + name);
    buffer.SetFoldIndent(line, QString());
    return true;
}

}  // namespace

bool ExpandMacroLine(CTextBuffer& buffer, int line, bool full, const MacroExpander& expand)
{
    if (line < 0 || line >= buffer.GetLineCount() || buffer.IsReadOnly()) {
        return false;
    }
    return buffer.GetFoldState(line) != Fold_Folded ? Unfold(buffer, line, full, expand) : Fold(buffer, line);
}

void ExpandAllMacros(CTextBuffer& buffer, const MacroExpander& expand)
{
    if (buffer.IsReadOnly()) {
        return;
    }
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.HasMacroName(line) && !buffer.IsUnfolded(line)) {
            buffer.SetFoldState(line, Fold_Full);
            if (!ExpandMacroLine(buffer, line, true, expand)) {
                buffer.SetFoldState(line, Fold_Folded);
            }
        }
    }
}

void CollapseAllMacros(CTextBuffer& buffer)
{
    if (buffer.IsReadOnly()) {
        return;
    }
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.HasMacroName(line) && buffer.IsUnfolded(line)) {
            const int state = buffer.GetFoldState(line);
            buffer.SetFoldState(line, Fold_Folded);
            if (!ExpandMacroLine(buffer, line, false, nullptr)) {
                buffer.SetFoldState(line, state);
            }
        }
    }
    buffer.NotifyViews(nullptr, nullptr, BufferHint_Reset, -1);
}

bool HasMacroBlocks(const CTextBuffer& buffer)
{
    if (buffer.IsReadOnly()) {
        return false;
    }
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.HasMacroName(line) && buffer.IsUnfolded(line)) {
            return true;
        }
    }
    return false;
}

std::vector<std::uint32_t> SaveFoldState(const CTextBuffer& buffer)
{
    std::vector<std::uint32_t> saved;
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (!buffer.HasMacroName(line)) {
            continue;
        }
        const int state = buffer.GetFoldState(line);
        if (state == Fold_OneLevel) {
            saved.push_back(static_cast<std::uint32_t>(line));
        } else if (state == Fold_Full) {
            saved.push_back(static_cast<std::uint32_t>(line) | kFullFoldBit);
        }
    }
    return saved;
}

void RestoreFoldState(CTextBuffer& buffer, const std::vector<std::uint32_t>& saved, const MacroExpander& expand)
{
    if (buffer.IsReadOnly()) {
        return;
    }
    for (std::uint32_t value : saved) {
        const int line = static_cast<int>(value & 0x0FFFFFFFu);
        if (line >= buffer.GetLineCount() || !buffer.HasMacroName(line) || buffer.IsUnfolded(line)) {
            continue;
        }
        const bool full = (value & kFullFoldBit) != 0;
        buffer.SetFoldState(line, full ? Fold_Full : Fold_OneLevel);
        if (!ExpandMacroLine(buffer, line, full, expand)) {
            buffer.SetFoldState(line, Fold_Folded);
        }
    }
}

}  // namespace zov::editor

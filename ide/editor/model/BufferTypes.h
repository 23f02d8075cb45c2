#pragma once
// The small types shared by the text buffer and the views that draw it: positions, line flags,
// change hints, undo action codes, edit contexts and the view observer.

#include <QString>

#include <cstdint>

namespace zov::editor {

// A place in the text: 0-based character index in the line and 0-based line number.
struct TextPosition {
    int charIndex = 0;
    int line = 0;

    friend bool operator==(const TextPosition&, const TextPosition&) = default;
    friend bool operator<(const TextPosition& a, const TextPosition& b)
    {
        return a.line != b.line ? a.line < b.line : a.charIndex < b.charIndex;
    }
    friend bool operator<=(const TextPosition& a, const TextPosition& b) { return !(b < a); }
};

// Bits of a line's flags word. The numbered bookmarks are LineFlag_Bookmark0 << n.
enum LineFlag : std::uint32_t {
    LineFlag_Bookmark0 = 0x00000001,
    LineFlag_Bookmark1 = 0x00000002,
    LineFlag_Bookmark2 = 0x00000004,
    LineFlag_Bookmark3 = 0x00000008,
    LineFlag_Bookmark4 = 0x00000010,
    LineFlag_Bookmark5 = 0x00000020,
    LineFlag_Bookmark6 = 0x00000040,
    LineFlag_Bookmark7 = 0x00000080,
    LineFlag_Bookmark8 = 0x00000100,
    LineFlag_Bookmark9 = 0x00000200,
    LineFlag_Execution = 0x00010000,
    LineFlag_Breakpoint = 0x00020000,
    LineFlag_Error = 0x00040000,
    LineFlag_Warning = 0x00080000,
    LineFlag_Marker = 0x00100000,
    LineFlag_Bookmark = 0x00200000,
};

constexpr std::uint32_t NumberedBookmarkFlag(int n)
{
    return LineFlag_Bookmark0 << n;
}

// What changed, told to the views with every change.
enum BufferHint : unsigned {
    BufferHint_Width = 0x0001,
    BufferHint_LineCount = 0x0002,
    BufferHint_OneLine = 0x0100,
    BufferHint_Flags = 0x0200,
    BufferHint_Reset = 0x1000,
};

// Line-end modes: the index is what the status bar shows ("DOS", "UNIX", "MAC").
enum LineEndMode : int {
    LineEnd_Detect = -1,
    LineEnd_Dos = 0,   // CR LF
    LineEnd_Unix = 1,  // LF
    LineEnd_Mac = 2,   // CR
};

// Undo action codes; their texts come from CTextBuffer::GetUndoActionText.
enum UndoAction : int {
    UndoAction_Unknown = 0,
    UndoAction_Paste = 1,
    UndoAction_DeleteSelection = 2,
    UndoAction_Cut = 3,
    UndoAction_Typing = 4,
    UndoAction_Backspace = 5,
    UndoAction_Indent = 6,
    UndoAction_DragDrop = 7,
    UndoAction_Replace = 8,
    UndoAction_Delete = 9,
    UndoAction_AutoIndent = 10,
    UndoAction_LowerCase = 13,
    UndoAction_UpperCase = 14,
    UndoAction_SwapCase = 15,
    UndoAction_Capitalise = 16,
    UndoAction_Comment = 18,
    UndoAction_Uncomment = 19,
};

// Moves a position a view holds (caret, selection ends, anchor, drag ends) across one edit.
class EditContext {
public:
    virtual ~EditContext() = default;
    virtual void AdjustPosition(TextPosition& position) const = 0;
};

// The text from start to end was inserted.
class InsertContext final : public EditContext {
public:
    InsertContext(TextPosition start, TextPosition end) : start_(start), end_(end) {}
    void AdjustPosition(TextPosition& position) const override;

private:
    TextPosition start_;
    TextPosition end_;
};

// The text from start to end was deleted.
class DeleteContext final : public EditContext {
public:
    DeleteContext(TextPosition start, TextPosition end) : start_(start), end_(end) {}
    void AdjustPosition(TextPosition& position) const override;

private:
    TextPosition start_;
    TextPosition end_;
};

// A view attached to a buffer. `source` is the view that made the change (none for undo, redo
// and loads); `edit` is set for inserts and deletes only.
class BufferView {
public:
    virtual ~BufferView() = default;
    virtual void OnBufferChanged(BufferView* source, const EditContext* edit, unsigned hint, int line) = 0;
    // Called when the source view's undo group closes, with the last record's action and text.
    virtual void AfterEdit(int action, const QString& text)
    {
        (void)action;
        (void)text;
    }
};

}  // namespace zov::editor

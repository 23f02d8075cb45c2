#pragma once
// The read-only view of a text buffer: coloured lines, the margin with its mark icons, line
// numbers and fold boxes, the selection and the caret. Only the visible lines are painted; the
// parse cookies and line widths are kept per line by LineColouring.

#include "ide/editor/model/BufferTypes.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/editor/model/TextBuffer.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QTimer>

class QMimeData;

#include <array>
#include <cstdint>

namespace zov::shell {
class Settings;
}

namespace zov::editor {

// A Windows colour value (0x00BBGGRR) as a colour and back.
QColor ColourFromColorref(int value);
int ColorrefFromColour(const QColor& colour);

// The colours a line's flags give it; invalid colours stand for the view's defaults.
struct LineColours {
    QColor background;
    QColor text;
    bool wholeLine = false;
};
LineColours LineColoursForFlags(std::uint32_t flags);

// The margin icon of a line's flags (0..6), or -1 for none.
int MarginIconIndex(std::uint32_t flags);

// (selection margin ? 20 : 1) + (line numbers ? 50 : 15).
int MarginWidthFor(bool selectionMargin, bool lineNumbers);

class CTextView : public QAbstractScrollArea, public BufferView {
    Q_OBJECT
    // The search and go-to commands move the caret as the keys do and mark a dialog as shown.
    friend class EditorCommands;

public:
    static constexpr int kColourCount = 22;
    enum ColourSlot : int {
        Colour_WhiteSpace = 0,
        Colour_Background = 1,
        Colour_Text = 2,
        Colour_SelectionBackground = 4,
        Colour_SelectionText = 5,
        Colour_MacroBar = 10,
    };

    explicit CTextView(QWidget* parent = nullptr);
    ~CTextView() override;

    // Detaches from the old buffer (if any), attaches and resets the view.
    void AttachToBuffer(CTextBuffer* buffer);
    CTextBuffer* GetTextBuffer() const { return buffer_; }
    LineColouring& Colouring() { return colouring_; }

    // EditClr0-EditClr8, ShowLineNumber and FontSize.
    void ApplySettings(const shell::Settings& settings);
    void SetFontSize(int pixelSize);
    const QFont& TextFont() const { return font_; }

    QColor GetColor(int index) const;
    void SetColor(int index, const QColor& colour);
    LineColours GetLineColors(int line) const;

    bool GetSelectionMargin() const { return selectionMargin_; }
    void SetSelectionMargin(bool shown);
    bool GetDisplayLineNumbers() const { return lineNumbers_; }
    void SetDisplayLineNumbers(bool shown);
    int GetMarginWidth() const { return MarginWidthFor(selectionMargin_, lineNumbers_); }

    int GetLineCount() const;
    int GetLineLength(int line) const;
    int GetLineActualLength(int line);
    std::uint32_t GetLineFlags(int line) const;
    int GetTabSize() const { return colouring_.GetTabSize(); }
    void SetTabSize(int tabSize);

    int GetLineHeight() const { return lineHeight_; }
    int GetCharWidth() const { return charWidth_; }
    int GetScreenLines() const;
    int GetScreenChars() const;
    int GetTopLine() const { return topLine_; }
    int GetOffsetChar() const { return offsetChar_; }
    void ScrollToLine(int line);
    void ScrollToChar(int column);
    // While suspended (calls nest), edits leave the scroll ranges alone and the last resume
    // recomputes them once: a long series of edits then does not rescan every line per edit.
    void SuspendScrollRangeUpdates(bool suspend);

    TextPosition GetCursorPos() const { return cursor_; }
    // Also sets the ideal column for vertical moves.
    void SetCursorPos(TextPosition position);
    void SetAnchor(TextPosition position) { anchor_ = position; }
    TextPosition GetAnchor() const { return anchor_; }
    void SetSelection(TextPosition start, TextPosition end);
    // Ordered: start <= end.
    TextPosition GetSelectionStart() const;
    TextPosition GetSelectionEnd() const;
    bool IsSelection() const { return selStart_ != selEnd_; }
    void EnsureVisible(TextPosition position);

    // Display column of a character index, and back (a column inside a tab maps to the tab).
    int CharToColumn(int line, int charIndex) const;
    int ColumnToChar(int line, int column) const;
    // The text position under a point of the viewport, clamped to the text.
    TextPosition PointToPosition(QPoint point) const;
    QPoint PositionToPoint(TextPosition position) const;

    // "Ln %d, Col %d" with 1-based line and character; "DOS", "UNIX", "MAC" or "" without a buffer.
    QString CursorStatusText() const;
    QString LineEndStatusText() const;

    // Line marks of the caret line, and moves to the next marked line (wrapping once).
    void ToggleBreakpoint();
    void ClearAllBreakpoints();
    void ToggleBookmark();
    void NextBookmark();
    void PrevBookmark();
    void ClearAllBookmarks();
    void NextWarning();
    void PrevWarning();
    bool HasBookmarks() const { return bookmarksPresent_; }

    QString GetText(TextPosition start, TextPosition end) const;
    bool Copy();
    void SelectAll();

    void OnBufferChanged(BufferView* source, const EditContext* edit, unsigned hint, int line) override;

    // Drag of the selection, from a press inside it and the next move: the dragged range (moved
    // along with every edit) while the drag runs, which is one undo group on the buffer.
    bool IsDragSource() const { return dragging_; }
    TextPosition GetDragStart() const { return dragStart_; }
    TextPosition GetDragEnd() const { return dragEnd_; }
    // While a mouse selection is held outside the text, a 50 ms timer scrolls and extends it.
    bool IsAutoScrolling() const { return autoScrollTimer_.isActive(); }
    void AutoScrollStep();

signals:
    // The caret or the selection moved (status-bar texts change).
    void CursorMoved();

protected:
    virtual void ResetView();
    // Colour blocks of a line; the view's colouring by default.
    virtual void ColourLine(int line, std::vector<ColourBlock>& blocks);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Moves the caret; with `select` the selection runs from the anchor to it, otherwise the
    // anchor follows and the selection is empty.
    void MoveCaretTo(TextPosition position, bool select, bool keepIdealColumn = false);
    // Navigation keys; true when the key was one of them.
    bool HandleNavigationKey(QKeyEvent* event);
    void UpdateScrollRanges();
    void RestartCaretBlink();
    TextPosition ClampPosition(TextPosition position) const;

    bool dialogShown_ = false;

    // The effects a drag from this view offers, what the source does once the drop reported its
    // effect, and the toolkit's drag loop (replaced by tests).
    virtual Qt::DropActions GetDropEffect() const { return Qt::CopyAction; }
    virtual void OnDropSource(Qt::DropAction effect) { (void)effect; }
    virtual Qt::DropAction ExecuteDrag(QMimeData* mime, Qt::DropActions allowed);
    void StartDrag();
    // The caret is not drawn while a drop position is shown instead.
    void SetCaretHidden(bool hidden);

    // The marker follows every vertical move of the caret.
    void MoveMarker(int line);
    bool HandleMarkKey(QKeyEvent* event);

private:
    void DrawMargin(QPainter& painter, const QRect& rect, int line);
    void DrawLine(QPainter& painter, const QRect& rect, int line);
    void ResetMetrics();
    int WidestLine();

    CTextBuffer* buffer_ = nullptr;
    LineColouring colouring_;
    std::array<QColor, kColourCount> colours_;
    QFont font_;
    QFont boldFont_;
    int lineHeight_ = 1;
    int charWidth_ = 1;
    int ascent_ = 0;
    int widest_ = -1;
    int scrollRangesSuspended_ = 0;
    bool selectionMargin_ = true;
    bool lineNumbers_ = false;
    int topLine_ = 0;
    int offsetChar_ = 0;
    TextPosition cursor_;
    TextPosition anchor_;
    TextPosition selStart_;
    TextPosition selEnd_;
    int idealColumn_ = 0;
    bool caretOn_ = true;
    bool bookmarksPresent_ = false;
    bool mouseSelecting_ = false;
    bool wordSelecting_ = false;
    bool caretHidden_ = false;
    bool dragPending_ = false;
    bool dragging_ = false;
    TextPosition dragStart_;
    TextPosition dragEnd_;
    QTimer autoScrollTimer_;
    QPoint autoScrollPoint_;
    QTimer caretTimer_;
    std::vector<ColourBlock> blocks_;  // reused by each painted line
};

}  // namespace zov::editor

#include "ide/editor/TextView.h"

#include "ide/editor/model/LineMarks.h"
#include "ide/editor/model/WordRules.h"
#include "ide/shell/core/Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zov::editor {

namespace {

constexpr int kFoldColumnWidth = 16;
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 14;

// The defaults of the colour table, as Windows colour values (-1: the palette's).
constexpr std::array<int, CTextView::kColourCount> kDefaultColours = {
    -1,       -1,       -1,       -1,       0x000000, 0xFFFFFF, 0xFF0000, 0x808040, 0x804080, 0x408080, 0xCC20BB,
    0x008000, 0x000080, 0x0000FF, 0xCC20BB, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF, 0x797A16,
};

// Table slots filled from EditClr0..EditClr8, in order.
constexpr std::array<int, 9> kSettingSlots = {6, 7, 8, 9, 10, 11, 12, 14, 21};

// The seven margin pictures, drawn once: execution arrow, breakpoint, error, warning, bookmark,
// breakpoint with bookmark, breakpoint with execution.
const QPixmap& MarginIcon(int index)
{
    static const std::array<QPixmap, 7> icons = [] {
        std::array<QPixmap, 7> result;
        auto arrow = [](QPainter& p) {
            QPainterPath path;
            path.moveTo(2, 4);
            path.lineTo(8, 4);
            path.lineTo(8, 1);
            path.lineTo(14, 7);
            path.lineTo(8, 13);
            path.lineTo(8, 10);
            path.lineTo(2, 10);
            path.closeSubpath();
            p.setPen(QPen(QColor(40, 90, 0), 1));
            p.setBrush(QColor(250, 220, 40));
            p.drawPath(path);
        };
        auto dot = [](QPainter& p) {
            p.setPen(QPen(QColor(120, 0, 0), 1));
            p.setBrush(QColor(220, 20, 20));
            p.drawEllipse(QRectF(2.5, 1.5, 11, 11));
        };
        auto flag = [](QPainter& p, qreal x) {
            p.setPen(QPen(QColor(20, 40, 120), 1));
            p.setBrush(QColor(70, 130, 230));
            p.drawRoundedRect(QRectF(x, 2.5, 7, 9), 1.5, 1.5);
        };
        for (int i = 0; i < 7; ++i) {
            QPixmap pixmap(kIconWidth, kIconHeight);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            switch (i) {
            case 0:
                arrow(p);
                break;
            case 1:
                dot(p);
                break;
            case 2:
                p.setPen(QPen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(4, 3), QPointF(12, 11));
                p.drawLine(QPointF(12, 3), QPointF(4, 11));
                break;
            case 3: {
                QPainterPath path;
                path.moveTo(8, 1);
                path.lineTo(15, 13);
                path.lineTo(1, 13);
                path.closeSubpath();
                p.setPen(QPen(QColor(140, 100, 0), 1));
                p.setBrush(QColor(255, 200, 0));
                p.drawPath(path);
                p.setPen(QPen(Qt::black, 1.5));
                p.drawLine(QPointF(8, 5), QPointF(8, 9));
                p.drawPoint(QPointF(8, 11));
                break;
            }
            case 4:
                flag(p, 4.5);
                break;
            case 5:
                dot(p);
                flag(p, 8.5);
                break;
            case 6:
                dot(p);
                arrow(p);
                break;
            }
            result[i] = pixmap;
        }
        return result;
    }();
    return icons[index];
}

}  // namespace

QColor ColourFromColorref(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int ColorrefFromColour(const QColor& colour)
{
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

LineColours LineColoursForFlags(std::uint32_t flags)
{
    if ((flags & LineFlag_Execution) != 0) {
        return {QColor(0, 128, 0), QColor(255, 255, 255), true};
    }
    if ((flags & LineFlag_Marker) != 0) {
        return {QColor(241, 245, 255), QColor(), true};
    }
    if ((flags & LineFlag_Breakpoint) != 0) {
        return {QColor(255, 0, 0), QColor(255, 255, 255), true};
    }
    return {};
}

int MarginIconIndex(std::uint32_t flags)
{
    static constexpr std::array<std::uint32_t, 5> order = {LineFlag_Execution, LineFlag_Breakpoint, LineFlag_Error,
                                                           LineFlag_Warning, LineFlag_Bookmark};
    int icon = -1;
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        if ((flags & order[i]) != 0) {
            icon = i;
            break;
        }
    }
    if (icon == 0 || icon == 1 || icon == 4) {
        if ((flags & LineFlag_Breakpoint) != 0 && (flags & LineFlag_Execution) != 0) {
            return 6;
        }
        if ((flags & LineFlag_Breakpoint) != 0 && (flags & LineFlag_Bookmark) != 0) {
            return 5;
        }
    }
    return icon;
}

int MarginWidthFor(bool selectionMargin, bool lineNumbers)
{
    return (selectionMargin ? 20 : 1) + (lineNumbers ? 50 : 15);
}

CTextView::CTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (int i = 0; i < kColourCount; ++i) {
        if (kDefaultColours[i] >= 0) {
            colours_[i] = ColourFromColorref(kDefaultColours[i]);
        }
    }
    SetFontSize(16);
    caretTimer_.setInterval(QApplication::cursorFlashTime() > 0 ? QApplication::cursorFlashTime() / 2 : 500);
    connect(&caretTimer_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        const QPoint at = PositionToPoint(cursor_);
        viewport()->update(QRect(at.x() - 1, at.y(), 4, lineHeight_));
    });
    autoScrollTimer_.setInterval(50);
    connect(&autoScrollTimer_, &QTimer::timeout, this, &CTextView::AutoScrollStep);
    ResetView();
}

CTextView::~CTextView()
{
    if (buffer_ != nullptr) {
        buffer_->DetachView(this);
    }
}

void CTextView::AttachToBuffer(CTextBuffer* buffer)
{
    if (buffer_ != nullptr) {
        buffer_->DetachView(this);
    }
    buffer_ = buffer;
    colouring_.Attach(buffer);
    if (buffer_ != nullptr) {
        buffer_->AttachView(this);
    }
    ResetView();
    UpdateScrollRanges();
}

void CTextView::ApplySettings(const shell::Settings& settings)
{
    for (int i = 0; i < static_cast<int>(kSettingSlots.size()); ++i) {
        colours_[kSettingSlots[i]] = ColourFromColorref(settings.GetInt(shell::EditColourSetting(i)));
    }
    SetDisplayLineNumbers(settings.GetInt(shell::SettingId::ShowLineNumber) != 0);
    SetFontSize(settings.GetInt(shell::SettingId::FontSize));
}

void CTextView::SetFontSize(int pixelSize)
{
    font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font_.setPixelSize(std::max(pixelSize, 4));
    font_.setStyleHint(QFont::TypeWriter);
    // Every character takes a whole number of pixels: runs of colour start on that grid, so the
    // glyphs inside a run must advance by the same step or they drift from where a run begins.
    const qreal advance = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('X'));
    font_.setLetterSpacing(QFont::AbsoluteSpacing, std::ceil(advance) - advance);
    boldFont_ = font_;
    boldFont_.setWeight(QFont::Bold);
    ResetMetrics();
    UpdateScrollRanges();
    viewport()->update();
}

void CTextView::ResetMetrics()
{
    const QFontMetrics metrics(font_);
    lineHeight_ = std::max(metrics.height(), 1);
    charWidth_ = std::max(metrics.horizontalAdvance(QLatin1Char('X')), 1);
    ascent_ = metrics.ascent();
}

QColor CTextView::GetColor(int index) const
{
    switch (index) {
    case Colour_WhiteSpace:
    case Colour_Background:
        return colours_[index].isValid() ? colours_[index] : palette().color(QPalette::Base);
    case Colour_Text:
        return colours_[index].isValid() ? colours_[index] : palette().color(QPalette::Text);
    case 3:
        return colours_[index].isValid() ? colours_[index] : palette().color(QPalette::Button);
    default:
        return index >= 0 && index < kColourCount ? colours_[index] : QColor(255, 0, 0);
    }
}

void CTextView::SetColor(int index, const QColor& colour)
{
    if (index >= 0 && index < kColourCount) {
        colours_[index] = colour;
        viewport()->update();
    }
}

LineColours CTextView::GetLineColors(int line) const
{
    return LineColoursForFlags(GetLineFlags(line));
}

void CTextView::SetSelectionMargin(bool shown)
{
    selectionMargin_ = shown;
    viewport()->update();
}

void CTextView::SetDisplayLineNumbers(bool shown)
{
    lineNumbers_ = shown;
    UpdateScrollRanges();
    viewport()->update();
}

int CTextView::GetLineCount() const
{
    return buffer_ != nullptr ? std::max(buffer_->GetLineCount(), 1) : 1;
}

int CTextView::GetLineLength(int line) const
{
    return buffer_ != nullptr ? buffer_->GetLineLength(line) : 0;
}

int CTextView::GetLineActualLength(int line)
{
    return buffer_ != nullptr ? colouring_.GetLineActualLength(line) : 0;
}

std::uint32_t CTextView::GetLineFlags(int line) const
{
    return buffer_ != nullptr ? buffer_->GetLineFlags(line) : 0;
}

void CTextView::SetTabSize(int tabSize)
{
    if (colouring_.SetTabSize(tabSize)) {
        widest_ = -1;
        UpdateScrollRanges();
        viewport()->update();
    }
}

int CTextView::GetScreenLines() const
{
    return std::max(viewport()->height() / lineHeight_, 1);
}

int CTextView::GetScreenChars() const
{
    return std::max((viewport()->width() - GetMarginWidth()) / charWidth_, 1);
}

void CTextView::ScrollToLine(int line)
{
    verticalScrollBar()->setValue(line);
}

void CTextView::ScrollToChar(int column)
{
    horizontalScrollBar()->setValue(column);
}

void CTextView::scrollContentsBy(int, int)
{
    topLine_ = verticalScrollBar()->value();
    offsetChar_ = horizontalScrollBar()->value();
    viewport()->update();
}

void CTextView::ResetView()
{
    topLine_ = 0;
    offsetChar_ = 0;
    cursor_ = anchor_ = selStart_ = selEnd_ = {};
    idealColumn_ = 0;
    widest_ = -1;
    colouring_.Reset();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

int CTextView::WidestLine()
{
    if (widest_ < 0) {
        widest_ = 0;
        if (buffer_ != nullptr) {
            for (int line = 0, count = buffer_->GetLineCount(); line < count; ++line) {
                widest_ = std::max(widest_, colouring_.GetLineActualLength(line));
            }
        }
    }
    return widest_;
}

void CTextView::UpdateScrollRanges()
{
    const int screenLines = GetScreenLines();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setPageStep(screenLines);
    vertical->setSingleStep(1);
    vertical->setRange(0, std::max(GetLineCount() - screenLines, 0));
    const int screenChars = GetScreenChars();
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setPageStep(screenChars);
    horizontal->setRange(0, std::max(WidestLine() + 1 - screenChars, 0));
    topLine_ = vertical->value();
    offsetChar_ = horizontal->value();
}

void CTextView::SuspendScrollRangeUpdates(bool suspend)
{
    if (suspend) {
        ++scrollRangesSuspended_;
    } else if (scrollRangesSuspended_ > 0 && --scrollRangesSuspended_ == 0) {
        UpdateScrollRanges();
    }
}

void CTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

int CTextView::CharToColumn(int line, int charIndex) const
{
    if (buffer_ == nullptr || line < 0 || line >= buffer_->GetLineCount()) {
        return charIndex;
    }
    const QString& text = buffer_->GetLine(line);
    const int tabSize = colouring_.GetTabSize();
    int column = 0;
    const int end = std::min<int>(charIndex, text.size());
    for (int i = 0; i < end; ++i) {
        column = text[i] == QLatin1Char('\t') ? (column / tabSize + 1) * tabSize : column + 1;
    }
    return column;
}

int CTextView::ColumnToChar(int line, int column) const
{
    if (buffer_ == nullptr || line < 0 || line >= buffer_->GetLineCount()) {
        return 0;
    }
    const QString& text = buffer_->GetLine(line);
    const int tabSize = colouring_.GetTabSize();
    int current = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int next = text[i] == QLatin1Char('\t') ? (current / tabSize + 1) * tabSize : current + 1;
        if (next > column) {
            return i;
        }
        current = next;
    }
    return static_cast<int>(text.size());
}

TextPosition CTextView::PointToPosition(QPoint point) const
{
    int line = topLine_ + std::max(point.y(), 0) / lineHeight_;
    line = std::clamp(line, 0, GetLineCount() - 1);
    const int x = point.x() - GetMarginWidth();
    // Half a character rounds to the nearer boundary, as a click between two letters should.
    const int column = offsetChar_ + std::max((x + charWidth_ / 2) / charWidth_, 0);
    return {ColumnToChar(line, column), line};
}

QPoint CTextView::PositionToPoint(TextPosition position) const
{
    return {GetMarginWidth() + (CharToColumn(position.line, position.charIndex) - offsetChar_) * charWidth_,
            (position.line - topLine_) * lineHeight_};
}

TextPosition CTextView::ClampPosition(TextPosition position) const
{
    position.line = std::clamp(position.line, 0, GetLineCount() - 1);
    position.charIndex = std::clamp(position.charIndex, 0, GetLineLength(position.line));
    return position;
}

void CTextView::SetCursorPos(TextPosition position)
{
    cursor_ = ClampPosition(position);
    idealColumn_ = CharToColumn(cursor_.line, cursor_.charIndex);
    RestartCaretBlink();
    emit CursorMoved();
}

void CTextView::SetSelection(TextPosition start, TextPosition end)
{
    selStart_ = ClampPosition(start);
    selEnd_ = ClampPosition(end);
    viewport()->update();
    emit CursorMoved();
}

TextPosition CTextView::GetSelectionStart() const
{
    return std::min(selStart_, selEnd_);
}

TextPosition CTextView::GetSelectionEnd() const
{
    return std::max(selStart_, selEnd_);
}

void CTextView::EnsureVisible(TextPosition position)
{
    const int screenLines = GetScreenLines();
    if (position.line < topLine_) {
        ScrollToLine(position.line);
    } else if (position.line >= topLine_ + screenLines) {
        ScrollToLine(position.line - screenLines + 1);
    }
    const int column = CharToColumn(position.line, position.charIndex);
    const int screenChars = GetScreenChars();
    if (column < offsetChar_) {
        ScrollToChar(column);
    } else if (column >= offsetChar_ + screenChars) {
        if (horizontalScrollBar()->maximum() < column - screenChars + 1) {
            horizontalScrollBar()->setMaximum(column - screenChars + 1);
        }
        ScrollToChar(column - screenChars + 1);
    }
}

QString CTextView::CursorStatusText() const
{
    return QStringLiteral("Ln %1, Col %2").arg(cursor_.line + 1).arg(cursor_.charIndex + 1);
}

QString CTextView::LineEndStatusText() const
{
    return buffer_ != nullptr ? LineEndModeLabel(buffer_->GetLineEndMode()) : QString();
}

QString CTextView::GetText(TextPosition start, TextPosition end) const
{
    return buffer_ != nullptr ? buffer_->GetText(start, end) : QString();
}

bool CTextView::Copy()
{
    if (!IsSelection()) {
        return false;
    }
    // The clipboard carries LF joints, as every other Linux program expects.
    const QString text = buffer_->GetText(GetSelectionStart(), GetSelectionEnd(), u"\n");
    if (text.isEmpty()) {
        return false;
    }
    QApplication::clipboard()->setText(text);
    return true;
}

void CTextView::SelectAll()
{
    if (buffer_ == nullptr) {
        return;
    }
    const TextPosition end = buffer_->GetEndPosition();
    anchor_ = {};
    SetCursorPos(end);
    SetSelection({}, end);
    EnsureVisible(end);
}

void CTextView::ToggleBreakpoint()
{
    if (buffer_ != nullptr) {
        ToggleLineFlag(*buffer_, cursor_.line, LineFlag_Breakpoint, false);
    }
}

void CTextView::ClearAllBreakpoints()
{
    if (buffer_ != nullptr) {
        ClearLineFlag(*buffer_, LineFlag_Breakpoint);
    }
}

void CTextView::ToggleBookmark()
{
    if (buffer_ != nullptr) {
        ToggleLineFlag(*buffer_, cursor_.line, LineFlag_Bookmark, false);
        bookmarksPresent_ = buffer_->FindFirstFlaggedLine(LineFlag_Bookmark) >= 0;
    }
}

void CTextView::ClearAllBookmarks()
{
    if (buffer_ != nullptr) {
        ClearLineFlag(*buffer_, LineFlag_Bookmark);
        bookmarksPresent_ = false;
    }
}

void CTextView::NextBookmark()
{
    if (const int line = buffer_ != nullptr ? buffer_->NextBookmarkedLine(cursor_.line) : -1; line >= 0) {
        MoveCaretTo({0, line}, false);
    }
}

void CTextView::PrevBookmark()
{
    if (const int line = buffer_ != nullptr ? buffer_->PrevBookmarkedLine(cursor_.line) : -1; line >= 0) {
        MoveCaretTo({0, line}, false);
    }
}

void CTextView::NextWarning()
{
    if (const int line = buffer_ != nullptr ? buffer_->NextWarningLine(cursor_.line) : -1; line >= 0) {
        MoveCaretTo({0, line}, false);
    }
}

void CTextView::PrevWarning()
{
    if (const int line = buffer_ != nullptr ? buffer_->PrevWarningLine(cursor_.line) : -1; line >= 0) {
        MoveCaretTo({0, line}, false);
    }
}

void CTextView::MoveMarker(int line)
{
    if (buffer_ != nullptr && line >= 0 && line < buffer_->GetLineCount()) {
        buffer_->ChangeLineFlag(line, LineFlag_Marker, true, true);
    }
}

bool CTextView::HandleMarkKey(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_F9:
        if (modifiers == Qt::NoModifier) {
            ToggleBreakpoint();
        } else if (modifiers == Qt::ControlModifier) {
            ClearAllBreakpoints();
        } else {
            return false;
        }
        return true;
    case Qt::Key_F2:
        if (modifiers == Qt::NoModifier) {
            NextBookmark();
        } else if (modifiers == Qt::ShiftModifier) {
            PrevBookmark();
        } else if (modifiers == Qt::ControlModifier) {
            ToggleBookmark();
        } else if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
            ClearAllBookmarks();
        } else {
            return false;
        }
        return true;
    case Qt::Key_W:
        if (modifiers == Qt::ControlModifier) {
            NextWarning();
        } else if (modifiers == (Qt::ControlModifier | Qt::AltModifier)) {
            PrevWarning();
        } else {
            return false;
        }
        return true;
    default:
        return false;
    }
}

void CTextView::OnBufferChanged(BufferView*, const EditContext* edit, unsigned hint, int line)
{
    if ((hint & BufferHint_Reset) != 0) {
        ResetView();
        UpdateScrollRanges();
        return;
    }
    colouring_.OnBufferChanged(hint, line);
    if (edit != nullptr) {
        for (TextPosition* position : {&cursor_, &selStart_, &selEnd_, &anchor_}) {
            edit->AdjustPosition(*position);
        }
        if (dragging_) {
            edit->AdjustPosition(dragStart_);
            edit->AdjustPosition(dragEnd_);
        }
    }
    if ((hint & (BufferHint_Width | BufferHint_LineCount)) != 0) {
        widest_ = -1;
        if (scrollRangesSuspended_ == 0) {
            UpdateScrollRanges();
        }
    } else if (line >= 0) {
        // A longer line widens the range at once; a shorter one waits for the next full count.
        const int width = colouring_.GetLineActualLength(line);
        if (widest_ >= 0 && width > widest_) {
            widest_ = width;
            if (scrollRangesSuspended_ == 0) {
                UpdateScrollRanges();
            }
        }
    }
    viewport()->update();
}

void CTextView::ColourLine(int line, std::vector<ColourBlock>& blocks)
{
    colouring_.ColourLine(line, blocks);
}

void CTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const int margin = GetMarginWidth();
    const int first = topLine_ + clip.top() / lineHeight_;
    const int last = topLine_ + clip.bottom() / lineHeight_;
    const int lineCount = buffer_ != nullptr ? buffer_->GetLineCount() : 0;
    for (int line = first; line <= last; ++line) {
        const int y = (line - topLine_) * lineHeight_;
        const int drawn = line < lineCount ? line : -1;
        DrawMargin(painter, QRect(0, y, margin, lineHeight_), drawn);
        DrawLine(painter, QRect(margin, y, viewport()->width() - margin, lineHeight_), drawn);
    }
    if (hasFocus() && caretOn_ && !caretHidden_ && cursor_.line >= topLine_ && cursor_.line <= last &&
        CharToColumn(cursor_.line, cursor_.charIndex) >= offsetChar_) {
        const QPoint at = PositionToPoint(cursor_);
        const QColor background = GetLineColors(cursor_.line).background;
        painter.fillRect(QRect(at.x(), at.y(), 2, lineHeight_),
                         background.isValid() ? QColor(255, 255, 255) : GetColor(Colour_Text));
    }
}

void CTextView::DrawMargin(QPainter& painter, const QRect& rect, int line)
{
    if (!selectionMargin_) {
        painter.fillRect(rect, QColor(128, 255, 255));
    } else {
        painter.fillRect(rect, QColor(230, 225, 230));
        const int icon = line >= 0 ? MarginIconIndex(GetLineFlags(line)) : -1;
        if (icon >= 0) {
            painter.drawPixmap(rect.left() + 2, rect.top() + (rect.height() - kIconHeight) / 2, MarginIcon(icon));
        }
    }
    if (lineNumbers_) {
        // Between the icon column and the fold column, so that neither is covered.
        const int left = rect.left() + (selectionMargin_ ? 20 : 1);
        const QRect numbers(left, rect.top(), rect.right() + 1 - kFoldColumnWidth - left, rect.height());
        painter.fillRect(numbers, QColor(250, 250, 250));
        if (line >= 0) {
            painter.setFont(font_);
            painter.setPen(QColor(128, 128, 128));
            painter.drawText(numbers.adjusted(0, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                             QString::asprintf("%4d", line + 1));
        }
    }
    const int right = rect.right() + 1;
    const QRect fold(right - kFoldColumnWidth, rect.top(), kFoldColumnWidth, rect.height());
    painter.fillRect(fold, QColor(246, 246, 246));
    if (line < 0 || buffer_ == nullptr) {
        return;
    }
    if (buffer_->IsMacroBodyLine(line)) {
        painter.fillRect(QRect(fold.left() + 5, rect.top(), kFoldColumnWidth - 10, rect.height()),
                         GetColor(Colour_MacroBar));
    }
    if (buffer_->HasMacroName(line)) {
        const int top = rect.top() + (rect.height() - 14) / 2;
        painter.setPen(QColor(128, 128, 128));
        painter.setBrush(Qt::white);
        painter.drawRect(QRect(right - 12, top + 2, 8, 8));
        painter.setPen(Qt::black);
        painter.drawLine(right - 10, top + 6, right - 6, top + 6);
        if (buffer_->GetFoldState(line) == 0) {
            painter.drawLine(right - 8, top + 4, right - 8, top + 8);
        }
        painter.setBrush(Qt::NoBrush);
    }
}

void CTextView::DrawLine(QPainter& painter, const QRect& rect, int line)
{
    if (line < 0) {
        painter.fillRect(rect, GetColor(Colour_WhiteSpace));
        return;
    }
    const LineColours lineColours = GetLineColors(line);
    const QColor background = lineColours.background.isValid() ? lineColours.background : GetColor(Colour_Background);
    const QString& text = buffer_->GetLine(line);
    blocks_.clear();
    ColourLine(line, blocks_);

    const bool showSelection = (hasFocus() || dialogShown_) && IsSelection();
    const TextPosition selectionStart = GetSelectionStart();
    const TextPosition selectionEnd = GetSelectionEnd();
    auto selected = [&](int charIndex) {
        const TextPosition at{charIndex, line};
        return showSelection && selectionStart <= at && at < selectionEnd;
    };

    const int tabSize = colouring_.GetTabSize();
    const int lastVisibleColumn = offsetChar_ + rect.width() / charWidth_ + 1;
    painter.setFont(font_);
    int column = 0;
    std::size_t block = 0;
    int colourIndex = Colour_Text;
    int runStart = -1;  // display column where the current run begins
    QString run;
    QColor runText;
    QColor runBack;
    auto flush = [&] {
        if (runStart >= 0 && !run.isEmpty()) {
            const int x = rect.left() + (runStart - offsetChar_) * charWidth_;
            const QRect area(x, rect.top(), static_cast<int>(run.size()) * charWidth_, rect.height());
            painter.fillRect(area, runBack);
            painter.setPen(runText);
            painter.drawText(QPoint(x, rect.top() + ascent_), run);
        }
        run.clear();
        runStart = -1;
    };
    for (int i = 0; i < text.size() && column < lastVisibleColumn; ++i) {
        while (block < blocks_.size() && blocks_[block].charIndex <= i) {
            colourIndex = blocks_[block].colourIndex;
            ++block;
        }
        const bool isSelected = selected(i);
        QColor textColour = lineColours.text.isValid() ? lineColours.text : GetColor(colourIndex);
        QColor backColour = background;
        if (isSelected) {
            textColour = GetColor(Colour_SelectionText);
            backColour = GetColor(Colour_SelectionBackground);
        }
        const QChar c = text[i];
        const int width = c == QLatin1Char('\t') ? (column / tabSize + 1) * tabSize - column : 1;
        for (int k = 0; k < width; ++k, ++column) {
            if (column < offsetChar_) {
                continue;
            }
            if (runStart < 0 || textColour != runText || backColour != runBack) {
                flush();
                runStart = column;
                runText = textColour;
                runBack = backColour;
            }
            run.append(c == QLatin1Char('\t') ? QLatin1Char(' ') : c);
        }
    }
    flush();
    const int textEnd = rect.left() + std::max(column - offsetChar_, 0) * charWidth_;
    QRect rest(textEnd, rect.top(), rect.right() + 1 - textEnd, rect.height());
    if (showSelection && text.isEmpty() && selected(0) && offsetChar_ == 0) {
        painter.fillRect(QRect(textEnd, rect.top(), charWidth_, rect.height()), GetColor(Colour_SelectionBackground));
        rest.setLeft(textEnd + charWidth_);
    }
    if (rest.width() > 0) {
        painter.fillRect(rest, lineColours.wholeLine ? background : GetColor(Colour_WhiteSpace));
    }
}

void CTextView::RestartCaretBlink()
{
    caretOn_ = true;
    if (hasFocus()) {
        caretTimer_.start();
    }
    viewport()->update();
}

void CTextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RestartCaretBlink();
}

void CTextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer_.stop();
    autoScrollTimer_.stop();
    mouseSelecting_ = false;
    viewport()->update();
}

void CTextView::MoveCaretTo(TextPosition position, bool select, bool keepIdealColumn)
{
    position = ClampPosition(position);
    const int ideal = idealColumn_;
    SetCursorPos(position);
    if (keepIdealColumn) {
        idealColumn_ = ideal;
    }
    if (!select) {
        anchor_ = position;
    }
    SetSelection(anchor_, position);
    EnsureVisible(position);
    MoveMarker(position.line);
}

bool CTextView::HandleNavigationKey(QKeyEvent* event)
{
    if (buffer_ == nullptr) {
        return false;
    }
    if (HandleMarkKey(event)) {
        return true;
    }
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    const int lastLine = GetLineCount() - 1;
    TextPosition to = cursor_;
    auto vertical = [&](int line) {
        to.line = std::clamp(line, 0, lastLine);
        to.charIndex = ColumnToChar(to.line, idealColumn_);
        MoveCaretTo(to, shift, true);
    };
    switch (event->key()) {
    case Qt::Key_Left:
        if (ctrl) {
            to = WordLeftTarget(*buffer_, cursor_);
        } else if (!shift && IsSelection()) {
            to = GetSelectionStart();
        } else if (to.charIndex > 0) {
            --to.charIndex;
        } else if (to.line > 0) {
            --to.line;
            to.charIndex = GetLineLength(to.line);
        }
        MoveCaretTo(to, shift);
        return true;
    case Qt::Key_Right:
        if (ctrl) {
            to = WordRightTarget(*buffer_, cursor_);
        } else if (!shift && IsSelection()) {
            to = GetSelectionEnd();
        } else if (to.charIndex < GetLineLength(to.line)) {
            ++to.charIndex;
        } else if (to.line < lastLine) {
            ++to.line;
            to.charIndex = 0;
        }
        MoveCaretTo(to, shift);
        return true;
    case Qt::Key_Up:
        if (ctrl && shift) {
            return false;
        }
        if (ctrl) {
            ScrollToLine(topLine_ - 1);
        } else {
            vertical(cursor_.line - 1);
        }
        return true;
    case Qt::Key_Down:
        if (ctrl && shift) {
            return false;
        }
        if (ctrl) {
            ScrollToLine(topLine_ + 1);
        } else {
            vertical(cursor_.line + 1);
        }
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int step = std::max(GetScreenLines() - 1, 1) * (event->key() == Qt::Key_PageUp ? -1 : 1);
        ScrollToLine(topLine_ + step);
        vertical(cursor_.line + step);
        return true;
    }
    case Qt::Key_Home:
        to = ctrl ? TextPosition{}
                  : TextPosition{HomeTarget(buffer_->GetLine(cursor_.line), cursor_.charIndex), cursor_.line};
        MoveCaretTo(to, shift);
        return true;
    case Qt::Key_End:
        to = ctrl ? buffer_->GetEndPosition() : TextPosition{GetLineLength(cursor_.line), cursor_.line};
        MoveCaretTo(to, shift);
        return true;
    default:
        break;
    }
    if (event->matches(QKeySequence::Copy)) {
        Copy();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
        return true;
    }
    return false;
}

void CTextView::keyPressEvent(QKeyEvent* event)
{
    if (!HandleNavigationKey(event)) {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || buffer_ == nullptr) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const TextPosition at = PointToPosition(event->position().toPoint());
    if (event->position().x() < GetMarginWidth()) {
        if ((event->modifiers() & Qt::ControlModifier) != 0) {
            SelectAll();
            return;
        }
        // A click in the margin selects the whole line.
        const TextPosition lineStart{0, at.line};
        if (!shift) {
            anchor_ = lineStart;
        }
        const TextPosition next =
            at.line + 1 < GetLineCount() ? TextPosition{0, at.line + 1} : TextPosition{GetLineLength(at.line), at.line};
        SetCursorPos(lineStart);
        SetSelection(anchor_, next);
        MoveMarker(at.line);
        mouseSelecting_ = true;
        return;
    }
    if (!shift && IsSelection() && GetSelectionStart() <= at && at < GetSelectionEnd()) {
        // A press inside the selection may start a drag; nothing moves yet.
        dragPending_ = true;
        return;
    }
    wordSelecting_ = (event->modifiers() & Qt::ControlModifier) != 0;
    MoveCaretTo(at, shift);
    mouseSelecting_ = true;
}

void CTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragPending_) {
        dragPending_ = false;
        StartDrag();
        return;
    }
    if (!mouseSelecting_) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const QRect text(GetMarginWidth(), 0, viewport()->width() - GetMarginWidth(), viewport()->height());
    if (text.contains(point)) {
        autoScrollTimer_.stop();
    } else {
        autoScrollPoint_ = point;
        if (!autoScrollTimer_.isActive()) {
            autoScrollTimer_.start();
        }
    }
    MoveCaretTo(PointToPosition(point), true);
}

void CTextView::AutoScrollStep()
{
    if (!mouseSelecting_ || buffer_ == nullptr) {
        autoScrollTimer_.stop();
        return;
    }
    const QPoint point = autoScrollPoint_;
    const int height = viewport()->height();
    if (point.y() < 0) {
        ScrollToLine(topLine_ - (point.y() < -lineHeight_ ? 3 : 1));
    } else if (point.y() >= height) {
        ScrollToLine(topLine_ + (point.y() >= height + lineHeight_ ? 3 : 1));
    }
    if (point.x() < GetMarginWidth()) {
        ScrollToChar(offsetChar_ - 1);
    } else if (point.x() >= viewport()->width()) {
        ScrollToChar(offsetChar_ + 1);
    }
    // The caret goes to the nearest visible place, so that only the step above scrolls.
    const QPoint inside(std::clamp(point.x(), GetMarginWidth(), std::max(viewport()->width() - 1, GetMarginWidth())),
                        std::clamp(point.y(), 0, std::max(GetScreenLines() * lineHeight_ - 1, 0)));
    MoveCaretTo(PointToPosition(inside), true);
}

Qt::DropAction CTextView::ExecuteDrag(QMimeData* mime, Qt::DropActions allowed)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    return drag->exec(allowed, Qt::MoveAction);
}

void CTextView::StartDrag()
{
    if (buffer_ == nullptr || !IsSelection()) {
        return;
    }
    auto* mime = new QMimeData;
    mime->setText(buffer_->GetText(GetSelectionStart(), GetSelectionEnd(), u"\n"));
    dragStart_ = GetSelectionStart();
    dragEnd_ = GetSelectionEnd();
    dragging_ = true;
    // The drop and the removal of the moved text are one undo step.
    CTextBuffer* buffer = buffer_;
    const int before = buffer->GetUndoPosition();
    buffer->OpenUndoGroup();
    const Qt::DropAction effect = ExecuteDrag(mime, GetDropEffect());
    if (effect != Qt::IgnoreAction) {
        OnDropSource(effect);
    }
    buffer->CloseUndoGroup(buffer->GetUndoPosition() != before ? this : nullptr);
    dragging_ = false;
}

void CTextView::SetCaretHidden(bool hidden)
{
    caretHidden_ = hidden;
    viewport()->update();
}

void CTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragPending_ && event->button() == Qt::LeftButton && buffer_ != nullptr) {
        // A click inside the selection without a drag puts the caret there.
        dragPending_ = false;
        MoveCaretTo(PointToPosition(event->position().toPoint()), false);
    }
    autoScrollTimer_.stop();
    mouseSelecting_ = false;
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && buffer_ != nullptr && event->position().x() <= GetMarginWidth() - 15) {
        SetCursorPos({0, PointToPosition(event->position().toPoint()).line});
        ToggleBreakpoint();
        return;
    }
    if (event->button() != Qt::LeftButton || buffer_ == nullptr || event->position().x() < GetMarginWidth()) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const TextPosition at = PointToPosition(event->position().toPoint());
    const QString& line = buffer_->GetLine(at.line);
    const TextPosition start{WordToLeft(line, at.charIndex), at.line};
    const TextPosition end{WordToRight(line, at.charIndex), at.line};
    anchor_ = start;
    SetCursorPos(end);
    SetSelection(start, end);
}

void CTextView::wheelEvent(QWheelEvent* event)
{
    const int notches = std::abs(event->angleDelta().y() / 120);
    if (notches == 0) {
        event->accept();
        return;
    }
    // Faster turns scroll more than in proportion: 1, 5, 11 lines for one, two, three notches.
    const int lines = (notches + 1) * notches - 1;
    ScrollToLine(topLine_ + (event->angleDelta().y() > 0 ? -lines : lines));
    event->accept();
}

}  // namespace zov::editor

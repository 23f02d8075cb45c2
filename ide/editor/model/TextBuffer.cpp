#include "ide/editor/model/TextBuffer.h"

#include "common/AtomicFile.h"
#include "common/TextCodec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <iterator>
#include <utility>

namespace zov::editor {

namespace {

constexpr size_t kReadBlock = 32768;
// QString holds at most 2^31 UTF-16 units; larger files are refused rather than cut.
constexpr size_t kLargestFile = size_t{1} << 30;

bool IsKnownMode(int mode)
{
    return mode == LineEnd_Dos || mode == LineEnd_Unix || mode == LineEnd_Mac;
}

// The mode of the first line end of the text; CR LF when there is none.
int DetectLineEndMode(std::string_view bytes)
{
    const size_t at = bytes.find_first_of("\r\n");
    if (at == std::string_view::npos) {
        return LineEnd_Dos;
    }
    if (bytes[at] == '\n') {
        return LineEnd_Unix;
    }
    return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? LineEnd_Dos : LineEnd_Mac;
}

// Valid UTF-8, checked from the first byte that is not ASCII on (scripts are mostly ASCII).
bool IsMostlyAsciiValidUtf8(std::string_view bytes)
{
    size_t at = 0;
    while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) < 0x80) {
        ++at;
    }
    return IsValidUtf8(bytes.substr(at));
}

// The same cut as SplitAtLineEnds, on bytes.
template <typename Sink>
void SplitBytesAtLineEnds(std::string_view bytes, Sink&& sink)
{
    size_t begin = 0;
    for (;;) {
        const size_t at = bytes.find_first_of("\r\n", begin);
        if (at == std::string_view::npos) {
            break;
        }
        sink(bytes.substr(begin, at - begin));
        begin = at + 1;
        if (bytes[at] == '\r' && begin < bytes.size() && bytes[begin] == '\n') {
            ++begin;
        }
    }
    sink(bytes.substr(begin));
}

// Pieces between line ends. CR LF, LF and a lone CR each end a line, as the engine counts them,
// so that editor line n is engine line n + 1 whatever the file mixes.
template <typename Sink>
void SplitAtLineEnds(QStringView text, Sink&& sink)
{
    qsizetype begin = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            sink(text.mid(begin, i - begin));
            if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n') {
                ++i;
            }
            begin = i + 1;
        }
    }
    sink(text.mid(begin));
}

bool ReadFileInBlocks(const std::filesystem::path& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) > kLargestFile) {
        ok = false;
    } else {
        bytes.reserve(static_cast<size_t>(info.st_size));
        char block[kReadBlock];
        for (;;) {
            const ssize_t got = ::read(fd, block, sizeof block);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                ok = false;
                break;
            }
            if (got == 0) {
                break;
            }
            bytes.append(block, static_cast<size_t>(got));
            if (bytes.size() > kLargestFile) {
                ok = false;
                break;
            }
        }
    }
    ::close(fd);
    return ok;
}

// Read-only as the file's write permission says: not writable for us, or no write bit at all
// (the latter also for root, for whom access() grants everything).
bool IsReadOnlyPath(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0) {
        return true;
    }
    return ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

QString LineEndModeLabel(int mode)
{
    switch (mode) {
    case LineEnd_Dos:
        return QStringLiteral("DOS");
    case LineEnd_Unix:
        return QStringLiteral("UNIX");
    case LineEnd_Mac:
        return QStringLiteral("MAC");
    default:
        return {};
    }
}

QString LineEndSequence(int mode)
{
    switch (mode) {
    case LineEnd_Unix:
        return QStringLiteral("\n");
    case LineEnd_Mac:
        return QStringLiteral("\r");
    default:
        return QStringLiteral("\r\n");
    }
}

void InsertContext::AdjustPosition(TextPosition& position) const
{
    if (position.line < start_.line || (position.line == start_.line && position.charIndex <= start_.charIndex)) {
        return;
    }
    if (position.line == start_.line) {
        position.charIndex += end_.charIndex - start_.charIndex;
    }
    position.line += end_.line - start_.line;
}

void DeleteContext::AdjustPosition(TextPosition& position) const
{
    if (position.line < start_.line) {
        return;
    }
    if (position.line > end_.line) {
        position.line -= end_.line - start_.line;
        return;
    }
    if (position.line == end_.line && position.charIndex >= end_.charIndex) {
        position = {start_.charIndex + (position.charIndex - end_.charIndex), start_.line};
        return;
    }
    if (position.line == start_.line && position.charIndex <= start_.charIndex) {
        return;
    }
    position = start_;
}

CTextBuffer::CTextBuffer(shell::Translate translate) : translate_(std::move(translate)) {}

CTextBuffer::~CTextBuffer() = default;

bool CTextBuffer::GetUndoActionText(int action, QString& text) const
{
    const char* french = nullptr;
    switch (action) {
    case 0:
        french = "Inconnu";
        break;
    case 1:
        french = "Coller";
        break;
    case 2:
        french = "Supp. Sélection";
        break;
    case 3:
        french = "Couper";
        break;
    case 4:
        french = "Frappe";
        break;
    case 5:
        french = "Retour";
        break;
    case 6:
        french = "Indenter";
        break;
    case 7:
        french = "Drag & Drop";
        break;
    case 8:
        french = "Remplacer";
        break;
    case 9:
        french = "Supp";
        break;
    case 10:
        french = "Auto Indenter";
        break;
    case 18:
        french = "Commenter";
        break;
    case 19:
        french = "Décommenter";
        break;
    default:
        text.clear();
        return false;
    }
    text = QString::fromStdString(translate_ ? translate_(french) : std::string(french));
    return true;
}

void CTextBuffer::SetModified(bool modified)
{
    modified_ = modified;
}

bool CTextBuffer::IsModified() const
{
    return modified_;
}

void CTextBuffer::ResetUndo()
{
    undo_.clear();
    undoPosition_ = 0;
    savedPosition_ = 0;
    inGroup_ = false;
    newGroupPending_ = false;
    undoLimit_ = kDefaultUndoLimit;
}

bool CTextBuffer::InitNew(int lineEndMode)
{
    FreeAll();
    lines_.emplace_back();
    lineEndMode_ = IsKnownMode(lineEndMode) ? lineEndMode : LineEnd_Dos;
    readOnly_ = false;
    SetModified(false);
    ResetUndo();
    initialised_ = true;
    NotifyViews(nullptr, nullptr, BufferHint_Reset, -1);
    return true;
}

void CTextBuffer::FreeAll()
{
    lines_.clear();
    undo_.clear();
    undoPosition_ = 0;
    savedPosition_ = 0;
    inGroup_ = false;
    newGroupPending_ = false;
    initialised_ = false;
}

bool CTextBuffer::LoadFromFile(const std::filesystem::path& path, int lineEndMode)
{
    std::string bytes;
    if (!ReadFileInBlocks(path, bytes)) {
        return false;
    }
    if (!LoadFromBytes(bytes, lineEndMode)) {
        return false;
    }
    readOnly_ = IsReadOnlyPath(path);
    return true;
}

bool CTextBuffer::LoadFromBytes(std::string_view bytes, int lineEndMode)
{
    if ((lineEndMode != LineEnd_Detect && !IsKnownMode(lineEndMode)) || bytes.size() > kLargestFile) {
        return false;
    }
    // CR and LF never occur inside a multi-byte UTF-8 sequence, so the bytes are cut at the line
    // ends first and each line decoded on its own: no copy of the whole text in between.
    std::string converted;
    if (!IsMostlyAsciiValidUtf8(bytes)) {
        converted = Windows1252ToUtf8(bytes);
        bytes = converted;
    }
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 16);
    SplitBytesAtLineEnds(bytes, [&lines](std::string_view piece) {
        lines.push_back(Line{QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())), 0, nullptr});
    });

    lines_ = std::move(lines);
    lineEndMode_ = lineEndMode == LineEnd_Detect ? DetectLineEndMode(bytes) : lineEndMode;
    readOnly_ = false;
    SetModified(false);
    ResetUndo();
    initialised_ = true;
    NotifyViews(nullptr, nullptr, BufferHint_Reset, -1);
    return true;
}

std::optional<std::string> CTextBuffer::SaveToBytes(int lineEndMode) const
{
    const int mode = lineEndMode == LineEnd_Detect ? lineEndMode_ : lineEndMode;
    if (!IsKnownMode(mode)) {
        return std::nullopt;
    }
    const QString lineEnd = LineEndSequence(mode);
    qsizetype total = 0;
    for (const Line& line : lines_) {
        total += line.text.size() + lineEnd.size();
    }
    QString text;
    text.reserve(total);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) {
            text += lineEnd;
        }
        text += lines_[i].text;
    }
    return text.toStdString();
}

bool CTextBuffer::SaveToFile(const std::filesystem::path& path, int lineEndMode, bool clearModified)
{
    const std::optional<std::string> bytes = SaveToBytes(lineEndMode);
    if (!bytes || !WriteFileAtomically(path, *bytes)) {
        return false;
    }
    if (clearModified) {
        SetModified(false);
        savedPosition_ = undoPosition_;
    }
    return true;
}

int CTextBuffer::GetLineLength(int line) const
{
    return line >= 0 && line < GetLineCount() ? static_cast<int>(lines_[line].text.size()) : 0;
}

const QString& CTextBuffer::GetLine(int line) const
{
    static const QString kNone;
    return line >= 0 && line < GetLineCount() ? lines_[line].text : kNone;
}

std::uint32_t CTextBuffer::GetLineFlags(int line) const
{
    return line >= 0 && line < GetLineCount() ? lines_[line].flags : 0;
}

bool CTextBuffer::IsValidPosition(TextPosition position) const
{
    return position.line >= 0 && position.line < GetLineCount() && position.charIndex >= 0 &&
           position.charIndex <= GetLineLength(position.line);
}

TextPosition CTextBuffer::GetEndPosition() const
{
    if (lines_.empty()) {
        return {};
    }
    return {GetLineLength(GetLineCount() - 1), GetLineCount() - 1};
}

void CTextBuffer::InsertLine(QStringView text, int at)
{
    Line line{text.toString(), 0, nullptr};
    if (at < 0 || at >= GetLineCount()) {
        lines_.push_back(std::move(line));
    } else {
        lines_.insert(lines_.begin() + at, std::move(line));
    }
}

void CTextBuffer::AppendLine(int line, QStringView text)
{
    if (line >= 0 && line < GetLineCount() && !text.isEmpty()) {
        lines_[line].text.append(text);
    }
}

QString CTextBuffer::GetText(TextPosition start, TextPosition end, QStringView lineEnd) const
{
    if (!IsValidPosition(start) || !IsValidPosition(end) || end < start) {
        return {};
    }
    if (start.line == end.line) {
        return lines_[start.line].text.mid(start.charIndex, end.charIndex - start.charIndex);
    }
    QString text = lines_[start.line].text.mid(start.charIndex);
    for (int line = start.line + 1; line < end.line; ++line) {
        text += lineEnd;
        text += lines_[line].text;
    }
    text += lineEnd;
    text += QStringView(lines_[end.line].text).left(end.charIndex);
    return text;
}

CTextBuffer::MacroData& CTextBuffer::Macro(int line)
{
    std::unique_ptr<MacroData>& data = lines_[line].macro;
    if (!data) {
        data = std::make_unique<MacroData>();
    }
    return *data;
}

const CTextBuffer::MacroData* CTextBuffer::MacroOf(int line) const
{
    return line >= 0 && line < GetLineCount() ? lines_[line].macro.get() : nullptr;
}

bool CTextBuffer::IsLineLocked(int line) const
{
    const MacroData* data = MacroOf(line);
    if (data == nullptr) {
        return false;
    }
    if (data->body) {
        return true;
    }
    return data->foldState != 0 && (data->isProtected || IsMacroBodyLine(line + 1));
}

bool CTextBuffer::RangeIsLocked(int first, int last) const
{
    for (int line = first; line <= last; ++line) {
        if (IsLineLocked(line)) {
            return true;
        }
    }
    return false;
}

void CTextBuffer::MarkEdited()
{
    if (!IsModified() && undoRecording_) {
        SetModified(true);
    }
}

bool CTextBuffer::InsertText(BufferView* source, TextPosition at, QStringView text, TextPosition* end)
{
    if (readOnly_ || !IsValidPosition(at) || IsLineLocked(at.line)) {
        return false;
    }
    if (text.isEmpty()) {
        if (end != nullptr) {
            *end = at;
        }
        return true;
    }
    std::vector<QStringView> pieces;
    SplitAtLineEnds(text, [&pieces](QStringView piece) { pieces.push_back(piece); });

    TextPosition last;
    if (pieces.size() == 1) {
        lines_[at.line].text.insert(at.charIndex, pieces.front());
        last = {at.charIndex + static_cast<int>(pieces.front().size()), at.line};
    } else {
        QString& first = lines_[at.line].text;
        const QString tail = first.mid(at.charIndex);
        first.truncate(at.charIndex);
        first.append(pieces.front());
        std::vector<Line> added;
        added.reserve(pieces.size() - 1);
        for (size_t i = 1; i < pieces.size(); ++i) {
            added.push_back(Line{pieces[i].toString(), 0, nullptr});
        }
        last = {static_cast<int>(added.back().text.size()), at.line + static_cast<int>(added.size())};
        added.back().text.append(tail);
        lines_.insert(lines_.begin() + at.line + 1, std::make_move_iterator(added.begin()),
                      std::make_move_iterator(added.end()));
    }
    if (end != nullptr) {
        *end = last;
    }
    const InsertContext context(at, last);
    NotifyViews(
        source, &context,
        last.line != at.line ? (BufferHint_Width | BufferHint_LineCount) : (BufferHint_Width | BufferHint_OneLine),
        at.line);
    MarkEdited();
    return true;
}

bool CTextBuffer::DeleteText(BufferView* source, TextPosition start, TextPosition end)
{
    if (readOnly_ || !IsValidPosition(start) || !IsValidPosition(end) || end < start ||
        RangeIsLocked(start.line, end.line)) {
        return false;
    }
    if (start == end) {
        return true;
    }
    if (start.line == end.line) {
        lines_[start.line].text.remove(start.charIndex, end.charIndex - start.charIndex);
    } else {
        const QString tail = lines_[end.line].text.mid(end.charIndex);
        QString& first = lines_[start.line].text;
        first.truncate(start.charIndex);
        first.append(tail);
        lines_.erase(lines_.begin() + start.line + 1, lines_.begin() + end.line + 1);
    }
    const DeleteContext context(start, end);
    NotifyViews(
        source, &context,
        end.line != start.line ? (BufferHint_Width | BufferHint_LineCount) : (BufferHint_Width | BufferHint_OneLine),
        start.line);
    MarkEdited();
    return true;
}

bool CTextBuffer::InsertTextUndoable(BufferView* source, TextPosition at, QStringView text, TextPosition* end,
                                     int action)
{
    TextPosition last;
    if (!InsertText(source, at, text, &last)) {
        return false;
    }
    if (end != nullptr) {
        *end = last;
    }
    if (undoRecording_ && last != at) {
        const bool ownGroup = !inGroup_;
        if (ownGroup) {
            OpenUndoGroup(false);
        }
        AddUndoRecord(true, at, last, text.toString(), action);
        if (ownGroup) {
            CloseUndoGroup(source);
        }
    }
    return true;
}

bool CTextBuffer::DeleteTextUndoable(BufferView* source, TextPosition start, TextPosition end, int action)
{
    const QString text = GetText(start, end);
    if (!DeleteText(source, start, end)) {
        return false;
    }
    if (undoRecording_ && start != end) {
        const bool ownGroup = !inGroup_;
        if (ownGroup) {
            OpenUndoGroup(false);
        }
        AddUndoRecord(false, start, end, text, action);
        if (ownGroup) {
            CloseUndoGroup(source);
        }
    }
    return true;
}

void CTextBuffer::AddUndoRecord(bool insert, TextPosition start, TextPosition end, QString text, int action)
{
    if (undoPosition_ < static_cast<int>(undo_.size())) {
        undo_.resize(static_cast<size_t>(undoPosition_));
        // The saved text lay in the redo tail just cut: no undo or redo leads back to it.
        if (savedPosition_ > undoPosition_) {
            savedPosition_ = -1;
        }
    }
    DropOldestGroups();
    UndoRecord record;
    record.flags = insert ? kUndoInsert : 0;
    if (newGroupPending_ || undo_.empty()) {
        record.flags |= kUndoGroupStart;
    }
    newGroupPending_ = false;
    groupRecorded_ = true;
    record.start = start;
    record.end = end;
    record.action = action;
    record.text = std::move(text);
    undo_.push_back(std::move(record));
    undoPosition_ = static_cast<int>(undo_.size());
}

// Whole groups go, oldest first, until the list is below the limit again. The group the next
// record joins is never dropped, however large it grows, so that it stays whole for Undo.
void CTextBuffer::DropOldestGroups()
{
    while (!undo_.empty() && static_cast<int>(undo_.size()) >= undoLimit_) {
        size_t next = 1;
        while (next < undo_.size() && (undo_[next].flags & kUndoGroupStart) == 0) {
            ++next;
        }
        if (next == undo_.size() && !newGroupPending_) {
            break;
        }
        undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(next));
        const int dropped = static_cast<int>(next);
        undoPosition_ -= dropped;
        if (savedPosition_ >= 0) {
            savedPosition_ = savedPosition_ >= dropped ? savedPosition_ - dropped : -1;
        }
    }
}

void CTextBuffer::FollowSavedPosition()
{
    if (undoPosition_ == savedPosition_) {
        if (IsModified()) {
            SetModified(false);
        }
    } else if (!IsModified()) {
        SetModified(true);
    }
}

bool CTextBuffer::Undo(TextPosition& position)
{
    if (readOnly_ || !CanUndo()) {
        return false;
    }
    bool ok = true;
    while (undoPosition_ > 0) {
        const UndoRecord& record = undo_[static_cast<size_t>(undoPosition_ - 1)];
        if (record.flags & kUndoInsert) {
            ok = DeleteText(nullptr, record.start, record.end);
            position = record.start;
        } else {
            TextPosition end;
            ok = InsertText(nullptr, record.start, record.text, &end);
            position = end;
        }
        if (!ok) {
            break;
        }
        --undoPosition_;
        if (record.flags & kUndoGroupStart) {
            break;
        }
    }
    FollowSavedPosition();
    return ok;
}

bool CTextBuffer::Redo(TextPosition& position)
{
    if (readOnly_ || !CanRedo()) {
        return false;
    }
    bool ok = true;
    do {
        const UndoRecord& record = undo_[static_cast<size_t>(undoPosition_)];
        if (record.flags & kUndoInsert) {
            TextPosition end;
            ok = InsertText(nullptr, record.start, record.text, &end);
            position = end;
        } else {
            ok = DeleteText(nullptr, record.start, record.end);
            position = record.start;
        }
        if (!ok) {
            break;
        }
        ++undoPosition_;
    } while (undoPosition_ < static_cast<int>(undo_.size()) &&
             (undo_[static_cast<size_t>(undoPosition_)].flags & kUndoGroupStart) == 0);
    FollowSavedPosition();
    return ok;
}

int CTextBuffer::GetUndoText(QString& text, int position) const
{
    const int from = position == 0 ? undoPosition_ : position;
    if (from <= 0 || from > static_cast<int>(undo_.size())) {
        text.clear();
        return -1;
    }
    int first = from - 1;
    while (first > 0 && (undo_[static_cast<size_t>(first)].flags & kUndoGroupStart) == 0) {
        --first;
    }
    GetUndoActionText(undo_[static_cast<size_t>(first)].action, text);
    return first;
}

bool CTextBuffer::GetRedoText(QString& text, int position) const
{
    const int at = position == 0 ? undoPosition_ : position;
    if (at < 0 || at >= static_cast<int>(undo_.size())) {
        text.clear();
        return false;
    }
    return GetUndoActionText(undo_[static_cast<size_t>(at)].action, text);
}

void CTextBuffer::OpenUndoGroup(bool mergeWithPrevious)
{
    inGroup_ = true;
    groupRecorded_ = false;
    newGroupPending_ = !(mergeWithPrevious && undoPosition_ != 0);
}

void CTextBuffer::CloseUndoGroup(BufferView* view)
{
    if (view != nullptr && !undo_.empty()) {
        newGroupPending_ = true;
        // A group that recorded nothing (every edit refused) says nothing: the last record belongs
        // to an earlier edit, and hearing it again would, after an Enter, indent a second time.
        if (groupRecorded_) {
            const UndoRecord& last = undo_.back();
            const int action = last.action;
            const QString text = last.text;
            view->AfterEdit(action, text);
        }
    }
    inGroup_ = false;
}

int CTextBuffer::ChangeLineFlag(int line, std::uint32_t flag, bool set, bool removeFromPreviousLine)
{
    if (std::popcount(flag) != 1) {
        return -2;
    }
    if (line == -1) {
        line = FindUniqueFlagLine(flag);
        if (line < 0) {
            return -1;
        }
        removeFromPreviousLine = false;
    }
    if (line < 0 || line >= GetLineCount()) {
        return -2;
    }
    const std::uint32_t old = lines_[line].flags;
    const std::uint32_t word = set ? (old | flag) : (old & ~flag);
    if (word == old) {
        return line;
    }
    if (removeFromPreviousLine && set) {
        const int previous = FindUniqueFlagLine(flag);
        if (previous >= 0 && previous != line) {
            lines_[previous].flags &= ~flag;
            NotifyViews(nullptr, nullptr, BufferHint_OneLine | BufferHint_Flags, previous);
        }
    }
    lines_[line].flags = word;
    NotifyViews(nullptr, nullptr, BufferHint_OneLine | BufferHint_Flags, line);
    return line;
}

int CTextBuffer::FindUniqueFlagLine(std::uint32_t flag) const
{
    if (std::popcount(flag) != 1) {
        return -1;
    }
    return FindFirstFlaggedLine(flag);
}

int CTextBuffer::FindFirstFlaggedLine(std::uint32_t mask) const
{
    for (int line = 0; line < GetLineCount(); ++line) {
        if (lines_[line].flags & mask) {
            return line;
        }
    }
    return -1;
}

int CTextBuffer::SearchFlag(int line, std::uint32_t flag, bool forward) const
{
    const int count = GetLineCount();
    if (count == 0) {
        return -1;
    }
    const bool carries = (GetLineFlags(line) & flag) != 0;
    if (forward) {
        for (int at = std::max(0, carries ? line + 1 : line); at < count; ++at) {
            if (lines_[at].flags & flag) {
                return at;
            }
        }
        for (int at = 0; at < count; ++at) {
            if (lines_[at].flags & flag) {
                return at;
            }
        }
    } else {
        for (int at = std::min(count - 1, carries ? line - 1 : line); at >= 0; --at) {
            if (lines_[at].flags & flag) {
                return at;
            }
        }
        for (int at = count - 1; at >= 0; --at) {
            if (lines_[at].flags & flag) {
                return at;
            }
        }
    }
    return -1;
}

int CTextBuffer::NextBookmarkedLine(int line) const
{
    return SearchFlag(line, LineFlag_Bookmark, true);
}

int CTextBuffer::PrevBookmarkedLine(int line) const
{
    return SearchFlag(line, LineFlag_Bookmark, false);
}

int CTextBuffer::NextWarningLine(int line) const
{
    return SearchFlag(line, LineFlag_Warning, true);
}

int CTextBuffer::PrevWarningLine(int line) const
{
    return SearchFlag(line, LineFlag_Warning, false);
}

int CTextBuffer::SetMacroName(int line, const QString& name)
{
    if (line < 0 || line >= GetLineCount() || GetFoldState(line) != 0) {
        return 0;
    }
    if (name.isEmpty()) {
        if (lines_[line].macro) {
            lines_[line].macro->hasName = false;
            lines_[line].macro->name.clear();
        }
        return 1;
    }
    if (IsMacroBodyLine(line)) {
        return 0;
    }
    MacroData& data = Macro(line);
    data.hasName = true;
    data.name = name;
    return static_cast<int>(name.size()) + 1;
}

bool CTextBuffer::HasMacroName(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr && data->hasName;
}

QString CTextBuffer::GetMacroName(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr && data->hasName ? data->name : QString();
}

int CTextBuffer::GetFoldState(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr ? data->foldState : 0;
}

void CTextBuffer::SetFoldState(int line, int state)
{
    if (line < 0 || line >= GetLineCount() || (state == 0 && !lines_[line].macro)) {
        return;
    }
    MacroData& data = Macro(line);
    data.foldState = state;
    data.isProtected = false;
}

bool CTextBuffer::IsMacroBodyLine(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr && data->body;
}

bool CTextBuffer::IsLineProtected(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr && data->isProtected;
}

void CTextBuffer::SetLineProtected(int line)
{
    if (line >= 0 && line < GetLineCount()) {
        Macro(line).isProtected = true;
    }
}

void CTextBuffer::MarkMacroBody(int first, int last)
{
    for (int line = std::max(0, first + 1); line <= last && line < GetLineCount(); ++line) {
        MacroData& data = Macro(line);
        data.body = true;
        data.hasName = false;
        data.name.clear();
    }
}

int CTextBuffer::UnmarkMacroBody(int line)
{
    int at = line + 1;
    while (at < GetLineCount() && IsMacroBodyLine(at)) {
        lines_[at].macro->body = false;
        ++at;
    }
    return at - 1;
}

QString CTextBuffer::GetFoldIndent(int line) const
{
    const MacroData* data = MacroOf(line);
    return data != nullptr ? data->foldIndent : QString();
}

void CTextBuffer::SetFoldIndent(int line, const QString& indent)
{
    if (line >= 0 && line < GetLineCount()) {
        Macro(line).foldIndent = indent;
    }
}

void CTextBuffer::AttachView(BufferView* view)
{
    if (view != nullptr && std::find(views_.begin(), views_.end(), view) == views_.end()) {
        views_.push_back(view);
    }
}

void CTextBuffer::DetachView(BufferView* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

// Every attached view hears of the change, so that a second view of the same text keeps its
// caret and selection on the characters they stood on.
void CTextBuffer::NotifyViews(BufferView* source, const EditContext* edit, unsigned hint, int line)
{
    const std::vector<BufferView*> views = views_;
    for (BufferView* view : views) {
        view->OnBufferChanged(source, edit, hint, line);
    }
}

}  // namespace zov::editor

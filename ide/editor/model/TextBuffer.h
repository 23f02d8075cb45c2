#pragma once
// The text model of every editor window: lines with their flags and macro-fold data, an undo
// list of named action groups, load and save with line-end detection, and the attached views.

#include "ide/editor/model/BufferTypes.h"
#include "ide/shell/core/Translate.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::editor {

// "DOS", "UNIX" or "MAC"; empty for any other mode.
QString LineEndModeLabel(int mode);

// The sequence written for a mode (CR LF for an unknown one).
QString LineEndSequence(int mode);

class CTextBuffer {
public:
    static constexpr int kDefaultUndoLimit = 1024;
    static constexpr std::uint32_t kUndoInsert = 0x0001;
    static constexpr std::uint32_t kUndoGroupStart = 0x0100;

    struct UndoRecord {
        std::uint32_t flags = 0;
        TextPosition start;
        TextPosition end;
        int action = UndoAction_Unknown;
        QString text;
    };

    explicit CTextBuffer(shell::Translate translate = shell::IdentityTranslate());
    virtual ~CTextBuffer();
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;

    // The action's text, translated. Codes without a text clear it and return false, so that
    // menus fall back to their plain form instead of showing a stale name.
    virtual bool GetUndoActionText(int action, QString& text) const;
    virtual void SetModified(bool modified);
    virtual bool IsModified() const;

    bool InitNew(int lineEndMode = LineEnd_Dos);
    void FreeAll();
    bool IsInitialised() const { return initialised_; }

    // A failed load leaves the buffer as it was.
    bool LoadFromFile(const std::filesystem::path& path, int lineEndMode = LineEnd_Detect);
    // The same from bytes already read (valid UTF-8 as UTF-8, else Windows-1252).
    bool LoadFromBytes(std::string_view bytes, int lineEndMode = LineEnd_Detect);
    // Written through a temporary file renamed over the target; a failure leaves it untouched.
    bool SaveToFile(const std::filesystem::path& path, int lineEndMode = LineEnd_Detect, bool clearModified = true);
    // The UTF-8 bytes a save writes; nothing for an unknown mode.
    std::optional<std::string> SaveToBytes(int lineEndMode = LineEnd_Detect) const;

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    int GetLineEndMode() const { return lineEndMode_; }

    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    int GetLineLength(int line) const;
    const QString& GetLine(int line) const;
    std::uint32_t GetLineFlags(int line) const;
    bool IsValidPosition(TextPosition position) const;
    // The end of the last line.
    TextPosition GetEndPosition() const;

    void InsertLine(QStringView text, int at = -1);
    void AppendLine(int line, QStringView text);
    QString GetText(TextPosition start, TextPosition end, QStringView lineEnd = u"\r\n") const;

    // Raw edits: refused (false, nothing changed) on a read-only buffer, on locked lines (a macro
    // body line, or an unfolded header with its body below) and for positions outside the text.
    // The inserted text breaks lines at CR LF, LF and lone CR alike.
    bool InsertText(BufferView* source, TextPosition at, QStringView text, TextPosition* end = nullptr);
    bool DeleteText(BufferView* source, TextPosition start, TextPosition end);
    bool InsertTextUndoable(BufferView* source, TextPosition at, QStringView text, TextPosition* end, int action);
    bool DeleteTextUndoable(BufferView* source, TextPosition start, TextPosition end, int action);

    bool CanUndo() const { return undoPosition_ > 0; }
    bool CanRedo() const { return undoPosition_ < static_cast<int>(undo_.size()); }
    // One group each; the position is where the caret goes.
    bool Undo(TextPosition& position);
    bool Redo(TextPosition& position);
    // The action text of the group just below the position (0: the current one); returns the
    // group's first record index, or -1 when there is nothing to undo.
    int GetUndoText(QString& text, int position = 0) const;
    bool GetRedoText(QString& text, int position = 0) const;
    void OpenUndoGroup(bool mergeWithPrevious = false);
    void CloseUndoGroup(BufferView* view = nullptr);
    void EnableUndoRecording(bool enable) { undoRecording_ = enable; }
    bool IsUndoRecordingEnabled() const { return undoRecording_; }
    void SetUndoLimit(int limit) { undoLimit_ = limit; }
    int GetUndoPosition() const { return undoPosition_; }
    // -1 once the saved text can no longer be reached by undo or redo.
    int GetSavedPosition() const { return savedPosition_; }
    const std::vector<UndoRecord>& GetUndoRecords() const { return undo_; }

    // Result: the changed line; below 0 for a flag of more or fewer than one bit, a line out of
    // range, or line -1 when no line carries the flag.
    int ChangeLineFlag(int line, std::uint32_t flag, bool set, bool removeFromPreviousLine = false);
    int FindUniqueFlagLine(std::uint32_t flag) const;
    int FindFirstFlaggedLine(std::uint32_t mask) const;
    int NextBookmarkedLine(int line) const;
    int PrevBookmarkedLine(int line) const;
    int NextWarningLine(int line) const;
    int PrevWarningLine(int line) const;

    int SetMacroName(int line, const QString& name);
    bool HasMacroName(int line) const;
    QString GetMacroName(int line) const;
    int GetFoldState(int line) const;
    bool IsUnfolded(int line) const { return GetFoldState(line) != 0; }
    void SetFoldState(int line, int state);
    bool IsMacroBodyLine(int line) const;
    bool IsLineProtected(int line) const;
    void SetLineProtected(int line);
    void MarkMacroBody(int first, int last);
    int UnmarkMacroBody(int line);
    // The call's indentation, kept while the macro is unfolded so that folding restores it.
    QString GetFoldIndent(int line) const;
    void SetFoldIndent(int line, const QString& indent);
    // Edits on the line are refused (body line, or unfolded header with its body below).
    bool IsLineLocked(int line) const;

    void AttachView(BufferView* view);
    void DetachView(BufferView* view);
    void NotifyViews(BufferView* source, const EditContext* edit, unsigned hint, int line);

private:
    struct MacroData {
        QString name;
        QString foldIndent;
        bool hasName = false;
        bool body = false;
        bool isProtected = false;
        int foldState = 0;
    };
    struct Line {
        QString text;
        std::uint32_t flags = 0;
        std::unique_ptr<MacroData> macro;  // most lines have none
    };

    MacroData& Macro(int line);
    const MacroData* MacroOf(int line) const;
    bool RangeIsLocked(int first, int last) const;
    void MarkEdited();
    void AddUndoRecord(bool insert, TextPosition start, TextPosition end, QString text, int action);
    void DropOldestGroups();
    void FollowSavedPosition();
    int SearchFlag(int line, std::uint32_t flag, bool forward) const;
    void ResetUndo();

    shell::Translate translate_;
    bool initialised_ = false;
    bool readOnly_ = false;
    bool modified_ = false;
    int lineEndMode_ = LineEnd_Dos;
    int undoLimit_ = kDefaultUndoLimit;
    bool undoRecording_ = true;
    std::vector<Line> lines_;
    std::vector<UndoRecord> undo_;
    int undoPosition_ = 0;
    int savedPosition_ = 0;
    bool inGroup_ = false;
    bool newGroupPending_ = false;
    bool groupRecorded_ = false;
    std::vector<BufferView*> views_;
};

}  // namespace zov::editor

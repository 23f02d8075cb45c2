// Helpers of the editor model tests: a private folder, a view that records what it is told, and
// a buffer filled from text.
#pragma once

#include "ide/editor/model/TextBuffer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace zov::editor::test {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zov-editor-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Records every notification, and keeps a caret that follows the edit contexts.
class RecordingView : public BufferView {
public:
    struct Change {
        unsigned hint;
        int line;
    };
    void OnBufferChanged(BufferView*, const EditContext* edit, unsigned hint, int line) override
    {
        changes.push_back({hint, line});
        if (edit != nullptr) {
            edit->AdjustPosition(caret);
        }
    }
    void AfterEdit(int action, const QString& text) override { afterEdits.emplace_back(action, text); }

    std::vector<Change> changes;
    std::vector<std::pair<int, QString>> afterEdits;
    TextPosition caret;
};

// The buffer's lines, for comparing with a list.
inline std::vector<QString> Lines(const CTextBuffer& buffer)
{
    std::vector<QString> lines;
    for (int i = 0; i < buffer.GetLineCount(); ++i) {
        lines.push_back(buffer.GetLine(i));
    }
    return lines;
}

// A buffer holding the text, its lines split at any line end, unmodified and with no undo.
inline void Fill(CTextBuffer& buffer, std::string_view utf8)
{
    ASSERT_TRUE(buffer.LoadFromBytes(utf8));
}

}  // namespace zov::editor::test

// Readable failures for the Qt strings in the tests.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

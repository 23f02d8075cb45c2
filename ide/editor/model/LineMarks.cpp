#include "ide/editor/model/LineMarks.h"

namespace zov::editor {

void GetBreakpoints(const CTextBuffer& buffer, std::vector<unsigned>& list)
{
    list.clear();
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.GetLineFlags(line) & LineFlag_Breakpoint) {
            list.push_back(static_cast<unsigned>(line) + 1);
        }
    }
}

void SetBreakpoints(CTextBuffer& buffer, const std::vector<unsigned>& list)
{
    for (unsigned number : list) {
        if (number >= 1 && number <= static_cast<unsigned>(buffer.GetLineCount())) {
            buffer.ChangeLineFlag(static_cast<int>(number) - 1, LineFlag_Breakpoint, true);
        }
    }
}

void ToggleLineFlag(CTextBuffer& buffer, int line, std::uint32_t flag, bool unique)
{
    const bool present = (buffer.GetLineFlags(line) & flag) != 0;
    buffer.ChangeLineFlag(line, flag, !present, unique);
}

void ClearLineFlag(CTextBuffer& buffer, std::uint32_t flag)
{
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.GetLineFlags(line) & flag) {
            buffer.ChangeLineFlag(line, flag, false);
        }
    }
}

}  // namespace zov::editor

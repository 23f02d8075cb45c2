#include "engine/runtime/ErrorList.h"

#include <algorithm>

#include "engine/base/Output.h"

namespace zov {

void CErrorList::AddAnalysisError(unsigned line, unsigned column, std::string_view text)
{
    errors_.push_back(CAnalysisError{std::string(text), line, column});
}

void CErrorList::PrintAnalysisErrors()
{
    std::stable_sort(errors_.begin(), errors_.end(),
                     [](const CAnalysisError& a, const CAnalysisError& b) { return a.line < b.line; });
    for (const CAnalysisError& error : errors_)
        WriteOut(lines::ErrLine, static_cast<int>(error.line), error.text.c_str());
    errors_.clear();
}

}  // namespace zov

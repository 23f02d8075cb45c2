#pragma once

// The errors found while a script is analysed. They are collected, not printed, so that the
// engine can report them together once the phase ends.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

struct CAnalysisError {
    std::string text;
    unsigned line = 0;
    unsigned column = 0;
};

// A scratch list serves an analysis whose findings are thrown away: one run during execution
// to learn a type, or a second look at an expression already analysed. Nothing found with a
// scratch list is ever written, not even the debugging line of the expression check.
enum class ErrorListUse { Reported, Scratch };

class CErrorList {
public:
    explicit CErrorList(ErrorListUse use = ErrorListUse::Reported) : scratch_(use == ErrorListUse::Scratch) {}

    bool IsScratch() const { return scratch_; }

    void AddAnalysisError(unsigned line, unsigned column, std::string_view text);

    // Writes every entry as "err: %03d : %s\n" (the column is not printed), ordered by line
    // so that the report reads like the script; entries of one line keep the order in which
    // they were found. Then empties the list.
    void PrintAnalysisErrors();

    std::size_t GetAnalysisErrorCount() const { return errors_.size(); }
    bool Empty() const { return errors_.empty(); }
    const std::vector<CAnalysisError>& Errors() const { return errors_; }

    // Drops every entry; the list stays usable.
    void Clear() { errors_.clear(); }

private:
    std::vector<CAnalysisError> errors_;
    bool scratch_;
};

}  // namespace zov

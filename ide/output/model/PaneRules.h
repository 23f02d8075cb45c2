#pragma once

// The rules of the list panes of the output bar, without their lists: the error pane's row texts,
// the find pane's keys and its next/previous moves, the data store, the watched variables, the
// runs pane's row colours and the counts of the test results summary.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/RunRecord.h"
#include "ide/shell/core/Translate.h"

namespace zov::output {

// ---- error pane

struct ErrorRowTexts {
    std::string line;     // a blank, then what stood before the first ':'
    std::string message;  // a blank, then the translated rest (it keeps its own leading blank)
};
// Line breaks are dropped; a text without ':' has an empty line part.
ErrorRowTexts SplitErrorText(std::string_view text, const shell::Translate& translate);
// The line number of an error row's line column (leading blanks skipped, 0 without digits).
int ErrorRowLine(std::string_view lineColumn);

// ---- find pane

struct FindTarget {
    std::string path;
    int line = 0;
};
// A key "path:line" is split at its last ':', the one the line number follows, so that a path
// holding a ':' of its own (a drive letter) stays whole; no digits behind it read as line 0. A key
// without ':' opens nothing.
std::optional<FindTarget> SplitFindKey(std::string_view key);
// The row the next/previous command selects, given the selected row (-1: none) and the row count;
// -1 when the list is empty. Next wraps from the last row to the first; previous stops at the first.
int NextFindRow(int selected, int count);
int PreviousFindRow(int selected, int count);
// A result's display text loses its line breaks.
std::string FindDisplayText(std::string_view text);

// ---- data pane

struct DataItem {
    std::string name;
    std::string value;
    bool saveInProject = false;
};

// Named values exchanged with the running scripts, in insertion order; names are case-sensitive.
class DataStore {
public:
    // Sets the first item of that name (its save flag stays) and returns its index, or appends a
    // new item and returns its index; `added` tells which.
    std::size_t SetData(const std::string& name, const std::string& value, bool saveInProject, bool* added = nullptr);
    // The value of the first item of that name, "" when none.
    std::string GetData(const std::string& name) const;
    // Names and values of the items kept in the project, in order.
    void GetAll(std::vector<std::string>& names, std::vector<std::string>& values) const;
    void Remove(std::size_t index);
    void Clear() { items_.clear(); }
    std::vector<DataItem>& Items() { return items_; }
    const std::vector<DataItem>& Items() const { return items_; }

private:
    std::vector<DataItem> items_;
};

// ---- variables pane

struct WatchedVariable {
    std::string name;
    execution::RunRecord* record = nullptr;
    std::string value;
    int kind = -1;  // -1 until the engine answered
};

class WatchList {
public:
    // Appends (name, record) unless it is watched or there is no record; true when appended.
    bool AddVariable(const std::string& name, execution::RunRecord* record);
    bool IsWatched(const std::string& name, const execution::RunRecord* record) const;
    // The rows updated, in order.
    std::vector<std::size_t> UpdateVariable(const std::string& name, const std::string& value, int kind,
                                            const execution::RunRecord* record);
    void Remove(std::size_t index);
    void Clear() { rows_.clear(); }
    // Every watched name in row order, whatever its record (what "getval" asks for).
    std::vector<std::string> Names() const;
    std::vector<WatchedVariable>& Rows() { return rows_; }
    const std::vector<WatchedVariable>& Rows() const { return rows_; }

private:
    std::vector<WatchedVariable> rows_;
};

// ---- runs pane and its summary

// The background of a runs-pane row (COLORREF), none where the list keeps its own.
std::optional<std::uint32_t> RunRowBackground(int resultCode);

struct RunSummary {
    int tests = 0;  // result-history entries
    std::int64_t duration = 0;
    int passed = 0;
    int failed = 0;
    int notPassed = 0;
    int warnings = 0;
};
RunSummary SummariseRuns(const std::vector<const execution::RunRecord*>& records);
// " hh:mm:ss" with hours not wrapped.
std::string FormatTotalDuration(std::int64_t seconds);

// The iterations the summary lists for a test: its history, or, without history but with
// warnings, one entry made of its current result.
std::vector<execution::ResultEntry> SummaryIterations(const execution::RunRecord& record);
// True when every history entry is OK (or there is none).
bool AllIterationsOk(const execution::RunRecord& record);
// The combo text of a test: campaign " : " test set " : " test, the parts it has.
std::string SummaryTestName(const execution::RunRecord& record);
// " Date: hh:mm:ss    Durée:hh: mm:ss" of an iteration, translated words.
std::string IterationTimes(const execution::ResultEntry& entry, const shell::Translate& translate);
// " OK : text" / " NOK : text", " <Aucun>" for an empty text, translated words.
std::string IterationResult(const execution::ResultEntry& entry, const shell::Translate& translate);

}  // namespace zov::output

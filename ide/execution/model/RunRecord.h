#pragma once

// What one run of a test's script reads and writes: its result, warnings, timing and history.
// The project's test record holds one; a script run alone has none. The runs table turns a
// record into the texts of its row, by the rules of the runs pane.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ide/shell/core/Translate.h"

namespace zov::execution {

// Result codes: one table for the whole system.
enum ResultCode : int {
    kResultNotRun = -1,
    kResultNok = 0,
    kResultOk = 1,
    kResultRunning = 2,
    kResultStopped = 3,
    kResultCancelled = 4,
    kResultError = 5,
    kResultUnknown = 6,  // the engine ended without a result
    kResultVerified = 10,
    kResultVerifyError = 11,
};

// The row text of a code (untranslated key), or "" for codes that have none (-1).
std::string_view ResultCodeText(int code);

// One final result kept in a test's history.
struct ResultEntry {
    int code = kResultNotRun;
    std::string text;
    std::vector<std::string> warnings;
    std::int64_t start = 0;     // seconds since 1970
    std::int64_t duration = 0;  // seconds
    int marker = -1;
};

struct RunRecord {
    std::string testName{};
    std::string testSetName{};   // empty without a test set
    std::string campaignName{};  // empty without a campaign
    bool hasTestSet = false;
    std::string parameters{};         // the test's own, "" when none
    std::string testSetParameters{};  // its test set's, "" when none

    int resultCode = kResultNotRun;
    int resultLine = 0;
    std::string resultText{};
    std::vector<std::string> warnings{};
    std::int64_t start = 0;
    std::int64_t duration = 0;
    bool toRun = false;
    std::vector<ResultEntry> history{};
    int historyMarker = -1;
};

// The parameters a run of the record passes: its own, else its test set's.
std::string RunParameters(const RunRecord& record);

// Texts of one row of the runs table (each column as the pane shows it).
struct RunRow {
    RunRecord* record = nullptr;
    std::string campaign, testSet, test, start, duration, count, result, warnings, info;
};

// The runs table's logic without its list: rows in order, one per record.
class RunsTable {
public:
    using Now = std::function<std::int64_t()>;  // seconds since 1970
    explicit RunsTable(shell::Translate translate = shell::IdentityTranslate(), Now now = {});

    // Appends a row for the record unless one exists.
    void AddRun(RunRecord& record);
    // Recomputes the record's row from its result code; a final result adds a history entry
    // only for OK or NOK outside a verification. Nothing for a record without a row.
    void UpdateRun(RunRecord& record, bool verify);
    void Clear() { rows_.clear(); }

    const std::vector<RunRow>& Rows() const { return rows_; }
    const RunRow* Find(const RunRecord& record) const;

private:
    RunRow* FindRow(const RunRecord& record);
    shell::Translate translate_;
    Now now_;
    std::vector<RunRow> rows_;
};

// " hh:mm:ss" of a local time, and of a duration with hours modulo 24.
std::string FormatLocalClock(std::int64_t secondsSince1970);
std::string FormatDuration(std::int64_t seconds);

}  // namespace zov::execution

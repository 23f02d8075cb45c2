#include "ide/output/model/PaneRules.h"

#include <cstdio>
#include <ctime>

namespace zov::output {

ErrorRowTexts SplitErrorText(std::string_view text, const shell::Translate& translate)
{
    std::string flat;
    flat.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            flat += c;
    const std::size_t colon = flat.find(':');
    std::string line;
    std::string message = flat;
    if (colon != std::string::npos) {
        line = flat.substr(0, colon);
        message = flat.substr(colon + 1);
    }
    return {" " + line, " " + (translate ? translate(message) : message)};
}

int ErrorRowLine(std::string_view lineColumn)
{
    std::size_t at = 0;
    while (at < lineColumn.size() && (lineColumn[at] == ' ' || lineColumn[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < lineColumn.size() && (lineColumn[at] == '-' || lineColumn[at] == '+'))
        negative = lineColumn[at++] == '-';
    long long value = 0;
    for (; at < lineColumn.size() && lineColumn[at] >= '0' && lineColumn[at] <= '9'; ++at) {
        value = value * 10 + (lineColumn[at] - '0');
        if (value > 0x7FFFFFFF)
            value = 0x7FFFFFFF;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<FindTarget> SplitFindKey(std::string_view key)
{
    const std::size_t colon = key.rfind(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    FindTarget target;
    target.path = std::string(key.substr(0, colon));
    target.line = ErrorRowLine(key.substr(colon + 1));
    return target;
}

int NextFindRow(int selected, int count)
{
    if (count <= 0)
        return -1;
    if (selected < 0 || selected >= count - 1)
        return 0;
    return selected + 1;
}

int PreviousFindRow(int selected, int count)
{
    if (count <= 0)
        return -1;
    if (selected <= 0 || selected >= count)
        return 0;
    return selected - 1;
}

std::string FindDisplayText(std::string_view text)
{
    std::string flat;
    flat.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            flat += c;
    return flat;
}

std::size_t DataStore::SetData(const std::string& name, const std::string& value, bool saveInProject, bool* added)
{
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].name == name) {
            items_[i].value = value;
            if (added)
                *added = false;
            return i;
        }
    }
    items_.push_back({name, value, saveInProject});
    if (added)
        *added = true;
    return items_.size() - 1;
}

std::string DataStore::GetData(const std::string& name) const
{
    for (const DataItem& item : items_)
        if (item.name == name)
            return item.value;
    return {};
}

void DataStore::GetAll(std::vector<std::string>& names, std::vector<std::string>& values) const
{
    names.clear();
    values.clear();
    for (const DataItem& item : items_) {
        if (item.saveInProject) {
            names.push_back(item.name);
            values.push_back(item.value);
        }
    }
}

void DataStore::Remove(std::size_t index)
{
    if (index < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool WatchList::AddVariable(const std::string& name, execution::RunRecord* record)
{
    if (record == nullptr || IsWatched(name, record))
        return false;
    rows_.push_back({name, record, {}, -1});
    return true;
}

bool WatchList::IsWatched(const std::string& name, const execution::RunRecord* record) const
{
    for (const WatchedVariable& row : rows_)
        if (row.name == name && row.record == record)
            return true;
    return false;
}

std::vector<std::size_t> WatchList::UpdateVariable(const std::string& name, const std::string& value, int kind,
                                                   const execution::RunRecord* record)
{
    std::vector<std::size_t> updated;
    if (record == nullptr)
        return updated;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name == name && rows_[i].record == record) {
            rows_[i].value = value;
            rows_[i].kind = kind;
            updated.push_back(i);
        }
    }
    return updated;
}

void WatchList::Remove(std::size_t index)
{
    if (index < rows_.size())
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::vector<std::string> WatchList::Names() const
{
    std::vector<std::string> names;
    names.reserve(rows_.size());
    for (const WatchedVariable& row : rows_)
        names.push_back(row.name);
    return names;
}

std::optional<std::uint32_t> RunRowBackground(int resultCode)
{
    switch (resultCode) {
    case execution::kResultNok:
    case execution::kResultVerifyError:
        return 0xE6E6FF;
    case execution::kResultOk:
    case execution::kResultVerified:
        return 0xFFFFFF;
    case execution::kResultRunning:
        return 0xC0FFC0;
    case execution::kResultStopped:
    case execution::kResultCancelled:
    case execution::kResultError:
        return 0xA0FFFF;
    default:
        return std::nullopt;
    }
}

RunSummary SummariseRuns(const std::vector<const execution::RunRecord*>& records)
{
    RunSummary summary;
    for (const execution::RunRecord* record : records) {
        if (record == nullptr)
            continue;
        for (const execution::ResultEntry& entry : record->history) {
            ++summary.tests;
            summary.duration += entry.duration;
            if (entry.code == execution::kResultOk)
                ++summary.passed;
            else if (entry.code == execution::kResultNok)
                ++summary.failed;
            else
                ++summary.notPassed;
            summary.warnings += static_cast<int>(entry.warnings.size());
        }
    }
    return summary;
}

std::string FormatTotalDuration(std::int64_t seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, " %02lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                  static_cast<int>((seconds / 60) % 60), static_cast<int>(seconds % 60));
    return text;
}

std::vector<execution::ResultEntry> SummaryIterations(const execution::RunRecord& record)
{
    if (!record.history.empty())
        return record.history;
    if (record.warnings.empty())
        return {};
    return {{record.resultCode, record.resultText, record.warnings, record.start, record.duration, -1}};
}

bool AllIterationsOk(const execution::RunRecord& record)
{
    for (const execution::ResultEntry& entry : record.history)
        if (entry.code != execution::kResultOk)
            return false;
    return true;
}

std::string SummaryTestName(const execution::RunRecord& record)
{
    std::string name;
    if (!record.campaignName.empty())
        name += record.campaignName + " : ";
    if (record.hasTestSet || !record.testSetName.empty())
        name += record.testSetName + " : ";
    return name + record.testName;
}

std::string IterationTimes(const execution::ResultEntry& entry, const shell::Translate& translate)
{
    const std::time_t start = static_cast<std::time_t>(entry.start);
    std::tm local{};
    localtime_r(&start, &local);
    const std::string date = translate("Date");
    const std::string duration = translate("Durée");
    char text[256];
    std::snprintf(text, sizeof text, " %s: %02d:%02d:%02d    %s:%02d: %02d:%02d", date.c_str(), local.tm_hour,
                  local.tm_min, local.tm_sec, duration.c_str(), static_cast<int>(entry.duration / 3600),
                  static_cast<int>((entry.duration / 60) % 60), static_cast<int>(entry.duration % 60));
    return text;
}

std::string IterationResult(const execution::ResultEntry& entry, const shell::Translate& translate)
{
    std::string text = " " + translate(entry.code == execution::kResultOk ? "OK" : "NOK") + " : ";
    text += entry.text.empty() ? " " + translate("<Aucun>") : entry.text;
    return text;
}

}  // namespace zov::output

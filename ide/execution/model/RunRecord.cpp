#include "ide/execution/model/RunRecord.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zov::execution {

std::string_view ResultCodeText(int code)
{
    switch (code) {
    case kResultNok:
        return "NOK";
    case kResultOk:
        return "OK";
    case kResultRunning:
        return "En cours...";
    case kResultStopped:
        return "Arrêté";
    case kResultCancelled:
        return "Annulé";
    case kResultError:
        return "Erreur";
    case kResultUnknown:
        return "???";
    case kResultVerified:
        return "Vérifié";
    case kResultVerifyError:
        return "Erreur";
    default:
        return {};
    }
}

std::string RunParameters(const RunRecord& record)
{
    if (!record.parameters.empty())
        return record.parameters;
    if (record.hasTestSet)
        return record.testSetParameters;
    return {};
}

std::string FormatLocalClock(std::int64_t secondsSince1970)
{
    const std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string FormatDuration(std::int64_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char text[48];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", static_cast<int>((seconds / 3600) % 24),
                  static_cast<int>((seconds / 60) % 60), static_cast<int>(seconds % 60));
    return text;
}

RunsTable::RunsTable(shell::Translate translate, Now now) : translate_(std::move(translate)), now_(std::move(now))
{
    if (!translate_)
        translate_ = shell::IdentityTranslate();
    if (!now_)
        now_ = [] {
            return static_cast<std::int64_t>(
                std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                    .count());
        };
}

RunRow* RunsTable::FindRow(const RunRecord& record)
{
    for (RunRow& row : rows_)
        if (row.record == &record)
            return &row;
    return nullptr;
}

const RunRow* RunsTable::Find(const RunRecord& record) const
{
    for (const RunRow& row : rows_)
        if (row.record == &record)
            return &row;
    return nullptr;
}

void RunsTable::AddRun(RunRecord& record)
{
    if (FindRow(record))
        return;
    RunRow row;
    row.record = &record;
    row.test = " " + record.testName;
    if (record.hasTestSet) {
        row.testSet = " " + record.testSetName;
        if (!record.campaignName.empty())
            row.campaign = " " + record.campaignName;
    }
    rows_.push_back(std::move(row));
}

void RunsTable::UpdateRun(RunRecord& record, bool verify)
{
    RunRow* row = FindRow(record);
    if (!row)
        return;
    const std::int64_t now = now_();
    if (record.resultCode == kResultRunning) {
        record.start = now;
        row->start = FormatLocalClock(now);
        row->duration.clear();
        row->warnings.clear();
        row->info.clear();
        row->result = " " + translate_(ResultCodeText(kResultRunning));
        return;
    }
    // A run that ends within its first second counts one second.
    record.duration = now - record.start;
    if (record.duration < 1)
        record.duration = 1;
    row->duration = FormatDuration(record.duration);
    const std::string_view text = ResultCodeText(record.resultCode);
    if (!text.empty())
        row->result = " " + translate_(text);
    row->warnings = " " + std::to_string(record.warnings.size());
    row->info = " " + record.resultText;
    if (!verify && (record.resultCode == kResultOk || record.resultCode == kResultNok)) {
        record.history.push_back(
            {record.resultCode, record.resultText, record.warnings, record.start, record.duration, -1});
        row->count = std::to_string(record.history.size());
    }
}

}  // namespace zov::execution

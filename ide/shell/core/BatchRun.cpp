#include "ide/shell/core/BatchRun.h"

#include <utility>

namespace zov::shell {

BatchRun::BatchRun(CampaignRun& campaign, BatchHost& host, std::vector<BatchEntryPlan> entries, bool hide)
    : campaign_(campaign), host_(host), entries_(entries.begin(), entries.end()), hide_(hide)
{}

void BatchRun::RunNextEntry()
{
    campaign_.SetHideOnExecution(hide_);
    while (!entries_.empty()) {
        campaign_.SetBatchMode(true);
        // An entry whose project does not open is skipped: running the project still loaded
        // would write its report under this entry's name.
        if (!host_.OpenProject(entries_.front().projectPath)) {
            failed_ = true;
            entries_.pop_front();
            continue;
        }
        host_.WriteTempInterface();
        StartEntry();
        return;
    }
    campaign_.SetBatchMode(false);
    host_.Quit(failed_ ? 1 : 0);
}

void BatchRun::StartEntry()
{
    const BatchEntryPlan& entry = entries_.front();
    campaign_.SetProjectFolder(host_.ProjectFolder());
    RunRequest request;
    request.groups = BuildBatchRunList(host_.Outline(), host_.RunConfigurations(), entry.configuration);
    request.loop = entry.repeat > 1;
    request.loopCount = entry.repeat;
    request.stopAtFirstNok = campaign_.StopAtFirstNok();
    request.backProgram = entry.program;
    request.backProgramParam = entry.programParam;
    reportVersion_ = campaign_.VersionIndex();
    if (!entry.version.empty()) {
        // A version name, or its index written in decimal; one that names no version records nothing.
        const std::optional<int> index = BatchVersionIndex(entry.version, host_.VersionNames());
        campaign_.SetVersion(index.value_or(campaign_.VersionIndex()), index.has_value());
        reportVersion_ = index.value_or(-1);
    }
    if (request.groups.empty()) {
        // Nothing to run would post no step, and the batch would never go on.
        EntryDone();
        return;
    }
    campaign_.Start(std::move(request));
}

void BatchRun::EntryDone()
{
    if (entries_.empty())
        return;
    const BatchEntryPlan entry = std::move(entries_.front());
    entries_.pop_front();
    if (!entry.report.empty()) {
        host_.WriteResultsFile();
        const ReportWriterKind kind = ChooseBatchReportWriter(entry.report);
        if (kind != ReportWriterKind::None)
            host_.WriteReport(entry.report, kind, reportVersion_);
    }
    RunNextEntry();
}

}  // namespace zov::shell

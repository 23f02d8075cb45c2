#pragma once
// The unattended run of a batch file: each entry's project is opened and its named run
// configuration run as a campaign; at the entry's end the results file and the report are
// written, and the next entry follows; after the last the program quits.

#include "ide/shell/core/CampaignRun.h"
#include "ide/shell/core/ReportChoice.h"
#include "ide/shell/core/RunPlan.h"

#include <deque>
#include <string>
#include <vector>

namespace zov::shell {

struct BatchEntryPlan {
    std::string projectPath;    // Filename
    std::string configuration;  // Name
    std::string version;
    std::string report;
    int repeat = 0;
    std::string program;
    std::string programParam;
};

class BatchHost {
public:
    virtual ~BatchHost() = default;
    // Opens the project as the Open command does; false when it could not be opened.
    virtual bool OpenProject(const std::string& path) = 0;
    virtual void WriteTempInterface() = 0;
    virtual ProjectOutline Outline() = 0;
    virtual std::vector<std::string> RunConfigurations() = 0;
    virtual std::vector<std::string> VersionNames() = 0;
    virtual std::string ProjectFolder() = 0;
    virtual void WriteResultsFile() = 0;
    virtual void WriteReport(const std::string& path, ReportWriterKind kind, int versionIndex) = 0;
    virtual void Quit(int status) = 0;
};

class BatchRun {
public:
    BatchRun(CampaignRun& campaign, BatchHost& host, std::vector<BatchEntryPlan> entries, bool hide);

    // The start-up timer's call; also what the campaign's end of an entry leads to.
    void RunNextEntry();
    // The campaign host forwards CampaignHost::BatchEntryDone here.
    void EntryDone();

    std::size_t EntriesLeft() const { return entries_.size(); }

private:
    void StartEntry();

    CampaignRun& campaign_;
    BatchHost& host_;
    std::deque<BatchEntryPlan> entries_;
    bool hide_ = false;
    int reportVersion_ = -1;
    bool failed_ = false;
};

}  // namespace zov::shell

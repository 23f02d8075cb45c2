#pragma once
// "Lancer..." (Ctrl+F5): refuses while a campaign runs, opens the run dialog for the selected tree
// item, saves what the run needs and sets the campaign up.

#include "ide/shell/core/CampaignRun.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/RunPlan.h"

#include <optional>
#include <string>
#include <utility>

namespace zov::shell {

class RunCommandHost {
public:
    virtual ~RunCommandHost() = default;
    // The kind of the campaign tree's selected item; nullopt when none is selected.
    virtual std::optional<RunRootKind> SelectedRunRoot() = 0;
    virtual void WriteTempInterface() = 0;
    // Name and information of the version at that index.
    virtual std::pair<std::string, std::string> Version(int index) = 0;
    // The run dialog for the item, preset from the last run; the run it decided (its groups built
    // with BuildRunList, tests left out already unselected), or nullopt unless OK or "Vérifier".
    virtual std::optional<RunRequest> RunDialog(RunRootKind root, const std::string& versionText,
                                                const RunRequest& presets) = 0;
    virtual void SaveAllDocuments() = 0;
    virtual void CloseScriptsWithoutBreakpoints() = 0;
    virtual void SaveInterfacesAndProject() = 0;
};

void RunCampaignCommand(CampaignRun& campaign, RunCommandHost& host, Prompter& prompter);

}  // namespace zov::shell

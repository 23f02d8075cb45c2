#include "ide/shell/core/RunCommand.h"

namespace zov::shell {

void RunCampaignCommand(CampaignRun& campaign, RunCommandHost& host, Prompter& prompter)
{
    if (const auto refusal = campaign.RefusalToStart()) {
        prompter.Tell(*refusal, PromptIcon::Warning);
        return;
    }
    const std::optional<RunRootKind> root = host.SelectedRunRoot();
    if (!root)
        return;
    host.WriteTempInterface();
    std::string versionText;
    if (campaign.VersionIndex() >= 0) {
        const auto [name, info] = host.Version(campaign.VersionIndex());
        versionText = RunDialogVersionText(name, info);
    }
    std::optional<RunRequest> request = host.RunDialog(*root, versionText, campaign.Presets());
    if (!request)
        return;
    host.SaveAllDocuments();
    host.CloseScriptsWithoutBreakpoints();
    if (*root == RunRootKind::Project)
        host.SaveInterfacesAndProject();
    campaign.Start(std::move(*request));
}

}  // namespace zov::shell

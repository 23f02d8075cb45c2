#pragma once
// Which tests a campaign run takes: from the run dialog's choice for the selected tree item, or
// from a batch entry's named run configuration. The project is seen through a plain outline so
// that the rules need neither the project model nor a window.

#include "ide/shell/core/CampaignRun.h"

#include <optional>
#include <string>
#include <vector>

namespace zov::shell {

struct OutlineSet {
    CampaignGroup group;  // every test of the set, in project order
};
struct OutlineCampaign {
    int id = 0;
    std::vector<OutlineSet> sets;
};
struct ProjectOutline {
    std::vector<OutlineCampaign> campaigns;
};

// The tree item the run starts from.
enum class RunRootKind { Project = -1, Campaign = 0, TestSet = 1, Test = 2 };
struct RunRoot {
    RunRootKind kind = RunRootKind::Project;
    int campaign = 0;  // index, for a campaign, a test set or a test
    int set = 0;       // index, for a test set or a test
    int test = 0;      // index in its set, for a test
};

// The run list for the dialog's choice: flags[i] != 0 chooses the i-th item the dialog listed
// (campaigns of the project, test sets of a campaign, tests of a set; a test lists its set's
// tests). `unselected` gets the keys of a set's tests left out, whose selected flag goes down.
RunList BuildRunList(const ProjectOutline& outline, const RunRoot& root, const std::vector<unsigned>& flags,
                     std::vector<int>* unselected = nullptr);

// The campaign ids a run configuration names: among "name=value" strings, the first whose part
// before the first "=" equals name; its value split at ";" into integers, the text after the last
// ";" ignored ("3;1;x" gives 3 and 1). nullopt when no configuration has that name.
std::optional<std::vector<int>> ConfigurationCampaignIds(const std::vector<std::string>& configurations,
                                                         const std::string& name);

// A batch entry's run list: every campaign for an empty name; else the listed campaigns, in
// project order; an unknown name gives none.
RunList BuildBatchRunList(const ProjectOutline& outline, const std::vector<std::string>& configurations,
                          const std::string& name);

// A batch entry's Version: decimal text naming an existing index is that index, anything else the
// exact name of a version.
// nullopt (no recording) when it names none of them.
std::optional<int> BatchVersionIndex(const std::string& version, const std::vector<std::string>& versionNames);

}  // namespace zov::shell

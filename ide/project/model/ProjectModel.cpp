#include "ide/project/model/ProjectModel.h"

#include "common/PathUtils.h"
#include "common/TextCodec.h"
#include "ide/project/model/ProjectTexts.h"

#include <algorithm>

namespace zov::project {

// Lookups by id and by upper-cased name, so that reports, imports and the file writers stay linear
// on large projects. Each name maps to its records in tree order, so "the first match" is kept.
struct ProjectModel::Indexes {
    struct TestSetEntry {
        const CCampaign* campaign;
        CTestSet* testSet;
    };
    struct TestEntry {
        const CCampaign* campaign;
        const CTestSet* testSet;
        CTest* test;
    };
    std::unordered_map<std::uint32_t, CTestSet*> testSetsById;
    std::unordered_map<std::uint32_t, CTest*> testsById;
    std::unordered_map<std::string, std::vector<TestSetEntry>> testSetsByName;
    std::unordered_map<std::string, std::vector<TestEntry>> testsByName;
    std::unordered_map<const CCampaign*, std::string> campaignNames;
};

namespace {

template <typename T>
void InsertAt(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item, int position, int index)
{
    if (position == kAddAtFront) {
        list.insert(list.begin(), std::move(item));
    } else if (position == kAddBeforeIndex && index >= 0 && static_cast<size_t>(index) < list.size()) {
        list.insert(list.begin() + index, std::move(item));
    } else {
        list.push_back(std::move(item));
    }
}

template <typename T>
std::unique_ptr<T> TakeOut(std::vector<std::unique_ptr<T>>& list, const T* item)
{
    const auto found = std::find_if(list.begin(), list.end(), [item](const auto& p) { return p.get() == item; });
    if (!item || found == list.end()) {
        return nullptr;
    }
    std::unique_ptr<T> taken = std::move(*found);
    list.erase(found);
    return taken;
}

}  // namespace

std::string UpperCaseName(std::string_view name)
{
    std::string upper;
    upper.reserve(name.size());
    for (size_t pos = 0; pos < name.size();) {
        char32_t c = NextChar(name, pos);
        if (c >= U'a' && c <= U'z') {
            c -= 0x20;
        } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
            c -= 0x20;  // Latin-1 letters: é gives É
        } else if (c == 0xFF) {
            c = 0x178;  // the Windows-1252 letters beyond Latin-1: ÿ š œ ž
        } else if (c == 0x161 || c == 0x153 || c == 0x17E) {
            c -= 1;
        }
        AppendUtf8(upper, c);
    }
    return upper;
}

std::string InterfaceDisplayName(std::string_view path)
{
    const size_t separator = path.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const size_t extension = name.find(".qzi");
    if (extension != std::string_view::npos) {
        name = name.substr(0, extension);
    }
    return std::string(name);
}

CCsvImportSettings::CCsvImportSettings(int columnCount)
    : Columns(static_cast<size_t>(columnCount), 0),
      ExportColumns(static_cast<size_t>(columnCount), 0),
      Headers(static_cast<size_t>(columnCount))
{}

ProjectModel::ProjectModel() = default;
ProjectModel::ProjectModel(ProjectModel&&) noexcept = default;
ProjectModel& ProjectModel::operator=(ProjectModel&&) noexcept = default;
ProjectModel::~ProjectModel() = default;

void ProjectModel::ResetCsvBlock(CCsvImportSettings& settings, const shell::Translate& translate)
{
    const bool requirements = &settings == &RequirementCsvSettings;
    const int count = settings.ColumnCount();
    for (int i = 0; i < count; ++i) {
        settings.Columns[static_cast<size_t>(i)] = i + 1;
        settings.ExportColumns[static_cast<size_t>(i)] = i + 1;
        settings.Headers[static_cast<size_t>(i)] =
            translate(requirements ? texts::kRequirementHeaders[i] : texts::kFactHeaders[i]);
    }
    settings.HasHeader = 0;
    settings.OkLabel = translate(texts::kOkLabel);
    settings.NokLabel = translate(texts::kNokLabel);
    settings.UntestedLabel = translate(texts::kUntestedLabel);
}

void ProjectModel::NewProject(const std::string& name, const std::string& folder, const std::string& interfacePath,
                              const shell::Translate& translate)
{
    ClearProject();
    InsertedInterfaces.clear();
    Name = name;
    Directory = folder;
    InterfacePath = interfacePath.empty() ? std::string() : MakeAbsolutePath(folder, interfacePath);
    FilePath = folder + "/" + name + ".qzp";
    NextTestId = NextTestSetId = NextCampaignId = 1;
    // A new project owes nothing to the one before it: no Data pairs, no export paths, the default
    // CSV dialect.
    DataNames.clear();
    DataValues.clear();
    m_requirementsExportFile.clear();
    m_factsExportFile.clear();
    for (CCsvImportSettings* settings : {&RequirementCsvSettings, &FactCsvSettings}) {
        ResetCsvBlock(*settings, translate);
        settings->Separator = ';';
        settings->TextQualifier = 0;
        settings->FirstLine = 0;
        settings->OneLine = 0;
    }
    RequirementsChanged = FactsChanged = 0;
}

void ProjectModel::ResetCsvSettings(const shell::Translate& translate)
{
    ClearRequirementsFile();
    ClearFactsFile();
    for (CCsvImportSettings* settings : {&RequirementCsvSettings, &FactCsvSettings}) {
        ResetCsvBlock(*settings, translate);
        settings->OneLine = 1;
    }
}

void ProjectModel::ClearProject()
{
    ClearRequirementsFile();
    ClearFactsFile();
    Campaigns.clear();
    m_results.clear();
    m_resultIndex.clear();
    InsertedInterfaces.clear();
    InterfaceConfigs.clear();
    RunConfigs.clear();
    Versions.clear();
    Name.clear();
    InterfacePath.clear();
    Text.clear();
    TreeChanged();
}

void ProjectModel::ClearRequirementsFile()
{
    Requirements.clear();
    m_requirementsFile.clear();
}

void ProjectModel::ClearFactsFile()
{
    TechFacts.clear();
    m_factsFile.clear();
}

CCampaign* ProjectModel::AddCampaign(const std::string& name, int position, int index, void* treeItem)
{
    auto campaign = std::make_unique<CCampaign>();
    campaign->Name = name;
    campaign->TreeItem = treeItem;
    campaign->Id = NextCampaignId++;
    CCampaign* added = campaign.get();
    InsertAt(Campaigns, std::move(campaign), position, index);
    TreeChanged();
    return added;
}

CTestSet* ProjectModel::AddTestSet(CCampaign& campaign, const std::string& name, int position, int index, int mode,
                                   int depends, void* treeItem)
{
    auto testSet = std::make_unique<CTestSet>();
    testSet->Name = name;
    testSet->Mode = mode;
    testSet->Depends = depends;
    testSet->TreeItem = treeItem;
    testSet->Campaign = &campaign;
    testSet->Id = NextTestSetId++;
    CTestSet* added = testSet.get();
    InsertAt(campaign.TestSets, std::move(testSet), position, index);
    TreeChanged();
    return added;
}

CTest* ProjectModel::AddTest(CTestSet& testSet, const std::string& file, const std::string& name, int position,
                             int index, void* treeItem, int background)
{
    auto test = std::make_unique<CTest>();
    test->Name = name;
    test->File = file;
    test->Background = background != 0 ? 1 : 0;
    test->TreeItem = treeItem;
    test->TestSet = &testSet;
    test->Id = NextTestId++;
    EnsureResultList(test->Id);
    CTest* added = test.get();
    InsertAt(testSet.Tests, std::move(test), position, index);
    TreeChanged();
    return added;
}

std::unique_ptr<CTest> ProjectModel::CopyTest(const CTest& source)
{
    auto copy = std::make_unique<CTest>();
    copy->Name = source.Name;
    copy->File = source.File;
    copy->Params = source.Params;
    copy->Background = source.Background;
    copy->RunMark = source.RunMark;
    copy->WorkRecords = source.WorkRecords;
    copy->Id = NextTestId++;
    EnsureResultList(copy->Id);
    return copy;
}

std::unique_ptr<CTestSet> ProjectModel::CopyTestSet(const CTestSet& source)
{
    auto copy = std::make_unique<CTestSet>();
    copy->Name = source.Name;
    copy->WorkText = source.WorkText;
    copy->Text = source.Text;
    copy->Params = source.Params;
    copy->Mode = source.Mode;
    copy->Depends = source.Depends;
    copy->Id = NextTestSetId++;
    for (const auto& test : source.Tests) {
        auto testCopy = CopyTest(*test);
        testCopy->TestSet = copy.get();
        copy->Tests.push_back(std::move(testCopy));
    }
    return copy;
}

std::unique_ptr<CTest> ProjectModel::RemoveTest(CTestSet& testSet, const CTest* test)
{
    auto taken = TakeOut(testSet.Tests, test);
    if (taken) {
        TreeChanged();
    }
    return taken;
}

std::unique_ptr<CCampaign> ProjectModel::RemoveCampaign(const CCampaign* campaign)
{
    auto taken = TakeOut(Campaigns, campaign);
    if (taken) {
        TreeChanged();
    }
    return taken;
}

std::unique_ptr<CTestSet> ProjectModel::RemoveTestSet(const CTestSet* testSet)
{
    for (auto& campaign : Campaigns) {
        if (auto taken = TakeOut(campaign->TestSets, testSet)) {
            TreeChanged();
            return taken;
        }
    }
    return nullptr;
}

const ProjectModel::Indexes& ProjectModel::Index() const
{
    if (m_indexValid && m_index) {
        return *m_index;
    }
    auto index = std::make_unique<Indexes>();
    for (const auto& campaign : Campaigns) {
        index->campaignNames.emplace(campaign.get(), UpperCaseName(campaign->Name));
        for (const auto& testSet : campaign->TestSets) {
            index->testSetsById.emplace(testSet->Id, testSet.get());
            index->testSetsByName[UpperCaseName(testSet->Name)].push_back({campaign.get(), testSet.get()});
            for (const auto& test : testSet->Tests) {
                index->testsById.emplace(test->Id, test.get());
                index->testsByName[UpperCaseName(test->Name)].push_back({campaign.get(), testSet.get(), test.get()});
            }
        }
    }
    m_index = std::move(index);
    m_indexValid = true;
    return *m_index;
}

CTestSet* ProjectModel::FindTestSetById(std::uint32_t id) const
{
    const auto& byId = Index().testSetsById;
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

CTest* ProjectModel::FindTestById(std::uint32_t id) const
{
    const auto& byId = Index().testsById;
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

std::string ProjectModel::GetTestFileById(std::uint32_t id) const
{
    const CTest* test = FindTestById(id);
    return test ? test->File : std::string();
}

std::uint32_t ProjectModel::FindTestSetByPath(std::string_view path) const
{
    std::string campaignName;
    std::string_view testSetName = path;
    if (const size_t slash = path.find('/'); slash != std::string_view::npos) {
        campaignName = UpperCaseName(path.substr(0, slash));
        testSetName = path.substr(slash + 1);
    }
    const Indexes& index = Index();
    const auto found = index.testSetsByName.find(UpperCaseName(testSetName));
    if (found == index.testSetsByName.end()) {
        return 0;
    }
    for (const auto& entry : found->second) {
        if (campaignName.empty() || index.campaignNames.at(entry.campaign) == campaignName) {
            return entry.testSet->Id;
        }
    }
    return 0;
}

std::uint32_t ProjectModel::FindTestByPath(std::string_view path) const
{
    std::string campaignName;
    std::string testSetName;
    std::string_view testName = path;
    if (const size_t slash = path.find('/'); slash != std::string_view::npos) {
        campaignName = UpperCaseName(path.substr(0, slash));
        const std::string_view rest = path.substr(slash + 1);
        testName = {};
        if (const size_t second = rest.find('/'); second != std::string_view::npos) {
            testSetName = UpperCaseName(rest.substr(0, second));
            testName = rest.substr(second + 1);
        }
    }
    const Indexes& index = Index();
    const auto found = index.testsByName.find(UpperCaseName(testName));
    if (found == index.testsByName.end()) {
        return 0;
    }
    for (const auto& entry : found->second) {
        if (!campaignName.empty() && index.campaignNames.at(entry.campaign) != campaignName) {
            continue;
        }
        if (!testSetName.empty() && UpperCaseName(entry.testSet->Name) != testSetName) {
            continue;
        }
        return entry.test->Id;
    }
    return 0;
}

CTestResultList* ProjectModel::ResultListOf(std::uint32_t testId) const
{
    const auto found = m_resultIndex.find(testId);
    return found == m_resultIndex.end() ? nullptr : found->second;
}

CTestResultList& ProjectModel::ResultListFor(std::uint32_t testId)
{
    if (CTestResultList* list = ResultListOf(testId)) {
        return *list;
    }
    auto list = std::make_unique<CTestResultList>();
    list->TestId = testId;
    CTestResultList& added = *list;
    m_results.push_back(std::move(list));
    m_resultIndex.emplace(testId, &added);
    return added;
}

void ProjectModel::EnsureResultList(std::uint32_t testId)
{
    ResultListFor(testId);
}

void ProjectModel::RemoveResultList(std::uint32_t testId)
{
    CTestResultList* list = ResultListOf(testId);
    if (!list) {
        return;
    }
    m_resultIndex.erase(testId);
    m_results.erase(
        std::find_if(m_results.begin(), m_results.end(), [list](const auto& p) { return p.get() == list; }));
}

void ProjectModel::SetResult(std::uint32_t versionId, std::uint32_t testId, int value, const std::string& info,
                             std::time_t startTime, std::int64_t duration)
{
    CTestResultList& list = ResultListFor(testId);
    CTestResult* result = nullptr;
    for (const auto& existing : list.Results) {
        if (existing->VersionId == versionId) {
            result = existing.get();
            break;
        }
    }
    if (!result) {
        list.Results.push_back(std::make_unique<CTestResult>());
        result = list.Results.back().get();
        result->VersionId = versionId;
    }
    result->Value = value;
    result->Info = info;
    result->StartTime = startTime;
    result->Duration = duration;
}

const CTestResultList* ProjectModel::FindResultList(std::uint32_t testId) const
{
    return ResultListOf(testId);
}

const CTestResult* ProjectModel::FindResult(std::uint32_t testId, std::uint32_t versionId) const
{
    const CTestResultList* list = ResultListOf(testId);
    if (!list) {
        return nullptr;
    }
    for (const auto& result : list->Results) {
        if (result->VersionId == versionId) {
            return result.get();
        }
    }
    return nullptr;
}

void ProjectModel::ClearAllResults()
{
    for (auto& list : m_results) {
        list->Results.clear();
    }
}

void ProjectModel::ClearVersionResults(const std::vector<std::uint32_t>& versionIds)
{
    for (const std::uint32_t versionId : versionIds) {
        for (auto& list : m_results) {
            auto& results = list->Results;
            const auto found = std::find_if(results.begin(), results.end(),
                                            [versionId](const auto& r) { return r->VersionId == versionId; });
            if (found != results.end()) {
                results.erase(found);
            }
        }
    }
}

void ProjectModel::RemoveVersionResults(const std::vector<std::uint32_t>& versionIds)
{
    // Lists that end up empty go, including those that were empty before.
    ClearVersionResults(versionIds);
    if (versionIds.empty()) {
        return;
    }
    std::erase_if(m_results, [this](const std::unique_ptr<CTestResultList>& list) {
        if (!list->Results.empty()) {
            return false;
        }
        m_resultIndex.erase(list->TestId);
        return true;
    });
}

std::string ProjectModel::GetVersionName(std::uint32_t versionId) const
{
    for (const auto& version : Versions) {
        if (version->Id == versionId) {
            return version->Name;
        }
    }
    return {};
}

int ProjectModel::RequirementCoversTest(const CRequirement& requirement, const CTest& test) const
{
    for (const CItemLink& link : requirement.Links) {
        if (link.Kind == kLinkTest) {
            if (link.Id == test.Id) {
                return 1;
            }
        } else if (link.Kind == kLinkTestSet) {
            // A link to a test set that no longer exists covers nothing.
            if (const CTestSet* testSet = FindTestSetById(link.Id)) {
                for (const auto& member : testSet->Tests) {
                    if (member.get() == &test) {
                        return 1;
                    }
                }
            }
        }
    }
    return 0;
}

std::string ProjectModel::GetInterfaceName() const
{
    return InterfaceDisplayName(InterfacePath);
}

std::string ProjectModel::GetInsertedInterfaceName(std::size_t index) const
{
    return index < InsertedInterfaces.size() ? InterfaceDisplayName(InsertedInterfaces[index]) : std::string();
}

}  // namespace zov::project

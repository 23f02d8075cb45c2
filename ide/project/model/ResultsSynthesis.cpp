#include "ide/project/model/ResultsSynthesis.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace zov::project {
namespace {

constexpr const char* kTestFilters[] = {"Résultat globale des tests", "Tests OK",       "Tests NOK",
                                        "Tests non effectués",        "Tests corrigés", "Tests en régressions"};
constexpr const char* kRequirementFilters[] = {"Résultat globale des exigences", "Exigences OK", "Exigences NOK",
                                               "Exigences non testées", "Relation exigence / faits techniques"};
constexpr const char* kFactFilters[] = {"Résultat globale des faits techniques", "Faits techniques OK",
                                        "Faits techniques NOK", "Faits techniques non testés",
                                        "Relation fait technique / exigences"};
constexpr int kRelationFilter = 4;
constexpr const char* kNoResult = "...";
constexpr const char* kOtherResult = "?";

// A version with no result, in the per-point value tables of the graph.
constexpr int kNone = INT_MIN;

enum class Status { Ok, Failed, Untested };

}  // namespace

int ChooseAxisStep(int count)
{
    if (count < 100) {
        return 10;
    }
    if (count < 1000) {
        return 100;
    }
    if (count < 10000) {
        return 1000;
    }
    return count;
}

SynthesisAxis AxisForCount(int count)
{
    const int step = ChooseAxisStep(count);
    const int steps = count <= 0 ? 0 : (count + step - 1) / step;
    return {steps >= 11 ? 10 : steps, steps * step};
}

std::string FormatSynthesisTime(std::time_t time)
{
    std::tm local{};
    if (!::localtime_r(&time, &local)) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string FormatSynthesisDuration(std::int64_t seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>((seconds / 3600) % 24),
                  static_cast<long long>((seconds / 60) % 60), static_cast<long long>(seconds % 60));
    return text;
}

ResultsSynthesis::ResultsSynthesis(const ProjectModel& project, shell::Translate translate)
    : m_project(project), m_translate(std::move(translate))
{
    for (const auto& campaign : project.Campaigns) {
        for (const auto& set : campaign->TestSets) {
            m_testTotal += static_cast<int>(set->Tests.size());
        }
    }
    // The link rule: a test link stands for its test, a set link for every test of the set;
    // facts see their test links only. Links to records that are gone count for nothing.
    const auto resolve = [&project](const std::string& id, const std::vector<CItemLink>& links, bool withSets) {
        Item item{&id, &links, {}, false};
        for (const CItemLink& link : links) {
            if (link.Kind == kLinkTest) {
                if (const CTest* test = project.FindTestById(link.Id)) {
                    item.tests.push_back({test, nullptr});
                    item.hasLinks = true;
                }
            } else if (link.Kind == kLinkTestSet && withSets) {
                if (const CTestSet* set = project.FindTestSetById(link.Id)) {
                    for (const auto& test : set->Tests) {
                        item.tests.push_back({test.get(), set});
                    }
                    item.hasLinks = true;
                }
            }
        }
        return item;
    };
    for (const auto& requirement : project.Requirements) {
        m_requirements.push_back(resolve(requirement->ID, requirement->Links, true));
    }
    for (const auto& fact : project.TechFacts) {
        m_facts.push_back(resolve(fact->ID, fact->Links, false));
    }
    const auto index = [](std::vector<Item>& items, auto& byTest) {
        for (const Item& item : items) {
            for (const ItemTest& entry : item.tests) {
                auto& list = byTest[entry.test->Id];
                if (std::find(list.begin(), list.end(), &item) == list.end()) {
                    list.push_back(&item);
                }
            }
        }
    };
    index(m_facts, m_factsOfTest);
    index(m_requirements, m_requirementsOfTest);
}

std::vector<std::pair<std::string, int>> ResultsSynthesis::TypeEntries() const
{
    std::vector<std::pair<std::string, int>> entries{{m_translate("Tests"), kSynthesisTests}};
    if (!m_project.Requirements.empty()) {
        entries.emplace_back(m_translate("Exigences"), kSynthesisRequirements);
    }
    if (!m_project.TechFacts.empty()) {
        entries.emplace_back(m_translate("Faits techniques"), kSynthesisFacts);
    }
    return entries;
}

std::vector<std::string> ResultsSynthesis::FilterEntries(int type, bool listMode) const
{
    std::vector<std::string> entries;
    if (type == kSynthesisTests) {
        for (const char* text : kTestFilters) {
            entries.push_back(m_translate(text));
        }
        return entries;
    }
    const bool requirements = type == kSynthesisRequirements;
    const auto& texts = requirements ? kRequirementFilters : kFactFilters;
    for (int i = 0; i < kRelationFilter; ++i) {
        entries.push_back(m_translate(texts[i]));
    }
    const bool otherKind = requirements ? !m_project.TechFacts.empty() : !m_project.Requirements.empty();
    if (otherKind && listMode) {
        entries.push_back(m_translate(texts[kRelationFilter]));
    }
    return entries;
}

SynthesisAxis ResultsSynthesis::Axis(int type) const
{
    switch (type) {
    case kSynthesisRequirements:
        return AxisForCount(static_cast<int>(m_project.Requirements.size()));
    case kSynthesisFacts:
        return AxisForCount(static_cast<int>(m_project.TechFacts.size()));
    default:
        return AxisForCount(m_testTotal);
    }
}

const CTestResult* ResultsSynthesis::ResultOf(const CTest& test, std::uint32_t versionId) const
{
    return m_project.FindResult(test.Id, versionId);
}

void ResultsSynthesis::ResultCells(SynthesisRow& row, const CTestResult& result) const
{
    if (result.Value == 0) {
        row.Result = m_translate("NOK");
        row.Code = kRowNok;
    } else if (result.Value == 1) {
        row.Result = m_translate("OK");
    }
    row.Date = FormatSynthesisTime(result.StartTime);
    if (result.Value == 1) {
        row.Duration = FormatSynthesisDuration(result.Duration);
    }
}

std::vector<SynthesisRow> ResultsSynthesis::Rows(int type, int filter, size_t versionIndex) const
{
    std::vector<SynthesisRow> rows;
    if (versionIndex >= m_project.Versions.size()) {
        return rows;
    }
    if (type == kSynthesisTests) {
        TestRows(filter, versionIndex, rows);
    } else {
        ItemRows(type, filter, m_project.Versions[versionIndex]->Id, rows);
    }
    return rows;
}

void ResultsSynthesis::TestRows(int filter, size_t versionIndex, std::vector<SynthesisRow>& rows) const
{
    const std::uint32_t versionId = m_project.Versions[versionIndex]->Id;
    if ((filter == 4 || filter == 5) && versionIndex == 0) {
        return;
    }
    const std::uint32_t previousId = versionIndex > 0 ? m_project.Versions[versionIndex - 1]->Id : 0;
    for (const auto& campaign : m_project.Campaigns) {
        bool campaignShown = false;
        if (filter == 0) {
            rows.push_back({campaign->Name, {}, {}, {}, kRowOk});
            campaignShown = true;
        }
        for (const auto& set : campaign->TestSets) {
            bool setShown = false;
            if (filter == 0) {
                rows.push_back({"  " + set->Name, {}, {}, {}, kRowTestSet});
                setShown = true;
            }
            for (const auto& test : set->Tests) {
                const CTestResult* result = ResultOf(*test, versionId);
                bool listed = false;
                switch (filter) {
                case 0:
                    listed = true;
                    break;
                case 1:
                    listed = result && result->Value == 1;
                    break;
                case 2:
                    listed = result && result->Value == 0;
                    break;
                case 3:
                    listed = !result;
                    break;
                case 4:
                case 5: {
                    const CTestResult* previous = ResultOf(*test, previousId);
                    const int before = filter == 4 ? 0 : 1;
                    listed = previous && previous->Value == before && result && result->Value == 1 - before;
                    break;
                }
                default:
                    break;
                }
                if (!listed) {
                    continue;
                }
                if (!campaignShown) {
                    rows.push_back({campaign->Name, {}, {}, {}, kRowOk});
                    campaignShown = true;
                }
                if (!setShown) {
                    rows.push_back({"  " + set->Name, {}, {}, {}, kRowTestSet});
                    setShown = true;
                }
                SynthesisRow row{"    " + test->Name, {}, {}, {}, kRowPlain};
                if (result && filter != 3) {
                    ResultCells(row, *result);
                }
                rows.push_back(std::move(row));
            }
        }
    }
}

void ResultsSynthesis::ItemRows(int type, int filter, std::uint32_t versionId, std::vector<SynthesisRow>& rows) const
{
    for (const Item& item : ItemsOf(type)) {
        if (filter == 0) {
            GlobalItemRows(type, item, versionId, rows);
        } else if (filter == kRelationFilter) {
            if (type == kSynthesisRequirements) {
                RequirementFactRows(item, versionId, rows);
            } else {
                FactRequirementRows(item, versionId, rows);
            }
        } else if (filter >= 1 && filter <= 3) {
            FilteredItemRows(type, filter, item, versionId, rows);
        }
    }
}

void ResultsSynthesis::GlobalItemRows(int type, const Item& item, std::uint32_t versionId,
                                      std::vector<SynthesisRow>& rows) const
{
    const size_t header = rows.size();
    rows.push_back({*item.id, {}, {}, {}, kRowOk});
    bool anyTested = false;
    bool anyFailing = false;
    const auto note = [&](const CTestResult* result) {
        anyTested = anyTested || (result && (result->Value == 0 || result->Value == 1));
        anyFailing = anyFailing || !result || result->Value == 0;
    };
    const auto resultText = [this](SynthesisRow& row, const CTestResult* result) {
        if (!result) {
            row.Result = kNoResult;
        } else if (result->Value == 1) {
            row.Result = m_translate("OK");
        } else if (result->Value == 0) {
            row.Result = m_translate("NOK");
            row.Code = kRowNok;
        }
    };
    for (const CItemLink& link : *item.links) {
        if (link.Kind == kLinkTest) {
            const CTest* test = m_project.FindTestById(link.Id);
            if (!test) {
                continue;
            }
            const CTestResult* result = ResultOf(*test, versionId);
            SynthesisRow row{"  " + test->Name, {}, {}, {}, kRowPlain};
            resultText(row, result);
            rows.push_back(std::move(row));
            note(result);
        } else if (link.Kind == kLinkTestSet && type == kSynthesisRequirements) {
            const CTestSet* set = m_project.FindTestSetById(link.Id);
            if (!set) {
                continue;
            }
            rows.push_back({"  " + set->Name, {}, {}, {}, kRowTestSet});
            for (const auto& test : set->Tests) {
                const CTestResult* result = ResultOf(*test, versionId);
                SynthesisRow row{"    " + test->Name, {}, {}, {}, kRowPlain};
                resultText(row, result);
                if (result) {
                    row.Date = FormatSynthesisTime(result->StartTime);
                    if (result->Value == 1) {
                        row.Duration = FormatSynthesisDuration(result->Duration);
                    }
                }
                rows.push_back(std::move(row));
                note(result);
            }
        }
    }
    if (!item.hasLinks || !anyTested) {
        rows[header].Code = kRowUntested;
    } else if (anyFailing) {
        rows[header].Code = kRowFailed;
    }
}

void ResultsSynthesis::FilteredItemRows(int type, int filter, const Item& item, std::uint32_t versionId,
                                        std::vector<SynthesisRow>& rows) const
{
    const auto passes = [filter](const CTestResult* result) {
        switch (filter) {
        case 1:
            return result && result->Value == 1;
        case 2:
            return result && result->Value != 1;
        default:
            return !result;
        }
    };
    const int headerCode = filter == 1 ? kRowOk : filter == 2 ? kRowFailed : kRowUntested;
    std::vector<const CTestResult*> results;
    results.reserve(item.tests.size());
    bool anyPasses = false;
    bool allPass = !item.tests.empty();
    for (const ItemTest& entry : item.tests) {
        results.push_back(ResultOf(*entry.test, versionId));
        anyPasses = anyPasses || passes(results.back());
        allPass = allPass && passes(results.back());
    }
    // A fact is OK only when every one of its tests is; the other views list an item for any test.
    const bool listed = filter == 1 && type == kSynthesisFacts ? allPass : anyPasses;
    if (filter == 3 && !item.hasLinks) {
        rows.push_back({*item.id, {}, {}, {}, headerCode});
        return;
    }
    if (!listed) {
        return;
    }
    const auto testRow = [&](const CTest& test, const CTestResult* result, const char* indent) {
        SynthesisRow row{indent + test.Name, {}, {}, {}, kRowPlain};
        if (filter == 3) {
            row.Result = kNoResult;
        } else if (result->Value == 1) {
            row.Result = m_translate("OK");
            row.Date = FormatSynthesisTime(result->StartTime);
            row.Duration = FormatSynthesisDuration(result->Duration);
        } else if (result->Value == 0) {
            row.Result = m_translate("NOK");
            row.Code = kRowNok;
            row.Date = FormatSynthesisTime(result->StartTime);
            row.Duration = FormatSynthesisDuration(result->Duration);
        } else {
            row.Result = kOtherResult;
            row.Date = FormatSynthesisTime(result->StartTime);
        }
        return row;
    };

    if (type == kSynthesisFacts) {
        rows.push_back({*item.id, {}, {}, {}, headerCode});
        for (size_t i = 0; i < item.tests.size(); ++i) {
            if (passes(results[i])) {
                rows.push_back(testRow(*item.tests[i].test, results[i], "    "));
            }
        }
        return;
    }
    // Requirements keep their link structure: once the header is there, every further set link
    // shows its set, and the first listed test of a set brings the header and the set row.
    bool headerShown = false;
    size_t next = 0;
    for (const CItemLink& link : *item.links) {
        if (link.Kind == kLinkTest) {
            const CTest* test = m_project.FindTestById(link.Id);
            if (!test) {
                continue;
            }
            const CTestResult* result = results[next++];
            if (!passes(result)) {
                continue;
            }
            if (!headerShown) {
                rows.push_back({*item.id, {}, {}, {}, headerCode});
                headerShown = true;
            }
            rows.push_back(testRow(*test, result, "  "));
        } else if (link.Kind == kLinkTestSet) {
            const CTestSet* set = m_project.FindTestSetById(link.Id);
            if (!set) {
                continue;
            }
            if (headerShown) {
                rows.push_back({"  " + set->Name, {}, {}, {}, kRowTestSet});
            }
            for (const auto& test : set->Tests) {
                const CTestResult* result = results[next++];
                if (!passes(result)) {
                    continue;
                }
                if (!headerShown) {
                    rows.push_back({*item.id, {}, {}, {}, headerCode});
                    rows.push_back({"  " + set->Name, {}, {}, {}, kRowTestSet});
                    headerShown = true;
                }
                rows.push_back(testRow(*test, result, "    "));
            }
        }
    }
}

void ResultsSynthesis::RequirementFactRows(const Item& item, std::uint32_t versionId,
                                           std::vector<SynthesisRow>& rows) const
{
    size_t header = rows.size();
    bool headerShown = false;
    bool anyFailing = false;
    for (const ItemTest& entry : item.tests) {
        const auto found = m_factsOfTest.find(entry.test->Id);
        if (found == m_factsOfTest.end()) {
            continue;
        }
        const CTestResult* result = ResultOf(*entry.test, versionId);
        for (const Item* fact : found->second) {
            if (!headerShown) {
                header = rows.size();
                rows.push_back({*item.id, {}, {}, {}, kRowUntested});
                headerShown = true;
            }
            SynthesisRow row{"  " + *fact->id, {}, {}, {}, kRowPlain};
            if (result && result->Value == 1) {
                row.Result = m_translate("OK");
            } else if (result && result->Value == 0) {
                row.Result = m_translate("NOK");
                row.Code = kRowNok;
            }
            rows.push_back(std::move(row));
        }
        anyFailing = anyFailing || !result || result->Value == 0;
    }
    if (headerShown) {
        rows[header].Code = anyFailing ? kRowFailed : kRowOk;
    }
}

void ResultsSynthesis::FactRequirementRows(const Item& item, std::uint32_t versionId,
                                           std::vector<SynthesisRow>& rows) const
{
    size_t header = rows.size();
    bool headerShown = false;
    bool anyNotOk = false;
    for (const ItemTest& entry : item.tests) {
        const CTestResult* result = ResultOf(*entry.test, versionId);
        anyNotOk = anyNotOk || !result || result->Value != 1;
        const auto found = m_requirementsOfTest.find(entry.test->Id);
        if (found == m_requirementsOfTest.end()) {
            continue;
        }
        std::vector<const std::string*> shown;
        for (const Item* requirement : found->second) {
            if (std::any_of(shown.begin(), shown.end(),
                            [requirement](const std::string* id) { return *id == *requirement->id; })) {
                continue;
            }
            shown.push_back(requirement->id);
            if (!headerShown) {
                header = rows.size();
                rows.push_back({*item.id, {}, {}, {}, kRowOk});
                headerShown = true;
            }
            rows.push_back({"  " + *requirement->id, {}, {}, {}, kRowPlain});
        }
    }
    if (headerShown && anyNotOk) {
        rows[header].Code = kRowUntested;
    }
}

SynthesisGraph ResultsSynthesis::Graph(int type, int filter) const
{
    SynthesisGraph graph;
    graph.Axis = Axis(type);
    const auto& versions = m_project.Versions;
    const size_t count = versions.size();
    graph.FirstVersion = count > kMaxGraphPoints ? count - kMaxGraphPoints : 0;
    const size_t points = count - graph.FirstVersion;
    for (size_t i = graph.FirstVersion; i < count; ++i) {
        graph.Labels.push_back(versions[i]->Name);
    }
    // Slot 0 is the version before the first charted one (none for the first version).
    std::unordered_map<std::uint32_t, size_t> slotOfVersion;
    for (size_t i = graph.FirstVersion; i < count; ++i) {
        slotOfVersion.emplace(versions[i]->Id, i - graph.FirstVersion + 1);
    }
    if (graph.FirstVersion > 0) {
        slotOfVersion.emplace(versions[graph.FirstVersion - 1]->Id, 0);
    }
    const auto valuesOf = [&](const CTestResultList& list) {
        std::vector<int> values(points + 1, kNone);
        for (const auto& result : list.Results) {
            const auto slot = slotOfVersion.find(result->VersionId);
            if (slot != slotOfVersion.end() && values[slot->second] == kNone) {
                values[slot->second] = result->Value;
            }
        }
        return values;
    };
    const auto series = [&graph, points](std::initializer_list<std::uint32_t> colours) {
        for (const std::uint32_t colour : colours) {
            graph.Series.push_back({colour, std::vector<int>(points, 0)});
        }
    };

    if (type == kSynthesisTests) {
        if (filter < 0 || filter > 5) {
            return graph;
        }
        std::vector<int> ok(points, 0), nok(points, 0), none(points, 0), fixed(points, 0), broken(points, 0);
        for (const auto& list : m_project.Results()) {
            // Results of a test that is no longer in the project count nowhere.
            if (!m_project.FindTestById(list->TestId)) {
                continue;
            }
            const std::vector<int> values = valuesOf(*list);
            for (size_t p = 0; p < points; ++p) {
                const int value = values[p + 1];
                ok[p] += value == 1;
                nok[p] += value == 0;
                none[p] += value == kNone;
                const bool hasPrevious = graph.FirstVersion + p > 0;
                fixed[p] += hasPrevious && values[p] == 0 && value == 1;
                broken[p] += hasPrevious && values[p] == 1 && value == 0;
            }
        }
        switch (filter) {
        case 0:
            series({kSynthesisGreen, kSynthesisRed});
            for (size_t p = 0; p < points; ++p) {
                graph.Series[0].Values[p] = ok[p];
                graph.Series[1].Values[p] = ok[p] + nok[p];
            }
            break;
        case 1:
            series({kSynthesisGreen, kSynthesisRed});
            graph.Series[0].Values = ok;
            graph.Series[1].Values = ok;
            break;
        case 2:
            series({kSynthesisRed});
            graph.Series[0].Values = nok;
            break;
        case 3:
            series({kSynthesisGrey});
            graph.Series[0].Values = none;
            break;
        case 4:
            series({kSynthesisGreen});
            graph.Series[0].Values = fixed;
            break;
        case 5:
            series({kSynthesisRed});
            graph.Series[0].Values = broken;
            break;
        }
        return graph;
    }

    if (filter < 0 || filter > 3) {
        return graph;
    }
    // The values of each test met, per charted version, read once from its result list.
    std::unordered_map<std::uint32_t, std::vector<int>> testValues;
    const auto valuesOfTest = [&](const CTest& test) -> const std::vector<int>& {
        auto found = testValues.find(test.Id);
        if (found == testValues.end()) {
            const CTestResultList* list = m_project.FindResultList(test.Id);
            found = testValues.emplace(test.Id, list ? valuesOf(*list) : std::vector<int>(points + 1, kNone)).first;
        }
        return found->second;
    };
    std::vector<int> ok(points, 0), failed(points, 0), untested(points, 0);
    for (const Item& item : ItemsOf(type)) {
        std::vector<const std::vector<int>*> tests;
        for (const ItemTest& entry : item.tests) {
            tests.push_back(&valuesOfTest(*entry.test));
        }
        for (size_t p = 0; p < points; ++p) {
            Status status = item.hasLinks ? Status::Ok : Status::Untested;
            for (const std::vector<int>* values : tests) {
                if (status != Status::Ok) {
                    break;
                }
                const int value = (*values)[p + 1];
                status = value == kNone ? Status::Untested : value == 0 ? Status::Failed : Status::Ok;
            }
            ok[p] += status == Status::Ok;
            failed[p] += status == Status::Failed;
            untested[p] += status == Status::Untested;
        }
    }
    switch (filter) {
    case 0:
        series({kSynthesisGreen, kSynthesisRed});
        for (size_t p = 0; p < points; ++p) {
            graph.Series[0].Values[p] = ok[p];
            graph.Series[1].Values[p] = ok[p] + failed[p];
        }
        break;
    case 1:
        series({kSynthesisGreen, kSynthesisRed});
        graph.Series[0].Values = ok;
        graph.Series[1].Values = ok;
        break;
    case 2:
        series({kSynthesisGreen, kSynthesisRed});
        graph.Series[1].Values = failed;
        break;
    case 3:
        series({kSynthesisGrey});
        graph.Series[0].Values = untested;
        break;
    }
    return graph;
}

}  // namespace zov::project

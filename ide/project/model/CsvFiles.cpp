#include "ide/project/model/CsvFiles.h"

#include "common/MessageText.h"
#include "common/AtomicFile.h"
#include "common/CsvFields.h"
#include "common/PathUtils.h"
#include "common/TextCodec.h"
#include "ide/project/model/ProjectTexts.h"

#include <algorithm>
#include <ctime>
#include <unordered_map>

namespace zov::project {
namespace {

// Logical columns of the two kinds of file.
constexpr size_t kIdColumn = 0;
constexpr size_t kTitleColumn = 1;
constexpr size_t kRequirementTextColumn = 2;
constexpr size_t kRequirementLinksColumn = 3;
constexpr size_t kFactLinksColumn = 2;
constexpr int kMaxPaddingFields = 256;

int ColumnOf(const CCsvImportSettings& settings, size_t logical)
{
    return logical < settings.Columns.size() ? settings.Columns[logical] : 0;
}

int LinksColumn(const CCsvImportSettings& settings, bool requirements)
{
    return ColumnOf(settings, requirements ? kRequirementLinksColumn : kFactLinksColumn);
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

std::string Message(const shell::Translate& translate, const char* text, const std::string& path)
{
    return FillMessage(translate(text), path);
}

void Warn(shell::Prompter& prompter, const shell::Translate& translate, const char* text, const std::string& path)
{
    prompter.Tell(Message(translate, text, path), shell::PromptIcon::Warning);
}

std::vector<std::string> SplitLines(std::string_view bytes, std::string& firstLineEnd)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(begin));
            break;
        }
        lines.emplace_back(bytes.substr(begin, end - begin));
        const size_t endLength = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        if (firstLineEnd.empty()) {
            firstLineEnd = std::string(bytes.substr(end, endLength));
        }
        begin = end + endLength;
    }
    return lines;
}

// The names of a Référence cell: split at every "/", empty names dropped. A qualifier doubled
// inside the cell stands for one, as the rewrite writes a name that holds it.
std::vector<std::string> LinkNames(std::string cell, char qual)
{
    if (qual != 0) {
        cell = ReplaceAll(std::move(cell), std::string(2, qual), std::string(1, qual));
    }
    std::vector<std::string> names;
    size_t begin = 0;
    for (;;) {
        const size_t slash = cell.find('/', begin);
        const size_t end = slash == std::string::npos ? cell.size() : slash;
        if (end > begin) {
            names.push_back(cell.substr(begin, end - begin));
        }
        if (slash == std::string::npos) {
            return names;
        }
        begin = slash + 1;
    }
}

const CCampaign* CampaignOf(const CTestSet& testSet)
{
    return testSet.Campaign;
}

std::string TestSetPath(const CTestSet& testSet)
{
    const CCampaign* campaign = CampaignOf(testSet);
    return (campaign ? campaign->Name : std::string()) + "/" + testSet.Name;
}

std::string TestPath(const CTest& test)
{
    return test.TestSet ? TestSetPath(*test.TestSet) + "/" + test.Name : test.Name;
}

std::string FormatStartTime(std::time_t time)
{
    std::tm local{};
    if (!::localtime_r(&time, &local)) {
        return {};
    }
    char text[64];
    const size_t length = std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return std::string(text, length);
}

}  // namespace

CsvFileLayout SplitCsvFile(std::string_view bytes, const CCsvImportSettings& settings, bool requirements)
{
    CsvFileLayout layout;
    layout.utf8 = IsValidUtf8(bytes);
    std::string firstLineEnd;
    std::vector<std::string> lines = SplitLines(bytes, firstLineEnd);
    if (!firstLineEnd.empty()) {
        layout.lineEnd = firstLineEnd;
    }
    const char sep = settings.Separator;
    const char qual = settings.TextQualifier;
    size_t next = 0;
    const size_t headCount = static_cast<size_t>(std::max(settings.FirstLine, 0));
    for (; next < lines.size() && next < headCount; ++next) {
        layout.head.push_back(std::move(lines[next]));
    }
    while (next < lines.size()) {
        CsvFileRecord record;
        record.text = lines[next];
        record.lines.push_back(std::move(lines[next]));
        ++next;
        if (record.text.find(sep) == std::string::npos) {
            layout.records.push_back(std::move(record));
            continue;
        }
        while (!IsCsvLineComplete(record.text, sep, qual) && next < lines.size()) {
            record.text += "\\n";
            record.text += lines[next];
            record.lines.push_back(std::move(lines[next]));
            ++next;
        }
        record.data = !CsvRecordId(record.text, settings, requirements).empty();
        layout.records.push_back(std::move(record));
    }
    return layout;
}

std::string CsvRecordId(std::string_view record, const CCsvImportSettings& settings, bool requirements)
{
    const int column = ColumnOf(settings, kIdColumn);
    if (column <= 0) {
        return {};
    }
    std::string id = GetCsvField(column, record, settings.Separator, settings.TextQualifier);
    if (requirements) {
        std::erase(id, '"');
    }
    return id;
}

// ---- Reading ----

void ProjectModel::ReadCsvList(std::string_view bytes, bool requirements)
{
    const CCsvImportSettings& settings = requirements ? RequirementCsvSettings : FactCsvSettings;
    const CsvFileLayout layout = SplitCsvFile(bytes, settings, requirements);
    const auto decode = [&layout](const std::string& field) {
        return layout.utf8 ? DecodeText(field) : Windows1252ToUtf8(field);
    };
    const auto field = [&](const std::string& record, size_t logical) {
        return decode(GetCsvField(ColumnOf(settings, logical), record, settings.Separator, settings.TextQualifier));
    };
    if (requirements) {
        Requirements.clear();
    } else {
        TechFacts.clear();
    }
    for (const CsvFileRecord& record : layout.records) {
        if (!record.data) {
            continue;
        }
        std::vector<CItemLink> links;
        for (const std::string& name :
             LinkNames(field(record.text, requirements ? kRequirementLinksColumn : kFactLinksColumn),
                       settings.TextQualifier)) {
            if (requirements) {
                if (const std::uint32_t set = FindTestSetByPath(name)) {
                    links.push_back({kLinkTestSet, set});
                    continue;
                }
            }
            if (const std::uint32_t test = FindTestByPath(name)) {
                links.push_back({kLinkTest, test});
            }
        }
        const std::string id = decode(CsvRecordId(record.text, settings, requirements));
        if (requirements) {
            auto requirement = std::make_unique<CRequirement>();
            requirement->ID = id;
            requirement->Titre = field(record.text, kTitleColumn);
            requirement->Texte = ReplaceAll(field(record.text, kRequirementTextColumn), "\\n", "\n");
            requirement->Links = std::move(links);
            Requirements.push_back(std::move(requirement));
        } else {
            auto fact = std::make_unique<CTechFact>();
            fact->ID = id;
            fact->Titre = field(record.text, kTitleColumn);
            fact->Links = std::move(links);
            TechFacts.push_back(std::move(fact));
        }
    }
}

void ProjectModel::ReadRequirementsText(std::string_view bytes)
{
    ReadCsvList(bytes, true);
}

void ProjectModel::ReadFactsText(std::string_view bytes)
{
    ReadCsvList(bytes, false);
}

bool ProjectModel::LoadCsvList(const std::string& path, bool requirements, shell::Prompter& prompter,
                               const shell::Translate& translate)
{
    const std::string absolute = MakeAbsolutePath(Directory, path);
    const std::optional<std::string> bytes = ReadWholeFile(absolute);
    if (!bytes) {
        Warn(prompter, translate, requirements ? texts::kCannotLoad : texts::kCannotLoadFacts, absolute);
        return false;
    }
    ReadCsvList(*bytes, requirements);
    (requirements ? m_requirementsFile : m_factsFile) = absolute;
    return true;
}

bool ProjectModel::LoadRequirementsCsv(const std::string& path, shell::Prompter& prompter,
                                       const shell::Translate& translate)
{
    return LoadCsvList(path, true, prompter, translate);
}

bool ProjectModel::LoadFactsCsv(const std::string& path, shell::Prompter& prompter, const shell::Translate& translate)
{
    return LoadCsvList(path, false, prompter, translate);
}

void ProjectModel::LoadCsvFilesOfProject(shell::Prompter& prompter, const shell::Translate& translate)
{
    if (!m_requirementsFile.empty()) {
        LoadRequirementsCsv(m_requirementsFile, prompter, translate);
    }
    if (!m_factsFile.empty()) {
        LoadFactsCsv(m_factsFile, prompter, translate);
    }
}

// ---- Rewriting ----

std::string ProjectModel::RewriteCsvText(std::string_view bytes, bool requirements) const
{
    const CCsvImportSettings& settings = requirements ? RequirementCsvSettings : FactCsvSettings;
    const char sep = settings.Separator;
    const char qual = settings.TextQualifier;
    const CsvFileLayout layout = SplitCsvFile(bytes, settings, requirements);
    const int linksColumn = LinksColumn(settings, requirements);
    const size_t listSize = requirements ? Requirements.size() : TechFacts.size();

    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const std::string& line : layout.head) {
        out += line;
        out += layout.lineEnd;
    }
    size_t matched = 0;
    for (const CsvFileRecord& record : layout.records) {
        // Records that match nothing in the list stay exactly as they were, in their place.
        if (!record.data || matched >= listSize) {
            for (const std::string& line : record.lines) {
                out += line;
                out += layout.lineEnd;
            }
            continue;
        }
        const std::vector<CItemLink>& links = requirements ? Requirements[matched]->Links : TechFacts[matched]->Links;
        ++matched;

        std::string linkText;
        for (const CItemLink& link : links) {
            const std::string* name = nullptr;
            if (link.Kind == kLinkTestSet) {
                if (const CTestSet* set = FindTestSetById(link.Id)) {
                    name = &set->Name;
                }
            } else if (link.Kind == kLinkTest) {
                if (const CTest* test = FindTestById(link.Id)) {
                    name = &test->Name;
                }
            }
            if (name) {
                if (!linkText.empty()) {
                    linkText += '/';
                }
                linkText += *name;
            }
        }
        if (!layout.utf8) {
            linkText = Utf8ToWindows1252(linkText);
        }
        // A link text that holds the separator or the qualifier would split or close the field.
        if (qual != 0 && linkText.find_first_of(std::string{sep, qual}) != std::string::npos) {
            linkText = std::string(1, qual) + ReplaceAll(linkText, std::string(1, qual), std::string(2, qual)) + qual;
        }

        const std::string& text = record.text;
        const int fieldCount = CountCsvFields(text, sep, qual);
        if (linksColumn <= 0) {
            out += text;
            out += sep;
            out += linkText;
        } else if (fieldCount < linksColumn) {
            // Empty fields up to the Référence column, so that the next reading finds the links
            // where it looks for them; a column far beyond any row's (a damaged setting) gets
            // one more field only, rather than a line of thousands of separators.
            out += text;
            out.append(
                linksColumn - fieldCount <= kMaxPaddingFields ? static_cast<size_t>(linksColumn - fieldCount) : 1, sep);
            out += linkText;
        } else {
            const int open = FindQualifiedCsvFieldPos(linksColumn, text, sep, qual);
            const int close = FindQualifiedCsvFieldPos(linksColumn + 1, text, sep, qual);
            // The first field has no separator before it: it is replaced whole.
            if (linksColumn > 1) {
                out.append(text, 0, static_cast<size_t>(open) + 1);
            }
            out += linkText;
            if (close >= 0) {
                out.append(text, static_cast<size_t>(close));
            }
        }
        out += layout.lineEnd;
    }
    return out;
}

std::string ProjectModel::RewriteRequirementsText(std::string_view bytes) const
{
    return RewriteCsvText(bytes, true);
}

std::string ProjectModel::RewriteFactsText(std::string_view bytes) const
{
    return RewriteCsvText(bytes, false);
}

void ProjectModel::SaveCsvList(bool requirements, shell::Prompter& prompter, const shell::Translate& translate)
{
    const std::string& path = requirements ? m_requirementsFile : m_factsFile;
    if (path.empty()) {
        return;  // no file of that kind: nothing to rewrite
    }
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        Warn(prompter, translate, requirements ? texts::kCannotSave : texts::kCannotLoadFacts, path);
        return;
    }
    if (!WriteFileAtomically(path, RewriteCsvText(*bytes, requirements))) {
        Warn(prompter, translate, texts::kCannotSave, path);
    }
}

void ProjectModel::SaveRequirementsCsv(shell::Prompter& prompter, const shell::Translate& translate)
{
    SaveCsvList(true, prompter, translate);
}

void ProjectModel::SaveFactsCsv(shell::Prompter& prompter, const shell::Translate& translate)
{
    SaveCsvList(false, prompter, translate);
}

void ProjectModel::SaveProjectCsvFiles(shell::Prompter& prompter, const shell::Translate& translate)
{
    if (RequirementsChanged != 0) {
        SaveRequirementsCsv(prompter, translate);
    }
    if (FactsChanged != 0) {
        SaveFactsCsv(prompter, translate);
    }
}

// ---- Dated export ----

std::string ProjectModel::ExportText(std::uint32_t versionId, bool requirements) const
{
    const CCsvImportSettings& settings = requirements ? RequirementCsvSettings : FactCsvSettings;
    const char sep = settings.Separator;
    const char qual = settings.TextQualifier;
    const int kindCount = requirements ? kRequirementColumns : kFactColumns;
    // Kinds of the export columns, numbered as stored.
    enum Kind { kId = 1, kTitle, kText, kLinks, kResult, kDate, kVersion, kFacts };
    const auto kindOf = [requirements](int stored) {
        // Facts have no Texte: their kinds from 3 on are those of requirements from 4 on.
        return requirements || stored < kText ? stored : stored + 1;
    };
    const auto qualified = [qual](std::string text) { return qual == 0 ? text : std::string(1, qual) + text + qual; };
    const std::string end = "\r\n";
    // Cells are composed in UTF-8 and set down in Windows-1252; separators and qualifiers are the
    // stored bytes themselves.
    const auto cell = [](const std::string& utf8) { return Utf8ToWindows1252(utf8); };

    std::string out;
    if (settings.HasHeader != 0) {
        std::string line;
        for (const int stored : settings.ExportColumns) {
            if (stored <= 0 || stored > kindCount) {
                continue;
            }
            if (!line.empty()) {
                line += sep;
            }
            if (static_cast<size_t>(stored - 1) < settings.Headers.size()) {
                line += cell(settings.Headers[static_cast<size_t>(stored - 1)]);
            }
        }
        out += line + end;
    }

    // The facts that link each test, in list order, each once per test.
    std::unordered_map<std::uint32_t, std::vector<const CTechFact*>> factsOfTest;
    if (requirements) {
        for (const auto& fact : TechFacts) {
            for (const CItemLink& link : fact->Links) {
                if (link.Kind != kLinkTest) {
                    continue;
                }
                auto& facts = factsOfTest[link.Id];
                if (facts.empty() || facts.back() != fact.get()) {
                    facts.push_back(fact.get());
                }
            }
        }
    }

    const std::string versionName = GetVersionName(versionId);
    const size_t count = requirements ? Requirements.size() : TechFacts.size();
    for (size_t i = 0; i < count; ++i) {
        const std::string& id = requirements ? Requirements[i]->ID : TechFacts[i]->ID;
        const std::string& title = requirements ? Requirements[i]->Titre : TechFacts[i]->Titre;
        const std::vector<CItemLink>& links = requirements ? Requirements[i]->Links : TechFacts[i]->Links;

        // The tests behind the links, with the path each link writes; dangling links give nothing.
        std::vector<std::string> paths;
        std::vector<const CTest*> tests;
        for (const CItemLink& link : links) {
            if (link.Kind == kLinkTest) {
                if (const CTest* test = FindTestById(link.Id)) {
                    paths.push_back(TestPath(*test));
                    tests.push_back(test);
                }
            } else if (link.Kind == kLinkTestSet) {
                if (const CTestSet* set = FindTestSetById(link.Id)) {
                    paths.push_back(requirements ? TestSetPath(*set) : set->Name);
                    for (const auto& test : set->Tests) {
                        tests.push_back(test.get());
                    }
                }
            }
        }

        // A failure anywhere outweighs any success, and only a test that ran gives a result.
        bool walked = false;
        bool anyOk = false;
        bool anyNok = false;
        std::string line;
        for (const int stored : settings.ExportColumns) {
            if (stored <= 0 || stored > kindCount) {
                continue;
            }
            if (!line.empty()) {
                line += sep;
            }
            switch (kindOf(stored)) {
            case kId:
                line += qualified(cell(id));
                break;
            case kTitle:
                line += qualified(cell(title));
                break;
            case kVersion:
                line += qualified(cell(versionName));
                break;
            case kText: {
                std::string text = Requirements[i]->Texte;
                if (settings.OneLine != 0) {
                    text = ReplaceAll(std::move(text), "\n", "\\n");
                }
                line += qualified(cell(text));
                break;
            }
            case kLinks: {
                std::string joined;
                for (const std::string& path : paths) {
                    if (!joined.empty()) {
                        joined += '/';
                    }
                    joined += path;
                }
                line += qualified(cell(joined));
                for (const CTest* test : tests) {
                    if (const CTestResult* result = FindResult(test->Id, versionId)) {
                        anyOk = anyOk || result->Value == 1;
                        anyNok = anyNok || result->Value == 0;
                    }
                }
                walked = true;
                break;
            }
            case kResult:
                line += qualified(cell(walked && anyNok  ? settings.NokLabel
                                       : walked && anyOk ? settings.OkLabel
                                                         : settings.UntestedLabel));
                break;
            case kDate: {
                bool found = false;
                std::time_t latest = 0;
                for (const CTest* test : tests) {
                    if (const CTestResult* result = FindResult(test->Id, versionId)) {
                        if (!found || result->StartTime > latest) {
                            latest = result->StartTime;
                        }
                        found = true;
                    }
                }
                if (found) {
                    line += qualified(FormatStartTime(latest));
                }
                break;
            }
            case kFacts: {
                std::string joined;
                for (const CTest* test : tests) {
                    const auto found = factsOfTest.find(test->Id);
                    if (found == factsOfTest.end()) {
                        continue;
                    }
                    for (const CTechFact* fact : found->second) {
                        if (!joined.empty()) {
                            joined += '/';
                        }
                        joined += fact->ID;
                    }
                }
                line += qualified(cell(joined));
                break;
            }
            default:
                break;
            }
        }
        out += line + end;
    }
    return out;
}

std::string ProjectModel::RequirementsExportText(std::uint32_t versionId) const
{
    return ExportText(versionId, true);
}

std::string ProjectModel::FactsExportText(std::uint32_t versionId) const
{
    return ExportText(versionId, false);
}

bool ProjectModel::ExportRequirementsDated(const std::string& path, std::uint32_t versionId, shell::Prompter& prompter,
                                           const shell::Translate& translate) const
{
    if (path.empty() || !WriteFileAtomically(path, ExportText(versionId, true))) {
        Warn(prompter, translate, texts::kCannotSave, path);
        return false;
    }
    return true;
}

bool ProjectModel::ExportFactsDated(const std::string& path, std::uint32_t versionId, shell::Prompter& prompter,
                                    const shell::Translate& translate) const
{
    if (path.empty() || !WriteFileAtomically(path, ExportText(versionId, false))) {
        Warn(prompter, translate, texts::kCannotSave, path);
        return false;
    }
    return true;
}

}  // namespace zov::project

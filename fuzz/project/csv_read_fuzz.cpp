// Any bytes as a user's requirement or technical-fact file. The first two bytes choose the
// dialect (separator, qualifier, first lines, kind, column layout). Reading must not fail; with
// the usual layout and closed texts, rewriting the file with the links just read and reading the result again must
// give the same list, and the dated exports must hold one line per record.
#include "common/CsvFields.h"
#include "common/TextCodec.h"
#include "ide/project/model/CsvFiles.h"
#include "ide/project/model/ProjectModel.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using zov::project::ProjectModel;

std::vector<std::string> Describe(const ProjectModel& model, bool requirements)
{
    std::vector<std::string> rows;
    const auto links = [](const std::vector<zov::project::CItemLink>& list) {
        std::string text;
        for (const auto& link : list) {
            text += std::to_string(link.Kind) + ":" + std::to_string(link.Id) + ",";
        }
        return text;
    };
    if (requirements) {
        for (const auto& r : model.Requirements) {
            rows.push_back(r->ID + "|" + r->Titre + "|" + r->Texte + "|" + links(r->Links));
        }
    } else {
        for (const auto& f : model.TechFacts) {
            rows.push_back(f->ID + "|" + f->Titre + "|" + links(f->Links));
        }
    }
    return rows;
}

size_t CountLines(std::string_view text)
{
    size_t count = 0;
    for (size_t pos = text.find("\r\n"); pos != std::string_view::npos; pos = text.find("\r\n", pos + 2)) {
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2) {
        return 0;
    }
    ::setenv("TZ", "UTC", 1);
    static const char kSeparators[] = {';', ',', '\t', ' '};
    static const char kQualifiers[] = {0, '"', '\'', 0};
    const bool requirements = (data[0] & 0x10) == 0;
    const bool usualLayout = (data[0] & 0x20) == 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    ProjectModel model;
    model.NewProject("P", "/nonexistent-zov-fuzz", "");
    auto& campaign = *model.AddCampaign("Camp", zov::project::kAddAtEnd, 0, nullptr);
    auto& set = *model.AddTestSet(campaign, "S1", zov::project::kAddAtEnd, 0, 0, 0, nullptr);
    for (const char* name : {"T1", "T2", "Dit\"x\"", "\xc3\x89t\xc3\xa9", "S1"}) {
        const auto& test = *model.AddTest(set, "t.qzs", name, zov::project::kAddAtEnd, 0, nullptr, 0);
        model.SetResult(1, test.Id, data[1] & 3, "", 86400 * (data[1] & 7), 1);
    }
    model.Versions.push_back(std::make_unique<zov::project::CVersion>(zov::project::CVersion{1, "V1", ""}));

    auto& settings = requirements ? model.RequirementCsvSettings : model.FactCsvSettings;
    settings.Separator = kSeparators[data[0] & 3];
    settings.TextQualifier = kQualifiers[(data[0] >> 2) & 3];
    settings.FirstLine = data[0] >> 6;
    settings.HasHeader = 1;
    if (!usualLayout) {
        for (size_t i = 0; i < settings.Columns.size(); ++i) {
            settings.Columns[i] = (data[1] >> (i % 4)) & 7;
        }
    }

    if (requirements) {
        model.ReadRequirementsText(bytes);
    } else {
        model.ReadFactsText(bytes);
    }
    const std::vector<std::string> first = Describe(model, requirements);
    const std::string rewritten = requirements ? model.RewriteRequirementsText(bytes) : model.RewriteFactsText(bytes);
    // A record left inside an open qualified text at the end of the file is beyond repair: what
    // follows it in the rewritten line may read as part of it.
    bool complete = true;
    for (const auto& record : zov::project::SplitCsvFile(bytes, settings, requirements).records) {
        complete = complete &&
                   (!record.data || zov::IsCsvLineComplete(record.text, settings.Separator, settings.TextQualifier));
    }
    // The encoding is told from the bytes: a Windows-1252 file whose only bytes that are not
    // UTF-8 sat in the replaced links reads as UTF-8 afterwards, with the same bytes elsewhere.
    const bool sameEncoding = zov::IsValidUtf8(bytes) == zov::IsValidUtf8(rewritten);
    if (usualLayout && complete && sameEncoding) {
        if (requirements) {
            model.ReadRequirementsText(rewritten);
        } else {
            model.ReadFactsText(rewritten);
        }
        if (Describe(model, requirements) != first) {
            std::abort();
        }
    }
    const std::string exported = requirements ? model.RequirementsExportText(1) : model.FactsExportText(1);
    if (CountLines(exported) < first.size() + 1) {
        std::abort();
    }
    return 0;
}

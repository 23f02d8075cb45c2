#include "ide/shell/core/StringTable.h"

#include <algorithm>
#include <iterator>

namespace zov::shell {
namespace {

struct StringEntry {
    unsigned id;
    std::string_view text;
};

// In increasing order of number (checked below). The commands' prompts are "status\ntooltip".
constexpr StringEntry kStrings[] = {
    {string_ids::kMainFrame, "\nZOV\nZOV\nFichiers script ZOV (*.qzs)\n.qzs\nZOV.Document\nZOV Document"},
    {string_ids::kTipsDidYouKnow, "Le saviez-vous ?"},
    {string_ids::kTipsFileUnreadable, "Impossible de lire le fichier d'astuces"},
    {string_ids::kTipsReadProblem, "Problème lors de la lecture du fichier d'astuces"},
    {string_ids::kAboutLink, "https://example.org/zov"},
    {string_ids::kVersion, "1.0 PR1"},
    {string_ids::kIdleMessage, "Prêt"},
};

constexpr bool InIncreasingOrder()
{
    for (std::size_t i = 1; i < std::size(kStrings); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(InIncreasingOrder(), "string numbers in increasing order, each once");

}  // namespace

std::string_view LoadStringResource(unsigned id)
{
    const auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                        [](const StringEntry& entry, unsigned wanted) { return entry.id < wanted; });
    if (found == std::end(kStrings) || found->id != id)
        return {};
    return found->text;
}

std::string LoadTranslatedString(unsigned id, const LanguageTable* table)
{
    return TranslateText(table, LoadStringResource(id));
}

}  // namespace zov::shell

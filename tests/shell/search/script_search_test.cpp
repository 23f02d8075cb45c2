#include "ide/shell/search/ScriptSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::shell {
namespace {

const std::string kFolder = std::string(ZOV_SOURCE_DIR) + "/tests/shell/data/search";

std::vector<std::string> PaneLines(const SearchQuery& query, const std::vector<std::string>& entries)
{
    ScriptSearch search;
    std::vector<std::string> lines = {search.Start(query, entries, kFolder)};
    while (search.Running())
        for (const SearchHit& hit : search.Step(std::chrono::milliseconds(20)))
            lines.push_back(hit.paneLine);
    lines.push_back(search.SummaryLine());
    return lines;
}

TEST(ScriptSearch, PaneLinesForEachQuery)
{
    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        SearchQuery query;
        Lines lines;
    };
    const Case cases[] = {
        {"case ignored, tabs as four blanks",
         {"init", false, false},
         {"Recherche de 'init'...", "Main:1:Appel Init", "Main:3:fin Init", "Main:4:Initialise(1)", "Main:5:init",
          "Lib:1:appel    init x", "5 occurrences ont été trouvées"}},
        {"case respected",
         {"Init", true, false},
         {"Recherche de 'Init'...", "Main:1:Appel Init", "Main:3:fin Init", "Main:4:Initialise(1)",
          "3 occurrences ont été trouvées"}},
        {"whole word: alone, first, between blanks (a tab counts), last",
         {"init", false, true},
         {"Recherche de 'init'...", "Main:1:Appel Init", "Main:3:fin Init", "Main:5:init", "Lib:1:appel    init x",
          "4 occurrences ont été trouvées"}},
        {"accented letters fold on the decoded text, Windows-1252 files too",
         {"été", false, false},
         {"Recherche de 'été'...", "Main:2:    si x = \"Été\" alors", "Ancien:1:Ligne été en Windows-1252",
          "2 occurrences ont été trouvées"}},
        {"not found: text shown upper-cased",
         {"absent", false, false},
         {"Recherche de 'absent'...", "Impossible de trouver la chaine 'ABSENT'."}},
        {"not found with case kept",
         {"absent", true, false},
         {"Recherche de 'absent'...", "Impossible de trouver la chaine 'absent'."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PaneLines(c.query, {"Main.qzs", kFolder + "/Lib.qzs", "Ancien.qzs", "Manquant.qzs"}), c.lines)
            << c.name;
}

TEST(ScriptSearch, NoFilesEndsAtTheFirstStep)
{
    EXPECT_EQ(PaneLines({"x", false, false}, {}),
              (std::vector<std::string>{"Recherche de 'x'...", "Impossible de trouver la chaine 'X'."}));
}

TEST(ScriptSearch, HitsCarryTheirEntryAndLine)
{
    ScriptSearch search;
    search.Start({"fin", false, false}, {"Lib.qzs", "Main.qzs"}, kFolder);
    const std::vector<SearchHit> hits = search.Step(std::chrono::milliseconds(20));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].fileEntry, "Main.qzs");
    EXPECT_EQ(hits[0].fileIndex, 1u);
    EXPECT_EQ(hits[0].line, 3);
}

TEST(ScriptSearch, StopKeepsTheHitsFound)
{
    ScriptSearch search;
    search.Start({"init", false, false}, {"Main.qzs", "Lib.qzs"}, kFolder);
    const std::vector<SearchHit> first = search.Step(std::chrono::milliseconds(0));
    ASSERT_EQ(first.size(), 4u);  // one file per call at least
    search.Stop();
    EXPECT_FALSE(search.Running());
    EXPECT_FALSE(search.Finished());
    EXPECT_TRUE(search.Step(std::chrono::milliseconds(20)).empty());
    EXPECT_EQ(search.HitCount(), 4u);
}

TEST(ScriptSearch, DisplayNames)
{
    EXPECT_EQ(ScriptDisplayName("scripts\\Main.qzs"), "Main");
    EXPECT_EQ(ScriptDisplayName("/w/p/Lib.qzs"), "Lib");
    EXPECT_EQ(ScriptDisplayName("a.qzs"), "a");
    EXPECT_EQ(ScriptDisplayName("ab"), "");
}

}  // namespace
}  // namespace zov::shell

#pragma once
// What the results synthesis shows, computed from the project without any widget: the rows of the
// list (texts and the code the list paints them by) for each type and filter, and the graph (axis,
// series colours, one stack of values per version). The dialog only puts these on screen.

#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zov::project {

enum SynthesisType : int { kSynthesisTests = 0, kSynthesisRequirements = 1, kSynthesisFacts = 2 };

// The item data of a row.
enum SynthesisRowCode : int {
    kRowPlain = 0,     // a test, or an item listed under another one
    kRowOk = 1,        // a campaign; a requirement or fact whose status is OK
    kRowNok = 2,       // a test whose result is NOK
    kRowTestSet = 4,   // a test set
    kRowFailed = 5,    // a requirement or fact that failed
    kRowUntested = 6,  // a requirement or fact that is not tested
};

struct SynthesisRow {
    std::string Text;  // "Test/Script", indented by two blanks per level
    std::string Result;
    std::string Date;
    std::string Duration;
    int Code = kRowPlain;

    bool operator==(const SynthesisRow&) const = default;
};

struct SynthesisAxis {
    int Intervals = 0;
    int Maximum = 0;
};

// The step of the value axis for n items: 10, 100, 1000, or n itself from 10 000 on.
int ChooseAxisStep(int count);
SynthesisAxis AxisForCount(int count);

// Windows COLORREF values, as the graph control takes them.
constexpr std::uint32_t SynthesisRgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}
inline constexpr std::uint32_t kSynthesisGreen = SynthesisRgb(30, 200, 40);
inline constexpr std::uint32_t kSynthesisRed = SynthesisRgb(200, 30, 40);
inline constexpr std::uint32_t kSynthesisGrey = SynthesisRgb(180, 180, 180);

struct SynthesisSeries {
    std::uint32_t Colour = 0;
    std::vector<int> Values;  // one per charted version
};

struct SynthesisGraph {
    SynthesisAxis Axis;
    size_t FirstVersion = 0;          // index of the first charted version
    std::vector<std::string> Labels;  // the names of the charted versions
    std::vector<SynthesisSeries> Series;
};

// "%04d/%02d/%02d %02d:%02d:%02d" in local time, and a duration as hours (modulo 24), minutes and
// seconds.
std::string FormatSynthesisTime(std::time_t time);
std::string FormatSynthesisDuration(std::int64_t seconds);

class ResultsSynthesis {
public:
    // The graph control holds 500 points; projects with more versions chart the last ones.
    static constexpr size_t kMaxGraphPoints = 500;

    explicit ResultsSynthesis(const ProjectModel& project, shell::Translate translate = shell::IdentityTranslate());
    ResultsSynthesis(const ResultsSynthesis&) = delete;
    ResultsSynthesis& operator=(const ResultsSynthesis&) = delete;

    // The "Type :" entries (text, item data): tests, and requirements or facts when there are any.
    std::vector<std::pair<std::string, int>> TypeEntries() const;
    // The "Résultat :" entries of a type; the relation entry only in list mode.
    std::vector<std::string> FilterEntries(int type, bool listMode) const;
    int TestTotal() const { return m_testTotal; }
    SynthesisAxis Axis(int type) const;

    std::vector<SynthesisRow> Rows(int type, int filter, size_t versionIndex) const;
    SynthesisGraph Graph(int type, int filter) const;

private:
    struct ItemTest {
        const CTest* test;
        const CTestSet* fromSet;  // the linked set the test comes from; null for a test link
    };
    struct Item {
        const std::string* id;
        const std::vector<CItemLink>* links;
        std::vector<ItemTest> tests;  // by the link rule, dangling links skipped
        bool hasLinks = false;        // at least one link that counts and still resolves
    };

    const CTestResult* ResultOf(const CTest& test, std::uint32_t versionId) const;
    void TestRows(int filter, size_t versionIndex, std::vector<SynthesisRow>& rows) const;
    void ItemRows(int type, int filter, std::uint32_t versionId, std::vector<SynthesisRow>& rows) const;
    void GlobalItemRows(int type, const Item& item, std::uint32_t versionId, std::vector<SynthesisRow>& rows) const;
    void FilteredItemRows(int type, int filter, const Item& item, std::uint32_t versionId,
                          std::vector<SynthesisRow>& rows) const;
    void RequirementFactRows(const Item& item, std::uint32_t versionId, std::vector<SynthesisRow>& rows) const;
    void FactRequirementRows(const Item& item, std::uint32_t versionId, std::vector<SynthesisRow>& rows) const;
    void ResultCells(SynthesisRow& row, const CTestResult& result) const;
    const std::vector<Item>& ItemsOf(int type) const { return type == kSynthesisFacts ? m_facts : m_requirements; }

    const ProjectModel& m_project;
    shell::Translate m_translate;
    int m_testTotal = 0;
    std::vector<Item> m_requirements;
    std::vector<Item> m_facts;
    // Test id → the facts that link it (each once), and the requirements that cover it.
    std::unordered_map<std::uint32_t, std::vector<const Item*>> m_factsOfTest;
    std::unordered_map<std::uint32_t, std::vector<const Item*>> m_requirementsOfTest;
};

}  // namespace zov::project

#include "ide/shell/core/CommandTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zov::shell {
namespace {

using namespace command_ids;

TEST(CommandTableTest, AcceleratorsOfTheFrame)
{
    const std::pair<std::string_view, int> pinned[] = {
        {"Esc", 32827},        {"F1", 57670},      {"Shift+F1", 349},      {"F5", 32826},
        {"Shift+F5", 32917},   {"Ctrl+F5", 32839}, {"F6", 32848},          {"Ctrl+F6", 32866},
        {"Shift+F6", 57681},   {"F9", 32844},      {"Ctrl+F9", 32845},     {"Ctrl+F10", 32849},
        {"F11", 32876},        {"F12", 32806},     {"Ctrl+Alt+F3", 32787}, {"Ctrl+Alt+F4", 32790},
        {"Ctrl+F3", 38507},    {"Ctrl+F4", 57602}, {"Ctrl+Alt+S", 32828},  {"Ctrl+F7", 32858},
        {"Ctrl+N", 32840},     {"Ctrl+I", 32879},  {"Ctrl+R", 32880},      {"Ctrl+W", 32885},
        {"Ctrl+Alt+W", 32886}, {"Ctrl+M", 32833},  {"Ctrl+Alt+M", 32815},  {"Ctrl+G", 8700},
    };
    std::map<std::string_view, int> byKey;
    for (const Accelerator& accelerator : MainAccelerators())
        EXPECT_TRUE(byKey.emplace(accelerator.keys, accelerator.id).second) << "key twice: " << accelerator.keys;
    for (const auto& [keys, id] : pinned) {
        ASSERT_EQ(byKey.count(keys), 1u) << keys;
        EXPECT_EQ(byKey[keys], id) << keys;
        EXPECT_EQ(AcceleratorOf(id), keys);
    }
    // Opening a project has no key.
    EXPECT_EQ(AcceleratorOf(kOpenProject), "");
    std::set<int> ids;
    for (const Accelerator& accelerator : MainAccelerators())
        EXPECT_TRUE(ids.insert(accelerator.id).second) << "command with two keys: " << accelerator.id;
}

struct Popup {
    std::string text;
    std::vector<const MenuRow*> items;  // the rows at the popup's own level, separators included
};

std::vector<Popup> TopLevel(std::span<const MenuRow> rows)
{
    std::vector<Popup> popups;
    int depth = 0;
    for (const MenuRow& row : rows) {
        if (row.kind == MenuRowKind::End) {
            --depth;
            continue;
        }
        if (depth == 1)
            popups.back().items.push_back(&row);
        if (row.kind == MenuRowKind::Popup) {
            if (depth == 0)
                popups.push_back({std::string(row.text), {}});
            ++depth;
        }
    }
    EXPECT_EQ(depth, 0);
    return popups;
}

TEST(CommandTableTest, FileMenuHoldsTheRecentListsAtTheirPositions)
{
    const std::vector<Popup> menus = TopLevel(MainMenuRows());
    ASSERT_FALSE(menus.empty());
    EXPECT_EQ(menus.front().text, "&Fichier");
    const auto& file = menus.front().items;
    ASSERT_GT(file.size(), 11u);
    EXPECT_EQ(file[10]->kind, MenuRowKind::Popup);
    EXPECT_EQ(file[10]->text, "Scripts récents");
    EXPECT_EQ(file[11]->text, "Projets récents");
    // Each starts with the single "< Aucun >" item of its first command id.
    const auto rows = MainMenuRows();
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        if (rows[i].text == "Scripts récents") {
            EXPECT_EQ(rows[i + 1].id, kRecentFile0);
            EXPECT_EQ(rows[i + 1].text, kEmptyRecentList);
        }
        if (rows[i].text == "Projets récents") {
            EXPECT_EQ(rows[i + 1].id, kRecentProject0);
            EXPECT_EQ(rows[i + 1].text, kEmptyRecentList);
        }
    }
}

TEST(CommandTableTest, EveryCommandOfTheFrameIsInAMenuOnce)
{
    std::map<int, int> seen;
    for (const MenuRow& row : MainMenuRows()) {
        if (row.kind == MenuRowKind::Command)
            ++seen[row.id];
    }
    for (const auto& [id, count] : seen)
        EXPECT_EQ(count, 1) << id;
    const int named[] = {32858, 32838, 32843, 32912, 32811, 32840, 32831, 32884, 32855, 38507, 32820, 32821, 32852,
                         32891, 8901,  32857, 32866, 32876, 32823, 32829, 32837, 57634, 57637, 32922, 32879, 32880,
                         8900,  32897, 32910, 32911, 32882, 32791, 32919, 32921, 32920, 32787, 32790, 59392, 349,
                         32835, 32836, 32828, 32856, 32881, 57664, 57601, 57603, 57604, 57602, 32806, 57670};
    for (int id : named)
        EXPECT_EQ(seen.count(id), 1u) << id;
}

TEST(CommandTableTest, PromptsSplitIntoStatusAndTooltip)
{
    EXPECT_EQ(PromptOf(kToggleBookmark).status, "Met ou enlève un signet");
    EXPECT_EQ(PromptOf(kToggleBookmark).tooltip, "Met/Enlève un signet");
    EXPECT_EQ(PromptOf(1).status, "");
    EXPECT_EQ(PromptOf(1).tooltip, "");
    // Every command of the menus has a prompt.
    for (const MenuRow& row : MainMenuRows()) {
        if (row.kind == MenuRowKind::Command && row.id != kRecentFile0 && row.id != kRecentProject0) {
            EXPECT_FALSE(PromptOf(row.id).status.empty()) << row.id;
        }
    }
}

TEST(CommandTableTest, MenuTextKeyStopsAtTheTab)
{
    EXPECT_EQ(MenuTextKey("Insérer...\tCtrl+F7"), "Insérer...");
    EXPECT_EQ(MenuTextKey("Actualiser"), "Actualiser");
    EXPECT_EQ(MenuTextKey(""), "");
}

TEST(CommandTableTest, ProjectCommandsNeedAProject)
{
    const int projectCommands[] = {32791, 32820, 32821, 32828, 32852, 32856, 32858, 32891, 8901};
    FrameState none;
    FrameState open;
    open.projectOpen = true;
    for (int id : projectCommands) {
        ASSERT_TRUE(FrameCommandState(id, none).has_value()) << id;
        EXPECT_FALSE(FrameCommandState(id, none)->enabled) << id;
        EXPECT_TRUE(FrameCommandState(id, open)->enabled) << id;
    }
    for (int id : {32876, 32879, 9001})
        EXPECT_TRUE(FrameCommandState(id, none)->enabled) << id;
    // Closing a document: the project rule, and a document to close.
    open.hasDocument = true;
    EXPECT_TRUE(FrameCommandState(kFileClose, open)->enabled);
    none.hasDocument = true;
    EXPECT_FALSE(FrameCommandState(kFileClose, none)->enabled);
}

TEST(CommandTableTest, ModifyItemRule)
{
    struct Case {
        int kind;
        bool running;
        bool enabled;
    } cases[] = {{-1, false, false}, {0, false, false}, {1, false, true}, {2, false, true}, {2, true, false}};
    for (const Case& c : cases) {
        FrameState state;
        state.selectedItemKind = c.kind;
        state.campaignRunning = c.running;
        EXPECT_EQ(FrameCommandState(kModifyItem, state)->enabled, c.enabled) << c.kind << c.running;
    }
}

TEST(CommandTableTest, CheckedCommandsFollowTheirFlags)
{
    FrameState state;
    state.viewAllInterfaces = false;
    state.recordResults = true;
    state.liveVariables = true;
    state.showExecution = false;
    EXPECT_FALSE(FrameCommandState(kViewAllInterfaces, state)->checked);
    EXPECT_TRUE(FrameCommandState(kRecordResults, state)->checked);
    EXPECT_TRUE(FrameCommandState(kLiveVariables, state)->checked);
    EXPECT_FALSE(FrameCommandState(kShowExecutionLine, state)->checked);
    for (int id : {kViewAllInterfaces, kRecordResults, kLiveVariables, kShowExecutionLine, kViewExplorer, kViewOutput,
                   kViewToolbars})
        EXPECT_TRUE(FrameCommandState(id, state)->checkable) << id;
    // A command whose state is its handler's own has no frame rule.
    EXPECT_FALSE(FrameCommandState(kRunScript, state).has_value());
}

TEST(CommandTableTest, SaveCommandsFollowTheDocumentPath)
{
    struct Case {
        const char* path;
        bool save;
        bool saveAs;
    } cases[] = {
        {"", false, true},
        {"/w/a.qzs", true, true},
        {"/tmp/zov-1/ZOV_TMP1/Macro.qzm", true, false},
        {"/w/macros.qzm.d/a.qzs", true, true},
    };
    for (const Case& c : cases) {
        FrameState state;
        state.hasDocument = true;
        state.documentPath = c.path;
        EXPECT_EQ(FrameCommandState(kFileSave, state)->enabled, c.save) << c.path;
        EXPECT_EQ(FrameCommandState(kFileSaveAs, state)->enabled, c.saveAs) << c.path;
    }
}

}  // namespace
}  // namespace zov::shell

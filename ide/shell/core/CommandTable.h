#pragma once
// The main window's commands in one table: the menu bar with its texts (French, the keys of the
// language table), the keyboard accelerators, the status prompt and tooltip of each command, and
// the rules that enable and check them. The windowed frame builds its menus and actions from it;
// tests read it without a window.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zov::shell {

namespace command_ids {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePageSetup = 57605;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kAppExit = 57665;
inline constexpr int kAppAbout = 57664;
inline constexpr int kHelp = 57670;
inline constexpr int kTipOfTheDay = 349;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditFind = 57636;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditFindNext = 57640;
inline constexpr int kEditFindPrevious = 37126;
inline constexpr int kEditReplace = 57641;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kGoToLine = 8700;
inline constexpr int kLiveVariables = 8900;
inline constexpr int kSelectVersion = 8901;
inline constexpr int kInterfaceDelete = 9000;
inline constexpr int kInterfaceAdd = 9001;
inline constexpr int kInterfaceModify = 9013;
inline constexpr int kViewExplorer = 32787;
inline constexpr int kViewExplorerAlt = 32804;
inline constexpr int kViewOutput = 32790;
inline constexpr int kViewToolbars = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;
inline constexpr int kFindInScripts = 32791;
inline constexpr int kPreferences = 32806;
inline constexpr int kShowResults = 32809;
inline constexpr int kLoadScript = 32810;
inline constexpr int kViewAllInterfaces = 32811;
inline constexpr int kEditConstantOrMacro = 32815;
inline constexpr int kProjectInformation = 32820;
inline constexpr int kRefresh = 32821;
inline constexpr int kSaveAll = 32823;
inline constexpr int kRunScript = 32826;
inline constexpr int kStopScript = 32827;
inline constexpr int kSaveProject = 32828;
inline constexpr int kCloseAll = 32829;
inline constexpr int kModifyItem = 32831;
inline constexpr int kCollapseMacros = 32832;
inline constexpr int kCreateMacro = 32833;
inline constexpr int kExpandMacros = 32834;
inline constexpr int kNewProject = 32835;
inline constexpr int kOpenProject = 32836;
inline constexpr int kCloseOthers = 32837;
inline constexpr int kNewInterface = 32838;
inline constexpr int kRunCampaign = 32839;
inline constexpr int kAddItem = 32840;
inline constexpr int kEditInterface = 32843;
inline constexpr int kToggleBreakpoint = 32844;
inline constexpr int kClearBreakpoints = 32845;
inline constexpr int kNextLine = 32848;
inline constexpr int kLocateNextScript = 32849;
inline constexpr int kImportRequirements = 32852;
inline constexpr int kDeleteItem = 32855;
inline constexpr int kSaveProjectAs = 32856;
inline constexpr int kSynthesis = 32857;
inline constexpr int kInsertInterfaces = 32858;
inline constexpr int kRecordResults = 32866;
inline constexpr int kCreateReport = 32876;
inline constexpr int kAddVariable = 32879;
inline constexpr int kDeleteVariable = 32880;
inline constexpr int kCloseProject = 32881;
inline constexpr int kStopAllTests = 32882;
inline constexpr int kRenameItem = 32884;
inline constexpr int kNextWarning = 32885;
inline constexpr int kPreviousWarning = 32886;
inline constexpr int kImportFacts = 32891;
inline constexpr int kShowExecutionLine = 32897;
inline constexpr int kExportRequirements = 32910;
inline constexpr int kExportFacts = 32911;
inline constexpr int kCopyInterfaces = 32912;
inline constexpr int kVerifyScript = 32917;
inline constexpr int kRunBatch = 32919;
inline constexpr int kEditBatch = 32920;
inline constexpr int kNewBatch = 32921;
inline constexpr int kOpenContainingFolder = 32922;
inline constexpr int kComment = 37006;
inline constexpr int kUncomment = 37007;
inline constexpr int kToggleBookmark = 37223;
inline constexpr int kNextBookmark = 37224;
inline constexpr int kPreviousBookmark = 37225;
inline constexpr int kClearBookmarks = 37226;
inline constexpr int kDescription = 38507;
inline constexpr int kVersionCombo = 32896;
// The recent lists of the File menu: first item of each.
inline constexpr int kRecentProject0 = 38000;
inline constexpr int kRecentFile0 = 38100;
inline constexpr int kRecentCount = 5;
// Caret commands that reach the active script view or the trace pane.
inline constexpr int kCaretFirst = 37101;
inline constexpr int kCaretLast = 37124;
}  // namespace command_ids

namespace pane_ids {
inline constexpr int kLineColumn = 37903;
inline constexpr int kPane37900 = 37900;
inline constexpr int kLineEnds = 37902;
inline constexpr int kOverwrite = 59140;  // "OVR"
inline constexpr int kReadOnly = 37901;
}  // namespace pane_ids

// One row of the menu bar: a popup opens a level that the matching End closes.
enum class MenuRowKind { Popup, Command, Separator, End };

struct MenuRow {
    MenuRowKind kind;
    int id;
    std::string_view text;
};

// The menu bar, depth first. The File menu holds "Scripts récents" at position 10 and "Projets
// récents" at position 11 (separators counted), each starting with the one item "< Aucun >".
std::span<const MenuRow> MainMenuRows();

// The document tabs' context menu.
std::span<const MenuRow> TabMenuRows();

inline constexpr std::string_view kEmptyRecentList = "< Aucun >";

struct Accelerator {
    std::string_view keys;  // in the toolkit's portable form, "Ctrl+Alt+F3"
    int id;
};

// One key per command at most, and each key once.
std::span<const Accelerator> MainAccelerators();

// The keys of a command, "" when it has none.
std::string_view AcceleratorOf(int id);

// The caret commands the frame routes: their keys, which reach the active script view as they
// are, and the plain key the trace pane gets instead (it moves, never selects).
struct CaretKey {
    int id;
    std::string_view keys;
    std::string_view traceKey;
};
std::span<const CaretKey> CaretKeys();
const CaretKey* FindCaretKey(int id);

// The command's status prompt and tooltip, untranslated (the tooltip is the prompt's part after
// "\n"; a prompt without one has no tooltip).
struct CommandPrompt {
    std::string_view status;
    std::string_view tooltip;
};
CommandPrompt PromptOf(int id);

// What the frame knows when it enables its commands.
struct FrameState {
    bool projectOpen = false;
    bool campaignRunning = false;  // a campaign test set is running
    int selectedItemKind = -1;     // explorer selection: -1 none, 0 campaign, 1 test set, 2 test
    bool viewAllInterfaces = true;
    bool recordResults = false;
    bool liveVariables = false;
    bool showExecution = true;
    bool explorerVisible = true;
    bool outputVisible = true;
    bool toolbarsVisible = true;
    bool statusBarVisible = true;
    bool hasScriptView = false;
    bool hasDocument = false;
    std::string documentPath;    // of the active document
    bool scriptRunning = false;  // the active view runs or verifies
    int documentCount = 0;
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
};

// The rule of a command that the frame itself enables, checks or both; nullopt for a command
// whose state is its handler's own (enabled when it has one).
std::optional<CommandState> FrameCommandState(int id, const FrameState& state);

// Menu text to translation key: the part before the first TAB.
std::string_view MenuTextKey(std::string_view text);

}  // namespace zov::shell

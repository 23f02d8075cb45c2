// Brunox's commands: operator dialogs run one at a time, each answered on standard output.
#pragma once

#include "BrunoxPrompter.h"
#include "MainCmd.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

// The texts a command receives are cut only by the line itself: no message is ever shortened.
inline constexpr int kBrunoxTextSize = MAX_CMDSIZE;

inline constexpr const char* kBrunoxSettingsFile = "Brunox.ini";

// The error line of a dialog command when no display can be reached.
inline constexpr const char* kNoDisplayMessage =
    "Aucun affichage disponible : la bo\xC3\xAEte de dialogue ne peut pas s'ouvrir.\n";

class CDialogCmd : public CMainCmd {
public:
    // Every dialog goes through `prompter`; by default the operator answers the real windows.
    explicit CDialogCmd(std::filesystem::path settingsPath,
                        std::unique_ptr<CPrompter> prompter = std::make_unique<CWindowPrompter>());


    // The answers, line end included, as the commands write them. Each runs its dialog modally.
    std::string MessageBox();
    std::string AskBox();
    std::string EditBox();
    std::string ComboBox();
    std::string LoadFile();
    std::string SaveFile();
    std::string SelectPath();

private:
    // The command callback that runs one dialog and writes its answer.
    template <std::string (CDialogCmd::*Dialog)()>
    static void On(void* cmd)
    {
        const std::string answer = (static_cast<CDialogCmd*>(cmd)->*Dialog)();
        std::fputs(answer.c_str(), stdout);
    }

    std::string FileDialog(bool bSave);

    char m_acTitle[kBrunoxTextSize] = {};
    char m_acText[kBrunoxTextSize] = {};
    char m_acData[kBrunoxTextSize] = {};
    char m_acExtension[kBrunoxTextSize] = {};
    int32_t m_iSelection = 0;
    std::filesystem::path m_settingsPath;
    std::unique_ptr<CPrompter> m_pPrompter;
};

#pragma once
// The interface lists and dialogs joined to the main frame: the frame as the lists' host (macro
// bodies edited as documents, views refreshed after a change) and the interface menu's insert,
// edit and copy commands.

#include "ide/interfaces/InterfaceHost.h"

namespace zov::shell {
class MainFrame;
}

namespace zov::interfaces {

class FrameInterfaceHost final : public InterfaceHost {
public:
    explicit FrameInterfaceHost(shell::MainFrame& frame) : frame_(frame) {}

    void OpenMacroFile(MacroRecord& record) override;
    void ShowMacroReadOnly(const MacroRecord& record) override;
    void CloseMacroFile(const std::string& name) override;
    void InterfacesChanged() override;
    std::string EngineFolder() const override;

private:
    shell::MainFrame& frame_;
};

// "Insérer...", "Editer..." and "&Copier..." of the interface menu.
void InstallInterfaceCommands(shell::MainFrame& frame);

}  // namespace zov::interfaces

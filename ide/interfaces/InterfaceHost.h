#pragma once
// What the interface lists and dialogs need from the main frame: the macro text windows, the
// "refresh every view" call after a change, the display names of the interfaces and the engine's
// folder. The main frame fills it; PlainInterfaceHost stands in wherever there is none.

#include "ide/interfaces/model/InterfaceRecords.h"

#include <string>

namespace zov::interfaces {

class InterfaceSet;

class InterfaceHost {
public:
    virtual ~InterfaceHost() = default;

    // The macro written as a text in the temporary folder and opened for editing, or read-only.
    virtual void OpenMacroFile(MacroRecord& record) = 0;
    virtual void ShowMacroReadOnly(const MacroRecord& record) = 0;
    // Closes the open text window of that macro, if any.
    virtual void CloseMacroFile(const std::string& name) = 0;
    // The definitions changed: every script view refreshes its macro folding.
    virtual void InterfacesChanged() = 0;

    // Display names: the file name without its folder and ".qzi".
    virtual std::string ProjectInterfaceName(const InterfaceSet& set) const;
    virtual std::string InsertedInterfaceName(const InterfaceSet& set, int index) const;
    // The folder the engine runs in (absolute); executables elsewhere are named relative to it.
    virtual std::string EngineFolder() const { return {}; }
};

// A file name without its folder and extension ("/p/demo.qzi" -> "demo"); "\" separates too.
std::string InterfaceDisplayName(const std::string& path);

// No main frame: macro windows and refreshes go nowhere.
class PlainInterfaceHost : public InterfaceHost {
public:
    explicit PlainInterfaceHost(std::string engineFolder = {}) : engineFolder_(std::move(engineFolder)) {}

    void OpenMacroFile(MacroRecord&) override {}
    void ShowMacroReadOnly(const MacroRecord&) override {}
    void CloseMacroFile(const std::string&) override {}
    void InterfacesChanged() override {}
    std::string EngineFolder() const override { return engineFolder_; }

private:
    std::string engineFolder_;
};

// The host of lists that were given none.
InterfaceHost& NoInterfaceHost();

}  // namespace zov::interfaces

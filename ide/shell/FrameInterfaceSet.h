#pragma once
// The frame's interface set: every definition of the main interface and the inserted ones, and
// the syntax languages of the engine folder's ".stx" files, which decide what a file opens as,
// how it is coloured and what the file-open prompt offers.

#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/FrameSeams.h"
#include "ide/shell/core/ApplicationCore.h"

#include <memory>

namespace zov::shell {

class FrameInterfaceSet final : public IInterfaceSet {
public:
    // Reads the syntax files of the application's syntax pattern; the default interface is loaded
    // by the frame, as every later one.
    explicit FrameInterfaceSet(const ApplicationCore& application);
    ~FrameInterfaceSet() override;

    void Clear() override { set_.Clear(); }
    void RemoveInserted() override { set_.RemoveInsertedInterfaces(); }
    bool Load(const std::filesystem::path& path) override { return set_.Load(path.string()); }
    // Appended after the inserted interfaces already there, open for editing.
    bool Insert(const std::filesystem::path& path) override;
    bool Save() override { return set_.Save(); }
    bool WriteTempInterface() override { return set_.WriteTempInterface(); }
    void SetProjectFolder(const std::filesystem::path& folder) override { set_.SetProjectFolder(folder.string()); }
    bool HasSyntaxLanguage(std::string_view name) const override;
    std::vector<std::pair<std::string, std::string>> SyntaxLanguages() const override;
    interfaces::InterfaceSet* Model() override { return &set_; }

private:
    // The set keeps its prompter for good; this one asks whichever is active at the time.
    interfaces::InterfaceSet set_;
};

}  // namespace zov::shell

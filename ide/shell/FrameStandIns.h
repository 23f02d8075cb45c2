#pragma once
// Plain stand-ins for the frame's seams, so that the window runs before the explorer, the output
// bar, the interface set and the script view exist: an explorer that only reads the project
// file, an output bar of six empty tabs, an interface set that knows the script language only,
// and a plain text editor over the document's buffer.

#include "ide/shell/FrameSeams.h"
#include "ide/shell/core/Translate.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTreeWidget>

#include <memory>

namespace zov::shell {

class ScriptDocument;

class StandInExplorer final : public IExplorerBar {
public:
    explicit StandInExplorer(Translate translate);
    ~StandInExplorer() override;
    QWidget& Widget() override { return *widget_; }
    bool LoadProject(const std::string& path) override;
    void CloseProject() override;
    void RefreshInterfaceLists() override {}
    void SetViewAllInterfaces(bool) override {}
    int SelectedItemKind() const override;
    std::optional<RunRoot> SelectedRunItem() const override;
    std::vector<std::string> ScriptPaths() const override { return {}; }
    void FillTrees() override {}
    void ForwardKey(int, bool) override {}
    project::ProjectModel& Project() override { return project_; }
    // The plain tree of the project's campaigns, test sets and tests (the project's own item on
    // top), so that a run has an item to start from.
    QTreeWidget& Tree() { return *tree_; }

private:
    void FillTree();

    Translate translate_;
    QPointer<QWidget> widget_;
    QPointer<QTreeWidget> tree_;
    project::ProjectModel project_;
};

class StandInOutputBar final : public IOutputBar {
public:
    explicit StandInOutputBar(const Translate& translate);
    ~StandInOutputBar() override;
    QWidget& Widget() override { return *tabs_; }
    void ClearErrors() override {}
    void ClearRuns() override {}
    void ClearVariables() override {}
    void ClearTrace() override;
    void ShowTab(int index) override;
    void AddFindLine(const QString&) override {}
    QWidget* TracePane() override { return trace_; }

private:
    QPointer<QTabWidget> tabs_;
    QPointer<QPlainTextEdit> trace_;
};

class StandInInterfaceSet final : public IInterfaceSet {
public:
    void Clear() override {}
    void RemoveInserted() override {}
    bool Load(const std::filesystem::path&) override { return true; }
    bool Insert(const std::filesystem::path&) override { return true; }
    bool Save() override { return true; }
    bool WriteTempInterface() override { return true; }
    void SetProjectFolder(const std::filesystem::path&) override {}
    bool HasSyntaxLanguage(std::string_view name) const override { return name == "qzs"; }
    std::vector<std::pair<std::string, std::string>> SyntaxLanguages() const override { return {{"ZOV", "qzs"}}; }
};

// The document's text in a plain editor; the buffer takes it back before each save.
class PlainScriptView final : public IScriptView {
public:
    explicit PlainScriptView(ScriptDocument& document);
    ~PlainScriptView() override;
    QWidget& Widget() override { return *editor_; }
    void PushTextToBuffer() override;
    void PullTextFromBuffer() override;
    bool IsRunning() const override { return false; }
    void Stop() override {}
    void SendSync(int) override {}
    void RefreshMacroFolding() override {}
    void SetShowExecution(bool) override {}
    QString WordAtCaret() override;
    bool CaretCommand(int id) override;
    bool HasFocus() const override;
    bool Copy() override;
    bool Paste() override;
    bool HasSelection() const override;
    Position CaretPosition() const override;
    bool Overwrite() const override;
    QPlainTextEdit& Editor() { return *editor_; }

private:
    ScriptDocument& document_;
    QPointer<QPlainTextEdit> editor_;
    bool pulling_ = false;
};

}  // namespace zov::shell

#pragma once
// The dialogs of the interface menu that deal with whole interface files: which files a project
// inserts and the named configurations of them, the problems met while inserting, which inserted
// interfaces are open for editing, and the copying of definitions between two files.

#include "ide/interfaces/InterfaceHost.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"

#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QTreeWidget;

namespace zov::interfaces {

class InterfaceListCtrl;
class InterfaceSet;
struct InterfaceFolders;

// The files a project inserts: an entry beginning with "#" is inactive. A configuration is
// "name=" followed by its active files, each but the list's last entry followed by "|".
class InsertInterfacesDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    InsertInterfacesDialog(QStringList names, QString currentConfiguration, QString projectFolder,
                           QString installFolder, QStringList configurations, QWidget* parent = nullptr,
                           shell::ShellPrompter& prompter = shell::ActivePrompter());

    // Read after OK: the shown names in list order, their ticks, the configurations and the
    // chosen one (empty for "<Défaut>").
    QStringList names;
    std::vector<int> ticks;
    QStringList configurations;
    QString currentConfiguration;

    // Asks the name of a new configuration; by default a small dialog run through the prompter.
    std::function<std::optional<QString>()> askConfigurationName;

    void AddFile();
    void RemoveFile();
    void NewConfiguration();
    void StoreConfiguration();
    void DeleteConfiguration();
    void SelectConfiguration(int item);
    void accept() override;

    // The entry name of a chosen file: "{zov}/" + its path inside the installation folder, else
    // its path relative to the project folder.
    static QString EntryName(const QString& path, const QString& projectFolder, const QString& installFolder);

protected:
    void OnInitDialog() override;

private:
    QString TickedList() const;
    int FindEntry(const QString& text, bool untickedOnly) const;

    shell::ShellPrompter& prompter_;
    QString projectFolder_;
    QString installFolder_;
    QListWidget* files_;
    QComboBox* configurationsBox_;
};

// The name of a new configuration, asked by a plain dialog titled "Nouvelle configuration".
std::optional<QString> AskConfigurationName(QWidget* parent, shell::ShellPrompter& prompter);

// The problems met while inserting: one entry "index;KIND:text" per problem, shown as a tree
// interface > kind > text.
class InsertionErrorDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    InsertionErrorDialog(QStringList names, QStringList errors, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    QStringList names_;
    QStringList errors_;
    QTreeWidget* tree_;
};

// The inserted interfaces with a tick for those open for editing.
class EditInterfaceDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    EditInterfaceDialog(QStringList names, std::vector<int> ticks, QWidget* parent = nullptr);

    QStringList names;
    std::vector<int> ticks;

    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QListWidget* list_;
};

// The edit command: the dialog over the set's inserted interfaces; on OK the set is saved first
// (what was open for editing until now is written), then the ticks apply. True after OK.
bool EditInsertedInterfaces(InterfaceSet& set, QWidget* parent, shell::ShellPrompter& prompter);

// Two interface files side by side, each in a set of its own, with moves, copies and deletes of
// definitions between them; OK saves both files, any other end leaves them untouched.
class CopyInterfacesDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    CopyInterfacesDialog(const InterfaceFolders& folders, QWidget* parent = nullptr,
                         shell::ShellPrompter& prompter = shell::ActivePrompter());
    ~CopyInterfacesDialog() override;

    enum Side { Left = 0, Right = 1 };

    // "..." of a side: a file chosen through the prompter becomes the side's file.
    void Browse(Side side);
    // The side's file read into its set and shown.
    void LoadSide(Side side, const QString& path);
    void SelectTab(int tab);
    void DeleteOn(Side side);
    void MoveFrom(Side side);
    void CopyFrom(Side side);
    void accept() override;

    InterfaceSet& SetOf(Side side) { return *sets_[side]; }
    InterfaceListCtrl& CurrentList(Side side) const;
    const QString& PathOf(Side side) const { return paths_[side]; }

protected:
    void OnInitDialog() override;

private:
    void ShowPaths();
    void resizeEvent(QResizeEvent* event) override;

    shell::ShellPrompter& prompter_;
    PlainInterfaceHost host_;
    std::array<std::unique_ptr<InterfaceSet>, 2> sets_;
    std::array<QString, 2> paths_;
    std::array<QLineEdit*, 2> pathEdits_{};
    std::array<std::array<InterfaceListCtrl*, 4>, 2> lists_{};
    std::array<QStackedWidget*, 2> stacks_{};
    std::array<QToolButton*, 2> deleteButtons_{};
    std::array<QToolButton*, 2> moveButtons_{};
    std::array<QToolButton*, 2> copyButtons_{};
    QTabBar* tabs_ = nullptr;
};

}  // namespace zov::interfaces

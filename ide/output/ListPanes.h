#pragma once

// The error pane ("Erreurs"), the data pane ("Données") with its value dialog, and the find pane
// ("Recherche dans les scripts").

#include <QListWidget>

#include <memory>
#include <string>
#include <vector>

#include "ide/output/OutputContext.h"
#include "ide/output/model/PaneRules.h"
#include "ide/shell/SortableListCtrl.h"
#include "ide/shell/ThemedDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zov::output {

// The script an error belongs to: its name in the list, its path to open.
struct ScriptEntry {
    std::string name;
    std::string path;
};

class CErrorView : public shell::SortableListCtrl {
    Q_OBJECT

public:
    explicit CErrorView(const OutputContext& context, QWidget* parent = nullptr);
    // `entry` null: a row of no script, which opens nothing.
    void AddError(std::string_view text, std::shared_ptr<const ScriptEntry> entry);
    void DeleteAllItems();
    // Opens the row's script at its line with the error mark; false for a row without a script.
    bool OpenRow(int row);

private:
    OutputContext context_;
    std::vector<std::shared_ptr<const ScriptEntry>> entries_;
};

class CDataView : public shell::SortableListCtrl {
    Q_OBJECT

public:
    explicit CDataView(const OutputContext& context, QWidget* parent = nullptr);
    void SetData(const std::string& name, const std::string& value, bool saveInProject);
    std::string GetData(const std::string& name) const;
    // Drops the rows kept with the project (a closed project's data must not reach the next one).
    void RemoveProjectData();
    // Names and values of the rows kept in the project, in row order.
    void GetAll(std::vector<std::string>& names, std::vector<std::string>& values) const;
    void Clear();
    const DataStore& Store() const { return store_; }
    // The row picture of the project flag.
    const QIcon& FlagPicture(bool saveInProject) const { return pictures_[saveInProject ? 1 : 0]; }

    // Commands 38600 (new data dialog), 38601 (delete the selected row, asks first); the
    // double-click edits the selected row.
    void OnAdd();
    void OnDelete();
    void OnEditItem();

private:
    int RowOf(const std::string& name) const;
    OutputContext context_;
    DataStore store_;
    QIcon pictures_[2];
};

// "Nouvelle valeur" of a data row: name, value and the project flag.
class DataValueDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    DataValueDialog(const std::string& name, const std::string& value, bool save, QWidget* parent = nullptr);
    std::string Name() const;
    std::string Value() const;
    bool Save() const;
    QLineEdit* NameField() const { return name_; }
    QLineEdit* ValueField() const { return value_; }
    QCheckBox* SaveBox() const { return save_; }

private:
    QLineEdit* name_;
    QLineEdit* value_;
    QCheckBox* save_;
};

class CFindView : public QListWidget {
    Q_OBJECT

public:
    explicit CFindView(const OutputContext& context, QWidget* parent = nullptr);
    // A result row: its text without line breaks, and its key "path:line".
    void AddResult(std::string_view text, std::string key);
    // A heading or summary row, which opens nothing.
    void AddLine(std::string_view text);
    void Clear();
    void SelectNext();
    void SelectPrevious();
    // Opens the selected row's script at its line; false when it has no key.
    bool OpenSelected();
    const std::vector<std::string>& Keys() const { return keys_; }

private:
    OutputContext context_;
    std::vector<std::string> keys_;
};

}  // namespace zov::output

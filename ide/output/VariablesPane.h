#pragma once

// The "Variables" pane: variables watched for a test, their values as the engine answers them,
// and the value dialog whose typed parser checks a new value before the active view sends it;
// with the new variable dialog.

#include <string>

#include "ide/execution/model/RunRecord.h"
#include "ide/output/OutputContext.h"
#include "ide/output/model/PaneRules.h"
#include "ide/shell/SortableListCtrl.h"
#include "ide/shell/ThemedDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zov::output {

class CVariableView : public shell::SortableListCtrl {
    Q_OBJECT

public:
    explicit CVariableView(const OutputContext& context, QWidget* parent = nullptr);
    void AddVariable(const std::string& name, execution::RunRecord* record);
    bool IsWatched(const std::string& name, const execution::RunRecord* record) const;
    void UpdateVariable(const std::string& name, const std::string& value, int kind,
                        const execution::RunRecord* record);
    void Clear();
    // Command 32880.
    void DeleteSelected();
    // Every watched name, whatever its record (what the view asks the engine for).
    std::vector<std::string> Names() const { return watches_.Names(); }
    const WatchList& Watches() const { return watches_; }
    // The double-click: the value dialog for a row that has a value; true when a value was sent.
    bool EditRow(int row);

private:
    OutputContext context_;
    WatchList watches_;
};

// "Nouvelle variable": OK only while a name is typed.
class NewVariableDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    explicit NewVariableDialog(QWidget* parent = nullptr);
    std::string Name() const;
    void SetName(const std::string& name);
    QLineEdit* NameField() const { return name_; }
    QPushButton* OkButton() const { return ok_; }

private:
    QLineEdit* name_;
    QPushButton* ok_;
};

// "Nouvelle valeur": the value is checked against the kind the engine reported; a value that
// fails it is refused with "Valeur incorrecte !" and the dialog stays open.
class NewValueDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    NewValueDialog(const OutputContext& context, const std::string& name, const std::string& value, int kind,
                   QWidget* parent = nullptr);
    void accept() override;
    std::string Stored() const { return stored_; }
    std::string Sent() const { return sent_; }
    QLineEdit* ValueField() const { return value_; }

private:
    const OutputContext& context_;
    int kind_;
    QLineEdit* value_;
    std::string stored_;
    std::string sent_;
};

}  // namespace zov::output

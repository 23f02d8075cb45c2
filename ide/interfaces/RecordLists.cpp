// Creating and changing records through their dialogs, one kind at a time.
#include "ide/interfaces/InterfaceListCtrl.h"
#include "ide/interfaces/RecordDialogs.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/MacroText.h"
#include "ide/interfaces/model/RowTexts.h"

namespace zov::interfaces {

namespace {

bool Accepted(shell::ShellPrompter& prompter, QDialog& dialog)
{
    return prompter.Exec(dialog) == QDialog::Accepted;
}

void RecordChanged(InterfaceSet& set)
{
    set.NamesChanged();
    set.SetModified(true);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CLI

bool CliListCtrl::AddRecord()
{
    if (Set() == nullptr)
        return false;
    std::vector<int> indexes;
    CliDialog dialog(false, OfferedInterfaces(indexes), this, Prompter());
    dialog.SetFolders(FromUtf8(Set()->MainPath()), FromUtf8(Host().EngineFolder()));
    if (!Accepted(Prompter(), dialog))
        return false;
    const CliValues& v = dialog.values;
    if (v.name.isEmpty() || v.path.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherCli(nullptr, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    Set()->AddCli(ToUtf8(v.name), ToUtf8(v.path), ToUtf8(v.syncMessage), v.syncMode == 1 ? 1 : 0, ToUtf8(v.stopMessage),
                  v.stripLineBreaks ? 1 : 0, v.stripQuotes ? 1 : 0, TargetInterface(v.interfaceChoice, indexes));
    Refill();
    NotifyChange();
    return true;
}

bool CliListCtrl::ModifyRecord()
{
    const InterfaceItemData* rowData = EditFlag() ? SelectedRecordRow() : nullptr;
    if (rowData == nullptr)
        return false;
    auto* record = static_cast<CliRecord*>(rowData->record);
    const bool readOnly = !IsEditableInterface(rowData->interfaceIndex);
    CliDialog dialog(readOnly, {InterfaceName(rowData->interfaceIndex)}, this, Prompter());
    dialog.SetFolders(FromUtf8(Set()->MainPath()), FromUtf8(Host().EngineFolder()));
    dialog.values.name = FromUtf8(record->name);
    dialog.values.path = FromUtf8(record->path);
    dialog.values.syncMessage = FromUtf8(record->syncMessage);
    dialog.values.syncMode = record->syncMode == 1 ? 1 : 0;
    dialog.values.stopMessage = FromUtf8(record->stopMessage);
    dialog.values.stripLineBreaks = record->stripLineBreaks != 0;
    dialog.values.stripQuotes = record->stripQuotes != 0;
    if (!Accepted(Prompter(), dialog) || readOnly)
        return false;
    const CliValues& v = dialog.values;
    if (v.name.isEmpty() || v.path.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherCli(record, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    record->name = ToUtf8(v.name);
    record->path = ToUtf8(v.path);
    record->syncMessage = ToUtf8(v.syncMessage);
    record->syncMode = v.syncMode == 1 ? 1 : 0;
    record->stopMessage = ToUtf8(v.stopMessage);
    record->stripLineBreaks = v.stripLineBreaks ? 1 : 0;
    record->stripQuotes = v.stripQuotes ? 1 : 0;
    RecordChanged(*Set());
    RewriteRow(SelectedRow());
    SortRows();
    NotifyChange();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Function

namespace {

int ReturnTypeOf(int choice)
{
    return choice >= 1 && choice <= 4 ? choice : 0;
}

}  // namespace

bool FunctionListCtrl::AddRecord()
{
    if (Set() == nullptr)
        return false;
    std::vector<int> indexes;
    FunctionDialog dialog(false, OfferedInterfaces(indexes), this);
    if (!Accepted(Prompter(), dialog))
        return false;
    const FunctionValues& v = dialog.values;
    if (v.name.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherFunction(nullptr, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    const std::string command = ToUtf8(v.command);
    Set()->AddFunction(ToUtf8(v.name), command, CountParameters(command), ReturnTypeOf(v.returnType),
                       TargetInterface(v.interfaceChoice, indexes));
    Refill();
    NotifyChange();
    return true;
}

bool FunctionListCtrl::ModifyRecord()
{
    const InterfaceItemData* rowData = EditFlag() ? SelectedRecordRow() : nullptr;
    if (rowData == nullptr)
        return false;
    auto* record = static_cast<FunctionRecord*>(rowData->record);
    const bool readOnly = !IsEditableInterface(rowData->interfaceIndex);
    FunctionDialog dialog(readOnly, {InterfaceName(rowData->interfaceIndex)}, this);
    dialog.values.name = FromUtf8(record->name);
    dialog.values.command = FromUtf8(record->command);
    dialog.values.returnType = ReturnTypeOf(record->returnType);
    if (!Accepted(Prompter(), dialog) || readOnly)
        return false;
    const FunctionValues& v = dialog.values;
    if (v.name.isEmpty() || v.command.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherFunction(record, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    record->name = ToUtf8(v.name);
    record->command = ToUtf8(v.command);
    record->returnType = ReturnTypeOf(v.returnType);
    record->paramCount = CountParameters(record->command);
    RecordChanged(*Set());
    RewriteRow(SelectedRow());
    SortRows();
    NotifyChange();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Constant

bool ConstantListCtrl::AddRecord()
{
    if (Set() == nullptr)
        return false;
    std::vector<int> indexes;
    ConstantDialog dialog(false, OfferedInterfaces(indexes), this);
    if (!Accepted(Prompter(), dialog))
        return false;
    const ConstantValues& v = dialog.values;
    if (v.name.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherConstant(nullptr, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    Set()->AddConstant(ToUtf8(v.name), ToUtf8(v.value), v.type >= 0 && v.type <= 3 ? v.type : 0,
                       TargetInterface(v.interfaceChoice, indexes));
    Refill();
    NotifyChange();
    return true;
}

bool ConstantListCtrl::ModifyRecord()
{
    return EditFlag() && ModifyRow(SelectedRow());
}

bool ConstantListCtrl::EditConstant(const std::string& name)
{
    for (int row = 0; row < rowCount(); ++row) {
        const InterfaceItemData* rowData = ItemDataAt(row);
        if (rowData != nullptr && rowData->record != nullptr &&
            static_cast<const ConstantRecord*>(rowData->record)->name == name) {
            SelectOnly(row);
            return ModifyRow(row);
        }
    }
    return false;
}

bool ConstantListCtrl::ModifyRow(int row)
{
    const InterfaceItemData* rowData = Set() != nullptr && row >= 0 ? ItemDataAt(row) : nullptr;
    if (rowData == nullptr || rowData->record == nullptr)
        return false;
    auto* record = static_cast<ConstantRecord*>(rowData->record);
    const bool readOnly = !IsEditableInterface(rowData->interfaceIndex);
    ConstantDialog dialog(readOnly, {InterfaceName(rowData->interfaceIndex)}, this);
    dialog.values.name = FromUtf8(record->name);
    dialog.values.value = FromUtf8(record->value);
    dialog.values.type = record->type;
    if (!Accepted(Prompter(), dialog) || readOnly)
        return false;
    const ConstantValues& v = dialog.values;
    if (v.name.isEmpty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherConstant(record, ToUtf8(v.name))) {
        Tell(DuplicateMessage());
        return false;
    }
    record->name = ToUtf8(v.name);
    record->value = ToUtf8(v.value);
    record->type = v.type >= 0 && v.type <= 3 ? v.type : 0;
    RecordChanged(*Set());
    RewriteRow(row);
    SortRows();
    NotifyChange();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Macro

bool MacroListCtrl::AddRecord()
{
    if (Set() == nullptr)
        return false;
    std::vector<int> indexes;
    MacroDialog dialog(false, OfferedInterfaces(indexes), true, this);
    if (!Accepted(Prompter(), dialog))
        return false;
    const std::string name = ToUtf8(dialog.name);
    if (name.empty()) {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherMacro(nullptr, name)) {
        Tell(DuplicateMessage());
        return false;
    }
    if (!Set()->IsNameFree(name)) {
        Tell("Ce nom est invalide, il est déjà définit !");
        return false;
    }
    ApplyMacroText(name, std::string(), true, TargetInterface(dialog.interfaceIndex, indexes));
    return true;
}

bool MacroListCtrl::ModifyRecord()
{
    const InterfaceItemData* rowData = EditFlag() ? SelectedRecordRow() : nullptr;
    if (rowData == nullptr)
        return false;
    auto* record = static_cast<MacroRecord*>(rowData->record);
    Host().CloseMacroFile(record->name);
    const bool readOnly = !IsEditableInterface(rowData->interfaceIndex);
    MacroDialog dialog(readOnly, {InterfaceName(rowData->interfaceIndex)}, false, this);
    dialog.name = FromUtf8(record->name);
    if (!Accepted(Prompter(), dialog))
        return false;
    if (readOnly) {
        // "Afficher" leaves the dialog in view-only mode; OK takes it out of it.
        if (dialog.viewOnly)
            Host().ShowMacroReadOnly(*record);
        return false;
    }
    const std::string name = ToUtf8(dialog.name);
    if (name.empty() || name == "MACRO") {
        Prompter().Beep();
        return false;
    }
    if (Set()->FindOtherMacro(record, name)) {
        Tell(DuplicateMessage());
        return false;
    }
    if (!Set()->IsNameFree(name)) {
        Tell("Ce nom est invalide, il est déjà définit !");
        return false;
    }
    record->name = name;
    RecordChanged(*Set());
    SetItemText(SelectedRow(), 0, FromUtf8(" " + name));
    setFocus();
    SortRows();
    if (dialog.openEditor)
        Host().OpenMacroFile(*record);
    NotifyChange();
    return true;
}

MacroRecord* MacroListCtrl::ApplyMacroText(const std::string& name, const std::string& text, bool open,
                                           int interfaceIndex)
{
    if (Set() == nullptr)
        return nullptr;
    MacroRecord* record = Set()->AddMacro(name, FoldMacroText(text), interfaceIndex);
    Refill();
    if (open && record != nullptr)
        Host().OpenMacroFile(*record);
    return record;
}

void MacroListCtrl::UpdateMacroRow(const MacroRecord& record)
{
    if (Set() == nullptr)
        return;
    for (int row = 0; row < rowCount(); ++row) {
        const InterfaceItemData* rowData = ItemDataAt(row);
        if (rowData != nullptr && rowData->record == &record) {
            SetItemText(row, 1, FromUtf8(" " + EditedMacroBodyRowText(record.body)));
            return;
        }
    }
}

void MacroListCtrl::OpenMacro(const std::string& name)
{
    for (int row = 0; row < rowCount(); ++row) {
        const InterfaceItemData* rowData = ItemDataAt(row);
        if (rowData == nullptr || rowData->record == nullptr)
            continue;
        auto* record = static_cast<MacroRecord*>(rowData->record);
        if (record->name != name)
            continue;
        if (rowData->interfaceIndex == -1) {
            Host().OpenMacroFile(*record);
            NotifyChange();
        } else {
            Host().ShowMacroReadOnly(*record);
        }
        return;
    }
}

}  // namespace zov::interfaces

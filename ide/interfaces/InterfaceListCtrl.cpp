#include "ide/interfaces/InterfaceListCtrl.h"

#include "ide/interfaces/DialogParts.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/RowTexts.h"
#include "common/AsciiCase.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>

#include <algorithm>
#include <map>
#include <set>

namespace zov::interfaces {

namespace {

// The row's data lives in its first cell, so that a click on a heading, which moves the cells,
// keeps each row with its record.
constexpr int kItemDataRole = Qt::UserRole + 7;

}  // namespace

InterfaceListCtrl::InterfaceListCtrl(QWidget* parent) : SortableListCtrl(parent), host_(&NoInterfaceHost())
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &SortableListCtrl::CurrentItem, this, [this](int row, qint64) { OnCurrentItem(row); });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int, int) { ModifyRecord(); });
}

InterfaceListCtrl::~InterfaceListCtrl() = default;

void InterfaceListCtrl::Init(QObject* owner, bool notify, bool edit)
{
    for (const Column& column : Columns())
        InsertColumn(columnCount(), TT(column.heading), Qt::AlignLeft, column.width, 0, true);
    owner_ = owner;
    notify_ = notify;
    edit_ = edit;
}

void InterfaceListCtrl::SetViewAllInterfaces(bool viewAll)
{
    viewAll_ = viewAll;
    Refill();
}

shell::ShellPrompter& InterfaceListCtrl::Prompter() const
{
    return prompter_ != nullptr ? *prompter_ : shell::ActivePrompter();
}

const InterfaceItemData* InterfaceListCtrl::ItemDataAt(int row) const
{
    const QTableWidgetItem* cell = item(row, 0);
    if (cell == nullptr)
        return nullptr;
    return reinterpret_cast<const InterfaceItemData*>(cell->data(kItemDataRole).value<quintptr>());
}

bool InterfaceListCtrl::IsEditableInterface(int interfaceIndex) const
{
    return interfaceIndex < 0 || (set_ != nullptr && set_->IsInterfaceEditable(interfaceIndex));
}

const InterfaceItemData* InterfaceListCtrl::SelectedRecordRow() const
{
    if (set_ == nullptr || selectedRow_ < 0)
        return nullptr;
    const InterfaceItemData* rowData = ItemDataAt(selectedRow_);
    return rowData != nullptr && rowData->record != nullptr ? rowData : nullptr;
}

void InterfaceListCtrl::Refill()
{
    if (set_ == nullptr)
        return;
    {
        const QSignalBlocker blocker(selectionModel());
        setRowCount(0);
        items_.clear();
        selectedRow_ = -1;
        // Each record joins the group of its own interface, even when the set-wide list holds
        // it after records of inserted interfaces (added to the main interface later).
        std::set<int> headers;
        for (const RecordRef& ref : SetRecords()) {
            if (ref.interfaceIndex != -1 && !viewAll_)
                continue;
            if (ref.interfaceIndex >= 0 && headers.insert(ref.interfaceIndex).second)
                AppendRow(ref.interfaceIndex, nullptr,
                          {FromUtf8(InsertedInterfaceHeaderText(ToUtf8(InterfaceName(ref.interfaceIndex))))});
            QStringList texts;
            for (const std::string& text : RecordTexts(ref.record))
                texts.push_back(FromUtf8(text));
            AppendRow(ref.interfaceIndex, ref.record, texts);
        }
    }
    SortRows();
    if (owner_ != nullptr)
        emit EditStateChanged(false);
}

int InterfaceListCtrl::AppendRow(int interfaceIndex, void* record, const QStringList& texts)
{
    items_.push_back(std::make_unique<InterfaceItemData>(InterfaceItemData{interfaceIndex, record}));
    const int row = InsertItem(rowCount(), texts.value(0));
    item(row, 0)->setData(kItemDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(items_.back().get())));
    for (int column = 1; column < texts.size(); ++column)
        SetItemText(row, column, texts[column]);
    Paint(row);
    return row;
}

void InterfaceListCtrl::Paint(int row)
{
    const InterfaceItemData* rowData = ItemDataAt(row);
    if (rowData == nullptr)
        return;
    QBrush brush;
    if (rowData->record == nullptr)
        brush = QBrush(kHeaderRowColour);
    else if (!IsEditableInterface(rowData->interfaceIndex))
        brush = QBrush(kReadOnlyRowColour);
    for (int column = 0; column < columnCount(); ++column) {
        if (QTableWidgetItem* cell = item(row, column))
            cell->setBackground(brush);
    }
}

void InterfaceListCtrl::RewriteRow(int row)
{
    const InterfaceItemData* rowData = ItemDataAt(row);
    if (rowData == nullptr || rowData->record == nullptr)
        return;
    const std::vector<std::string> texts = RecordTexts(rowData->record);
    for (std::size_t column = 0; column < texts.size(); ++column)
        SetItemText(row, static_cast<int>(column), FromUtf8(texts[column]));
}

void InterfaceListCtrl::SortRows()
{
    struct Row {
        const InterfaceItemData* rowData;
        std::string key;
        QStringList texts;
    };
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row) {
        Row entry{ItemDataAt(row), {}, {}};
        if (entry.rowData != nullptr && entry.rowData->record != nullptr)
            entry.key = ToUpperAscii(RecordName(entry.rowData->record));
        for (int column = 0; column < columnCount(); ++column)
            entry.texts.push_back(GetItemText(row, column));
        rows.push_back(std::move(entry));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        const int ia = a.rowData != nullptr ? a.rowData->interfaceIndex : -1;
        const int ib = b.rowData != nullptr ? b.rowData->interfaceIndex : -1;
        if (ia != ib)
            return ia < ib;
        const bool headerA = a.rowData != nullptr && a.rowData->record == nullptr;
        const bool headerB = b.rowData != nullptr && b.rowData->record == nullptr;
        if (headerA != headerB)
            return headerA;
        return a.key < b.key;
    });
    const InterfaceItemData* selected = selectedRow_ >= 0 ? ItemDataAt(selectedRow_) : nullptr;
    int selectedAt = -1;
    {
        const QSignalBlocker blocker(selectionModel());
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            const Row& entry = rows[static_cast<std::size_t>(row)];
            item(row, 0)->setData(kItemDataRole, QVariant::fromValue(reinterpret_cast<quintptr>(entry.rowData)));
            // Texts move as they are: a header row keeps its empty cells.
            for (int column = 0; column < entry.texts.size(); ++column)
                item(row, column)->setText(entry.texts[column]);
            Paint(row);
            if (entry.rowData == selected && selected != nullptr)
                selectedAt = row;
        }
        clearSelection();
    }
    if (selectedAt >= 0)
        SelectOnly(selectedAt);
}

void InterfaceListCtrl::SelectRecord(const void* record)
{
    for (int row = 0; row < rowCount(); ++row) {
        const InterfaceItemData* rowData = ItemDataAt(row);
        if (rowData != nullptr && rowData->record == record) {
            SelectOnly(row);
            return;
        }
    }
}

void InterfaceListCtrl::OnCurrentItem(int row)
{
    selectedRow_ = row;
    if (owner_ == nullptr)
        return;
    if (row < 0) {
        emit EditStateChanged(false);
        return;
    }
    const InterfaceItemData* rowData = ItemDataAt(row);
    if (rowData == nullptr)
        return;
    emit EditStateChanged(IsEditableInterface(rowData->interfaceIndex));
}

QString InterfaceListCtrl::InterfaceName(int interfaceIndex) const
{
    if (set_ == nullptr)
        return {};
    return FromUtf8(interfaceIndex < 0 ? host_->ProjectInterfaceName(*set_)
                                       : host_->InsertedInterfaceName(*set_, interfaceIndex));
}

QStringList InterfaceListCtrl::OfferedInterfaces(std::vector<int>& indexes) const
{
    indexes.clear();
    QStringList names{InterfaceName(-1)};
    for (int i = 0; set_ != nullptr && i < set_->InsertedCount(); ++i) {
        if (set_->IsInterfaceEditable(i)) {
            names.push_back(InterfaceName(i));
            indexes.push_back(i);
        }
    }
    return names;
}

int InterfaceListCtrl::TargetInterface(int choice, const std::vector<int>& indexes)
{
    if (choice < 0 || static_cast<std::size_t>(choice) >= indexes.size())
        return -1;
    return indexes[static_cast<std::size_t>(choice)];
}

void InterfaceListCtrl::Tell(const char* text)
{
    Prompter().Tell(ToUtf8(TT(text)));
}

void InterfaceListCtrl::NotifyChange()
{
    if (notify_)
        host_->InterfacesChanged();
}

bool InterfaceListCtrl::DeleteRecord()
{
    const InterfaceItemData* rowData = SelectedRecordRow();
    if (rowData == nullptr)
        return false;
    if (Prompter().Ask(ToUtf8(TT(DeleteQuestion())), shell::PromptIcon::Question, shell::PromptButtons::YesNo) !=
        shell::PromptAnswer::Yes)
        return false;
    void* record = rowData->record;
    BeforeDelete(record);
    RemoveFromSet(record);
    Refill();
    NotifyChange();
    return true;
}

bool InterfaceListCtrl::CopyRecordTo(InterfaceSet& target)
{
    const InterfaceItemData* rowData = SelectedRecordRow();
    if (rowData == nullptr)
        return false;
    if (HasOtherNamed(target, nullptr, RecordName(rowData->record))) {
        Tell(DuplicateMessage());
        return false;
    }
    AddCopy(target, rowData->record);
    return true;
}

bool InterfaceListCtrl::MoveRecordTo(InterfaceSet& target)
{
    const InterfaceItemData* rowData = SelectedRecordRow();
    if (rowData == nullptr || !CopyRecordTo(target))
        return false;
    const int row = selectedRow_;
    RemoveFromSet(rowData->record);
    removeRow(row);
    return true;
}

// ---------------------------------------------------------------------------------------------
// The four kinds

namespace {

template <class Record>
std::vector<InterfaceListCtrl::RecordRef> RefsOf(const std::vector<Record*>& records)
{
    std::vector<InterfaceListCtrl::RecordRef> refs;
    refs.reserve(records.size());
    for (Record* record : records)
        refs.push_back({record->interfaceIndex, record});
    return refs;
}

}  // namespace

std::vector<InterfaceListCtrl::Column> CliListCtrl::Columns() const
{
    return {{"Nom", 100}, {"Exécutable", 200}};
}

std::vector<InterfaceListCtrl::RecordRef> CliListCtrl::SetRecords() const
{
    return RefsOf(Set()->All().clis.Records());
}

std::string CliListCtrl::RecordName(const void* record) const
{
    return static_cast<const CliRecord*>(record)->name;
}

std::vector<std::string> CliListCtrl::RecordTexts(const void* record) const
{
    return CliRowTexts(*static_cast<const CliRecord*>(record));
}

bool CliListCtrl::HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const
{
    return set.FindOtherCli(static_cast<const CliRecord*>(exclude), name);
}

void CliListCtrl::AddCopy(InterfaceSet& target, const void* record) const
{
    const auto& r = *static_cast<const CliRecord*>(record);
    target.AddCli(r.name, r.path, r.syncMessage, r.syncMode, r.stopMessage, r.stripLineBreaks, r.stripQuotes, -1);
}

void CliListCtrl::RemoveFromSet(const void* record)
{
    Set()->RemoveCli(static_cast<const CliRecord*>(record));
}

const char* CliListCtrl::DuplicateMessage() const
{
    return "Ce CLI existe déjà !";
}

const char* CliListCtrl::DeleteQuestion() const
{
    return "Supprimer le CLI sélectionné ?";
}

std::vector<InterfaceListCtrl::Column> FunctionListCtrl::Columns() const
{
    return {{"Nom", 100}, {"Action", 120}, {"Retour", 70}, {"#", 30}};
}

std::vector<InterfaceListCtrl::RecordRef> FunctionListCtrl::SetRecords() const
{
    return RefsOf(Set()->All().functions.Records());
}

std::string FunctionListCtrl::RecordName(const void* record) const
{
    return static_cast<const FunctionRecord*>(record)->name;
}

std::vector<std::string> FunctionListCtrl::RecordTexts(const void* record) const
{
    return FunctionRowTexts(*static_cast<const FunctionRecord*>(record),
                            [](std::string_view text) { return ToUtf8(TT(std::string(text).c_str())); });
}

bool FunctionListCtrl::HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const
{
    return set.FindOtherFunction(static_cast<const FunctionRecord*>(exclude), name);
}

void FunctionListCtrl::AddCopy(InterfaceSet& target, const void* record) const
{
    const auto& r = *static_cast<const FunctionRecord*>(record);
    target.AddFunction(r.name, r.command, r.paramCount, r.returnType, -1);
}

void FunctionListCtrl::RemoveFromSet(const void* record)
{
    Set()->RemoveFunction(static_cast<const FunctionRecord*>(record));
}

const char* FunctionListCtrl::DuplicateMessage() const
{
    return "Cette fonction existe déjà !";
}

const char* FunctionListCtrl::DeleteQuestion() const
{
    return "Supprimer la fonction sélectionnée ?";
}

std::vector<InterfaceListCtrl::Column> ConstantListCtrl::Columns() const
{
    return {{"Nom", 100}, {"Type", 65}, {"Valeur", 200}};
}

std::vector<InterfaceListCtrl::RecordRef> ConstantListCtrl::SetRecords() const
{
    return RefsOf(Set()->All().constants.Records());
}

std::string ConstantListCtrl::RecordName(const void* record) const
{
    return static_cast<const ConstantRecord*>(record)->name;
}

std::vector<std::string> ConstantListCtrl::RecordTexts(const void* record) const
{
    return ConstantRowTexts(*static_cast<const ConstantRecord*>(record),
                            [](std::string_view text) { return ToUtf8(TT(std::string(text).c_str())); });
}

bool ConstantListCtrl::HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const
{
    return set.FindOtherConstant(static_cast<const ConstantRecord*>(exclude), name);
}

void ConstantListCtrl::AddCopy(InterfaceSet& target, const void* record) const
{
    const auto& r = *static_cast<const ConstantRecord*>(record);
    target.AddConstant(r.name, r.value, r.type, -1);
}

void ConstantListCtrl::RemoveFromSet(const void* record)
{
    Set()->RemoveConstant(static_cast<const ConstantRecord*>(record));
}

const char* ConstantListCtrl::DuplicateMessage() const
{
    return "Cette constante existe déjà !";
}

const char* ConstantListCtrl::DeleteQuestion() const
{
    return "Supprimer la constante sélectionnée ?";
}

std::vector<InterfaceListCtrl::Column> MacroListCtrl::Columns() const
{
    return {{"Nom", 100}, {"Valeur", 200}};
}

std::vector<InterfaceListCtrl::RecordRef> MacroListCtrl::SetRecords() const
{
    return RefsOf(Set()->All().macros.Records());
}

std::string MacroListCtrl::RecordName(const void* record) const
{
    return static_cast<const MacroRecord*>(record)->name;
}

std::vector<std::string> MacroListCtrl::RecordTexts(const void* record) const
{
    return MacroRowTexts(*static_cast<const MacroRecord*>(record));
}

bool MacroListCtrl::HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const
{
    return set.FindOtherMacro(static_cast<const MacroRecord*>(exclude), name);
}

void MacroListCtrl::AddCopy(InterfaceSet& target, const void* record) const
{
    const auto& r = *static_cast<const MacroRecord*>(record);
    target.AddMacro(r.name, r.body, -1);
}

void MacroListCtrl::RemoveFromSet(const void* record)
{
    Set()->RemoveMacro(static_cast<const MacroRecord*>(record));
}

const char* MacroListCtrl::DuplicateMessage() const
{
    return "Cette macro existe déjà !";
}

const char* MacroListCtrl::DeleteQuestion() const
{
    return "Supprimer la macro sélectionnée ?";
}

void MacroListCtrl::BeforeDelete(void* record)
{
    Host().CloseMacroFile(static_cast<const MacroRecord*>(record)->name);
}

}  // namespace zov::interfaces

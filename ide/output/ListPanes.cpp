#include "ide/output/ListPanes.h"

#include "ide/output/PanePictures.h"
#include "ide/shell/ObjectNames.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zov::output {

namespace {

constexpr int kEntryRole = Qt::UserRole + 7;

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CErrorView::CErrorView(const OutputContext& context, QWidget* parent) : SortableListCtrl(parent), context_(context)
{
    shell::SetControlId(*this, 0x7104);
    InsertColumn(0, Q(context_.Tr("Script")), Qt::AlignLeft, 150);
    InsertColumn(1, Q(context_.Tr("Ligne")), Qt::AlignLeft, 50);
    InsertColumn(2, Q(context_.Tr("Erreur")), Qt::AlignLeft, 300);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OpenRow(row); });
}

void CErrorView::AddError(std::string_view text, std::shared_ptr<const ScriptEntry> entry)
{
    const ErrorRowTexts texts = SplitErrorText(text, context_.translate);
    const int row = InsertItem(rowCount(), Q(" " + (entry ? entry->name : std::string())));
    SetItemText(row, 1, Q(texts.line));
    SetItemText(row, 2, Q(texts.message));
    item(row, 0)->setData(kEntryRole, static_cast<qlonglong>(entries_.size()));
    entries_.push_back(std::move(entry));
}

void CErrorView::DeleteAllItems()
{
    setRowCount(0);
    entries_.clear();
}

bool CErrorView::OpenRow(int row)
{
    if (row < 0 || row >= rowCount() || item(row, 0) == nullptr)
        return false;
    const auto index = static_cast<std::size_t>(item(row, 0)->data(kEntryRole).toLongLong());
    if (index >= entries_.size() || !entries_[index])
        return false;
    if (context_.openScriptAtLine)
        context_.openScriptAtLine(entries_[index]->path, ErrorRowLine(GetItemText(row, 1).toStdString()), true);
    return true;
}

CDataView::CDataView(const OutputContext& context, QWidget* parent) : SortableListCtrl(parent), context_(context)
{
    shell::SetControlId(*this, 0x7103);
    InsertColumn(0, Q(context_.Tr("Nom")), Qt::AlignLeft, 150);
    InsertColumn(1, Q(context_.Tr("Valeur")), Qt::AlignLeft, 700);
    pictures_[0] = PanePicture(PanePictureId::NotSaved);
    pictures_[1] = PanePicture(PanePictureId::Saved);
    SetImageList({pictures_[0], pictures_[1]});
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int, int) { OnEditItem(); });
}

int CDataView::RowOf(const std::string& name) const
{
    const QString key = Q(name);
    for (int row = 0; row < rowCount(); ++row)
        if (GetItemText(row, 0) == key)
            return row;
    return -1;
}

void CDataView::SetData(const std::string& name, const std::string& value, bool saveInProject)
{
    bool added = false;
    store_.SetData(name, value, saveInProject, &added);
    if (!added) {
        SetItemText(RowOf(name), 1, Q(value));
        return;
    }
    const int row = InsertItem(rowCount(), Q(name), saveInProject ? 1 : 0);
    SetItemText(row, 1, Q(value));
}

std::string CDataView::GetData(const std::string& name) const
{
    return store_.GetData(name);
}

void CDataView::GetAll(std::vector<std::string>& names, std::vector<std::string>& values) const
{
    names.clear();
    values.clear();
    for (int row = 0; row < rowCount(); ++row) {
        const std::string name = GetItemText(row, 0).toStdString();
        for (const DataItem& item : store_.Items()) {
            if (item.name == name && item.saveInProject) {
                names.push_back(item.name);
                values.push_back(item.value);
            }
        }
    }
}

void CDataView::Clear()
{
    setRowCount(0);
    store_.Clear();
}

void CDataView::OnAdd()
{
    DataValueDialog dialog({}, {}, false, this);
    dialog.setWindowTitle(QString());
    shell::SetControlId(dialog, 9009);
    if (context_.Prompter().Exec(dialog) == QDialog::Accepted && !dialog.Name().empty())
        SetData(dialog.Name(), dialog.Value(), dialog.Save());
}

void CDataView::RemoveProjectData()
{
    for (int row = rowCount() - 1; row >= 0; --row) {
        const std::string name = GetItemText(row, 0).toStdString();
        for (std::size_t i = 0; i < store_.Items().size(); ++i) {
            if (store_.Items()[i].name == name && store_.Items()[i].saveInProject) {
                store_.Remove(i);
                removeRow(row);
                break;
            }
        }
    }
}

void CDataView::OnDelete()
{
    std::vector<unsigned> rows;
    if (GetSelectedItems(rows) != 1)
        return;
    if (context_.Prompter().Ask(context_.Tr("Supprimer la donnée sélectionnée ?"), shell::PromptIcon::Question,
                                shell::PromptButtons::YesNo) != shell::PromptAnswer::Yes)
        return;
    const int row = static_cast<int>(rows.front());
    const std::string name = GetItemText(row, 0).toStdString();
    for (std::size_t i = 0; i < store_.Items().size(); ++i) {
        if (store_.Items()[i].name == name) {
            store_.Remove(i);
            break;
        }
    }
    removeRow(row);
}

void CDataView::OnEditItem()
{
    std::vector<unsigned> rows;
    if (GetSelectedItems(rows) != 1)
        return;
    const int row = static_cast<int>(rows.front());
    const std::string name = GetItemText(row, 0).toStdString();
    DataItem* item = nullptr;
    for (DataItem& candidate : store_.Items())
        if (candidate.name == name)
            item = &candidate;
    if (item == nullptr)
        return;
    DataValueDialog dialog(item->name, item->value, item->saveInProject, this);
    // The name is the row's key: it is shown, not changed here.
    dialog.NameField()->setReadOnly(true);
    if (context_.Prompter().Exec(dialog) != QDialog::Accepted)
        return;
    item->value = dialog.Value();
    item->saveInProject = dialog.Save();
    SetItemText(row, 1, Q(item->value));
    SetItemImage(row, item->saveInProject ? 1 : 0);
}

DataValueDialog::DataValueDialog(const std::string& name, const std::string& value, bool save, QWidget* parent)
    : ThemedDialogBase(parent)
{
    shell::SetControlId(*this, 9010);
    setWindowTitle("Nouvelle valeur");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(Q(name), this);
    value_ = new QLineEdit(Q(value), this);
    shell::SetControlId(*name_, 1025);
    shell::SetControlId(*value_, 1074);
    name_->setMinimumWidth(260);
    form->addRow("Nom :", name_);
    form->addRow("Valeur :", value_);
    layout->addLayout(form);
    save_ = new QCheckBox("Sauvegarder dans le projet", this);
    shell::SetControlId(*save_, 1187);
    save_->setChecked(save);
    layout->addWidget(save_);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // No value without a name.
    const auto enable = [this, ok] { ok->setEnabled(!name_->text().isEmpty()); };
    connect(name_, &QLineEdit::textChanged, this, enable);
    enable();
}

std::string DataValueDialog::Name() const
{
    return name_->text().toStdString();
}
std::string DataValueDialog::Value() const
{
    return value_->text().toStdString();
}
bool DataValueDialog::Save() const
{
    return save_->isChecked();
}

CFindView::CFindView(const OutputContext& context, QWidget* parent) : QListWidget(parent), context_(context)
{
    shell::SetControlId(*this, 0x7106);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { OpenSelected(); });
}

void CFindView::AddResult(std::string_view text, std::string key)
{
    addItem(Q(FindDisplayText(text)));
    keys_.push_back(std::move(key));
}

void CFindView::AddLine(std::string_view text)
{
    AddResult(text, {});
}

void CFindView::Clear()
{
    clear();
    keys_.clear();
}

void CFindView::SelectNext()
{
    const int row = NextFindRow(currentItem() && currentItem()->isSelected() ? currentRow() : -1, count());
    if (row < 0)
        return;
    setCurrentRow(row);
    OpenSelected();
}

void CFindView::SelectPrevious()
{
    const int row = PreviousFindRow(currentItem() && currentItem()->isSelected() ? currentRow() : -1, count());
    if (row < 0)
        return;
    setCurrentRow(row);
    OpenSelected();
}

bool CFindView::OpenSelected()
{
    const int row = currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= keys_.size() || keys_[row].empty())
        return false;
    const auto target = SplitFindKey(keys_[row]);
    if (!target)
        return false;
    if (context_.openScriptAtLine)
        context_.openScriptAtLine(target->path, target->line, false);
    return true;
}

}  // namespace zov::output

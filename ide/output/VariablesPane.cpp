#include "ide/output/VariablesPane.h"

#include "ide/execution/model/TypedValue.h"
#include "ide/shell/ObjectNames.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zov::output {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char* KindName(int kind)
{
    static const char* const names[] = {"Entier", "Entier", "Hexadécimal", "Binaire",
                                        "Octal",  "Réel",   "Booléen",     "Chaîne"};
    return kind >= 0 && kind < 8 ? names[kind] : "";
}

}  // namespace

CVariableView::CVariableView(const OutputContext& context, QWidget* parent)
    : SortableListCtrl(parent), context_(context)
{
    shell::SetControlId(*this, 0x7102);
    // Rows stay in watch order: the headings do not sort.
    SetSortEnabled(false);
    InsertColumn(0, Q(context_.Tr("Script")), Qt::AlignLeft, 150);
    InsertColumn(1, Q(context_.Tr("Nom")), Qt::AlignLeft, 150);
    InsertColumn(2, Q(context_.Tr("Valeur")), Qt::AlignLeft, 400);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditRow(row); });
}

void CVariableView::AddVariable(const std::string& name, execution::RunRecord* record)
{
    if (!watches_.AddVariable(name, record))
        return;
    const int row = InsertItem(rowCount(), Q(" " + record->testName));
    SetItemText(row, 1, Q(" " + name));
    SetItemText(row, 2, " ");
}

bool CVariableView::IsWatched(const std::string& name, const execution::RunRecord* record) const
{
    return watches_.IsWatched(name, record);
}

void CVariableView::UpdateVariable(const std::string& name, const std::string& value, int kind,
                                   const execution::RunRecord* record)
{
    for (const std::size_t row : watches_.UpdateVariable(name, value, kind, record))
        SetItemText(static_cast<int>(row), 2, Q(value));
}

void CVariableView::Clear()
{
    setRowCount(0);
    watches_.Clear();
}

void CVariableView::DeleteSelected()
{
    std::vector<unsigned> rows;
    if (GetSelectedItems(rows) < 1)
        return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        watches_.Remove(*row);
        removeRow(static_cast<int>(*row));
    }
}

bool CVariableView::EditRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= watches_.Rows().size())
        return false;
    WatchedVariable& watch = watches_.Rows()[static_cast<std::size_t>(row)];
    if (watch.kind == -1)
        return false;
    NewValueDialog dialog(context_, watch.name, watch.value, watch.kind, this);
    if (context_.Prompter().Exec(dialog) != QDialog::Accepted)
        return false;
    watch.value = dialog.Stored();
    SetItemText(row, 2, Q(watch.value));
    if (context_.sendSetVal)
        context_.sendSetVal(watch.name, dialog.Sent());
    return true;
}

NewVariableDialog::NewVariableDialog(QWidget* parent) : ThemedDialogBase(parent)
{
    shell::SetControlId(*this, 161);
    setWindowTitle("Nouvelle variable");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    name_ = new QLineEdit(this);
    shell::SetControlId(*name_, 1025);
    name_->setMinimumWidth(240);
    form->addRow("Nom :", name_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, [this] { ok_->setEnabled(!name_->text().isEmpty()); });
    ok_->setEnabled(false);
}

std::string NewVariableDialog::Name() const
{
    return name_->text().toStdString();
}

void NewVariableDialog::SetName(const std::string& name)
{
    name_->setText(Q(name));
}

NewValueDialog::NewValueDialog(const OutputContext& context, const std::string& name, const std::string& value,
                               int kind, QWidget* parent)
    : ThemedDialogBase(parent), context_(context), kind_(kind)
{
    shell::SetControlId(*this, 9006);
    setWindowTitle("Nouvelle valeur");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* nameField = new QLineEdit(Q(name), this);
    nameField->setReadOnly(true);
    shell::SetControlId(*nameField, 1025);
    value_ = new QLineEdit(Q(value), this);
    shell::SetControlId(*value_, 1074);
    value_->setMinimumWidth(240);
    form->addRow("Nom :", nameField);
    form->addRow("Valeur :", value_);
    layout->addLayout(form);
    auto* kindLabel = new QLabel(Q(context_.Tr(KindName(kind))), this);
    kindLabel->setObjectName("kind");
    layout->addWidget(kindLabel);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewValueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void NewValueDialog::accept()
{
    const execution::TypedValue parsed = execution::ParseTypedValue(kind_, value_->text().toStdString());
    if (!parsed.ok) {
        context_.Prompter().Tell(context_.Tr(execution::kInvalidValueText), shell::PromptIcon::Warning);
        return;
    }
    stored_ = parsed.stored;
    sent_ = parsed.sent;
    value_->setText(Q(stored_));
    ThemedDialogBase::accept();
}

}  // namespace zov::output

#include "ide/shell/SortableListCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>
#include <cstring>

namespace zov::shell {

RowColours RowColoursFor(qint64 itemData)
{
    switch (itemData) {
    case 1:
        return {QColor(210, 255, 210), std::nullopt};
    case 2:
        return {std::nullopt, QColor(230, 50, 50)};
    case 3:
        return {std::nullopt, QColor(128, 128, 128)};
    case 4:
        return {std::nullopt, QColor(50, 50, 230)};
    case 5:
        return {QColor(255, 210, 210), std::nullopt};
    case 6:
        return {QColor(210, 210, 210), std::nullopt};
    default:
        return {};
    }
}

namespace {

int CompareBytes(const QByteArray& a, const QByteArray& b)
{
    const int common = static_cast<int>(std::min(a.size(), b.size()));
    const int order = std::memcmp(a.constData(), b.constData(), static_cast<std::size_t>(common));
    if (order != 0)
        return order;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

bool CellTextLess(const QString& a, const QString& b)
{
    return CompareBytes(a.toUtf8(), b.toUtf8()) < 0;
}

// One cell: it keeps its text's UTF-8 bytes for the sort, and its row's item data, so that a
// comparison and a colour never have to find the row.
class SortableListCtrl::Cell : public QTableWidgetItem {
public:
    Cell(const QString& text, qint64 itemData) : QTableWidgetItem(text), bytes_(text.toUtf8()), itemData_(itemData) {}

    qint64 ItemData() const { return itemData_; }
    void SetItemData(qint64 itemData) { itemData_ = itemData; }

    void setData(int role, const QVariant& value) override
    {
        QTableWidgetItem::setData(role, value);
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            bytes_ = QTableWidgetItem::data(Qt::DisplayRole).toString().toUtf8();
    }

    QVariant data(int role) const override
    {
        if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
            const RowColours colours = RowColoursFor(itemData_);
            const std::optional<QColor>& colour = role == Qt::BackgroundRole ? colours.background : colours.text;
            if (colour)
                return *colour;
        }
        return QTableWidgetItem::data(role);
    }

    bool operator<(const QTableWidgetItem& other) const override
    {
        return CompareBytes(bytes_, static_cast<const Cell&>(other).bytes_) < 0;
    }

private:
    QByteArray bytes_;
    qint64 itemData_;
};

SortableListCtrl::SortableListCtrl(QWidget* parent) : QTableWidget(parent)
{
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (sortEnabled_)
            SortByColumn(column);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &SortableListCtrl::OnSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &SortableListCtrl::OnCurrentChanged);
}

SortableListCtrl::Cell* SortableListCtrl::MakeCell(int column, const QString& text, qint64 itemData) const
{
    auto* cell = new Cell(text, itemData);
    cell->setTextAlignment(ColumnFormat(column) | Qt::AlignVCenter);
    return cell;
}

bool SortableListCtrl::InsertColumn(int column, const QString& heading, Qt::Alignment format, int width,
                                    std::uint8_t sortKind, bool resizable)
{
    if (column < 0)
        return false;
    column = std::min(column, columnCount());
    insertColumn(column);
    auto* header = new QTableWidgetItem(heading);
    header->setTextAlignment(format | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    // Every cell exists, so that an empty one sorts by its text like the others.
    const auto at = static_cast<std::size_t>(column);
    if (at < resizable_.size()) {
        sortKinds_.insert(sortKinds_.begin() + column, sortKind);
        formats_.insert(formats_.begin() + column, format);
        resizable_.insert(resizable_.begin() + column, resizable);
    } else {
        sortKinds_.push_back(sortKind);
        formats_.push_back(format);
        resizable_.push_back(resizable);
    }
    for (int row = 0; row < rowCount(); ++row)
        setItem(row, column, MakeCell(column, QString(), GetItemData(row)));
    if (width < 0)
        width = fontMetrics().horizontalAdvance(heading) + 15;
    setColumnWidth(column, width);
    ApplyResizeModes();
    return true;
}

void SortableListCtrl::ApplyResizeModes()
{
    for (int column = 0; column < columnCount(); ++column)
        horizontalHeader()->setSectionResizeMode(
            column, IsColumnResizable(column) ? QHeaderView::Interactive : QHeaderView::Fixed);
}

std::uint8_t SortableListCtrl::ColumnSortKind(int column) const
{
    return column >= 0 && static_cast<std::size_t>(column) < sortKinds_.size() ? sortKinds_[column] : 0;
}

Qt::Alignment SortableListCtrl::ColumnFormat(int column) const
{
    return column >= 0 && static_cast<std::size_t>(column) < formats_.size() ? formats_[column] : Qt::AlignLeft;
}

bool SortableListCtrl::IsColumnResizable(int column) const
{
    // A column made without InsertColumn may be resized.
    return column < 0 || static_cast<std::size_t>(column) >= resizable_.size() || resizable_[column];
}

int SortableListCtrl::InsertItem(int row, const QString& text, int image, qint64 itemData)
{
    if (row < 0)
        return -1;
    row = std::min(row, rowCount());
    insertRow(row);
    const int columns = std::max(columnCount(), 1);
    if (columnCount() == 0)
        setColumnCount(1);
    setItem(row, 0, MakeCell(0, text, itemData));
    for (int column = 1; column < columns; ++column)
        setItem(row, column, MakeCell(column, QString(), itemData));
    if (image >= 0)
        SetItemImage(row, image);
    return row;
}

bool SortableListCtrl::SetItemText(int row, int column, const QString& text)
{
    if (text.isNull() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return false;
    const QString stored = text.isEmpty() ? QStringLiteral(" ") : text;
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(stored);
    else
        setItem(row, column, MakeCell(column, stored, GetItemData(row)));
    return true;
}

bool SortableListCtrl::SetItemText(int row, int column, const char* utf8)
{
    if (utf8 == nullptr)
        return false;
    return SetItemText(row, column, QString::fromUtf8(utf8));
}

QString SortableListCtrl::GetItemText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell == nullptr ? QString() : cell->text();
}

bool SortableListCtrl::SetItemImage(int row, int image)
{
    QTableWidgetItem* cell = item(row, 0);
    if (cell == nullptr)
        return false;
    const bool known = image >= 0 && static_cast<std::size_t>(image) < images_.size();
    cell->setIcon(known ? images_[image] : QIcon());
    return true;
}

bool SortableListCtrl::SetItemData(int row, qint64 itemData)
{
    if (row < 0 || row >= rowCount())
        return false;
    for (int column = 0; column < columnCount(); ++column) {
        if (auto* cell = dynamic_cast<Cell*>(item(row, column)))
            cell->SetItemData(itemData);
    }
    // The row's colours follow its data.
    viewport()->update();
    return true;
}

qint64 SortableListCtrl::GetItemData(int row) const
{
    const auto* cell = dynamic_cast<const Cell*>(item(row, 0));
    return cell == nullptr ? 0 : cell->ItemData();
}

void SortableListCtrl::SelectOnly(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    selectionModel()->setCurrentIndex(model()->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int SortableListCtrl::FindItemByData(qint64 itemData) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (GetItemData(row) == itemData)
            return row;
    }
    return -1;
}

int SortableListCtrl::GetSelectedItems(std::vector<unsigned>& rows) const
{
    rows.clear();
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(static_cast<unsigned>(index.row()));
    std::sort(rows.begin(), rows.end());
    return static_cast<int>(rows.size());
}

void SortableListCtrl::SortByColumn(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    // Each list keeps its own direction: a new column starts ascending.
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    sortItems(column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    // The rows moved: the current one is reported again at its new place.
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex()))
        Report(current.row());
}

void SortableListCtrl::Report(int row)
{
    if (row < 0)
        emit CurrentItem(-1, 0);
    else
        emit CurrentItem(row, GetItemData(row));
}

void SortableListCtrl::OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    std::vector<int> rows;
    for (const QItemSelection* selection : {&deselected, &selected}) {
        for (const QModelIndex& index : selection->indexes()) {
            if (index.column() == 0)
                rows.push_back(index.row());
        }
    }
    ReportChangedRows(std::move(rows));
}

void SortableListCtrl::OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    std::vector<int> rows;
    if (previous.isValid())
        rows.push_back(previous.row());
    if (current.isValid())
        rows.push_back(current.row());
    ReportChangedRows(std::move(rows));
}

// Each changed row is judged by its new state, the current row last (it is the one that changed
// last in the user's gesture): selected and current, it becomes the current item; neither, there
// is none; one of the two, it counts only while at least two rows are selected.
void SortableListCtrl::ReportChangedRows(std::vector<int> rows)
{
    if (rows.empty())
        return;
    const int currentRow = currentIndex().isValid() ? currentIndex().row() : -1;
    std::stable_partition(rows.begin(), rows.end(), [currentRow](int row) { return row != currentRow; });
    const auto selectedCount = selectionModel()->selectedRows().size();
    int reported = -1;
    for (int row : rows) {
        const bool isSelected = selectionModel()->isRowSelected(row, QModelIndex());
        const bool isCurrent = row == currentRow;
        if (isSelected && isCurrent)
            reported = row;
        else if (!isSelected && !isCurrent)
            reported = -1;
        else
            reported = selectedCount >= 2 ? row : -1;
    }
    Report(reported);
}

void SortableListCtrl::focusInEvent(QFocusEvent* event)
{
    const QModelIndex current = currentIndex();
    if (rowCount() > 0 && current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex()))
        Report(current.row());
    QTableWidget::focusInEvent(event);
}

}  // namespace zov::shell

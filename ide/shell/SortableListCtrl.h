#pragma once
// The report-style list of the IDE (runs, errors, data, variables, interface lists): full-row
// selection with grid lines, columns inserted with a heading, width and resizable flag, sorting by
// a click on a heading (texts compared as UTF-8 bytes), rows coloured by a status code kept as
// their item data, and a signal that tells the owner which row is current.

#include <QColor>
#include <QIcon>
#include <QTableWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace zov::shell {

// The row colours a status code selects; other codes keep the palette's colours.
struct RowColours {
    std::optional<QColor> background;
    std::optional<QColor> text;
};
RowColours RowColoursFor(qint64 itemData);

// Orders two cell texts as their UTF-8 bytes, unsigned: "10" before "9", "Z" before "É".
bool CellTextLess(const QString& a, const QString& b);

class SortableListCtrl : public QTableWidget {
    Q_OBJECT

public:
    explicit SortableListCtrl(QWidget* parent = nullptr);

    // Width -1: the heading's width in the list's font plus 15 pixels. A column index past the
    // end appends. False (nothing changed) for a negative index.
    bool InsertColumn(int column, const QString& heading, Qt::Alignment format = Qt::AlignLeft, int width = -1,
                      std::uint8_t sortKind = 0, bool resizable = true);
    // A row index past the end appends. Image -1: none. The row index, or -1 when refused.
    int InsertItem(int row, const QString& text, int image = -1, qint64 itemData = 0);
    // A null text is refused; an empty one is stored as a single blank.
    bool SetItemText(int row, int column, const QString& text);
    bool SetItemText(int row, int column, const char* utf8);
    QString GetItemText(int row, int column) const;
    bool SetItemImage(int row, int image);
    bool SetItemData(int row, qint64 itemData);
    qint64 GetItemData(int row) const;

    // The pictures that image indexes name.
    void SetImageList(std::vector<QIcon> images) { images_ = std::move(images); }

    // Every other row loses its selection; `row` becomes selected and current.
    void SelectOnly(int row);
    // The first row whose item data equals `itemData`, -1 when none.
    int FindItemByData(qint64 itemData) const;
    // Empties `rows`, then fills it with the selected rows in ascending order; their count.
    int GetSelectedItems(std::vector<unsigned>& rows) const;

    // Off: the headings do not sort.
    void SetSortEnabled(bool enabled) { sortEnabled_ = enabled; }
    // Sorts as a click on the heading of `column` does: ascending on a new column, the other way
    // on the column sorted last.
    void SortByColumn(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return ascending_; }

    std::uint8_t ColumnSortKind(int column) const;
    // The alignment given at insertion, for the heading and every cell of the column.
    Qt::Alignment ColumnFormat(int column) const;
    bool IsColumnResizable(int column) const;

signals:
    // The current row and its item data; (-1, 0) when there is none.
    void CurrentItem(int row, qint64 itemData);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    class Cell;

    Cell* MakeCell(int column, const QString& text, qint64 itemData) const;
    void ApplyResizeModes();
    void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void ReportChangedRows(std::vector<int> rows);
    void Report(int row);

    std::vector<std::uint8_t> sortKinds_;
    std::vector<Qt::Alignment> formats_;
    std::vector<bool> resizable_;
    std::vector<QIcon> images_;
    bool sortEnabled_ = true;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace zov::shell

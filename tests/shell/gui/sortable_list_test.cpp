#include "ide/shell/SortableListCtrl.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace zov::shell;

class SortableListTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }

    // One row per text, in column 0 and (reversed) in column 1; item data from `data` (default 0).
    static void Fill(SortableListCtrl& list, const QStringList& texts, const std::vector<qint64>& data = {})
    {
        list.InsertColumn(0, "Nom");
        list.InsertColumn(1, "Valeur");
        for (int row = 0; row < texts.size(); ++row) {
            EXPECT_EQ(list.InsertItem(row, texts[row], -1, row < static_cast<int>(data.size()) ? data[row] : 0), row);
            list.SetItemText(row, 1, QString::number(row));
        }
    }

    static QStringList Column(const SortableListCtrl& list, int column)
    {
        QStringList texts;
        for (int row = 0; row < list.rowCount(); ++row)
            texts << list.GetItemText(row, column);
        return texts;
    }

    // The last (row, data) the list reported.
    static std::pair<int, qint64> Last(const QSignalSpy& spy)
    {
        const QList<QVariant> arguments = spy.last();
        return {arguments.at(0).toInt(), arguments.at(1).toLongLong()};
    }
};

TEST_F(SortableListTest, ShowsFullRowSelectionWithGridLines)
{
    SortableListCtrl list;
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.verticalHeader()->isHidden());
    EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(SortableListTest, AutomaticWidthIsTheHeadingPlusFifteenPixels)
{
    SortableListCtrl list;
    ASSERT_TRUE(list.InsertColumn(0, "Nom"));
    ASSERT_TRUE(list.InsertColumn(1, "Commentaire du test", Qt::AlignLeft, -1));
    ASSERT_TRUE(list.InsertColumn(2, "Fixe", Qt::AlignRight, 70));
    EXPECT_EQ(list.columnWidth(0), list.fontMetrics().horizontalAdvance("Nom") + 15);
    EXPECT_EQ(list.columnWidth(1), list.fontMetrics().horizontalAdvance("Commentaire du test") + 15);
    EXPECT_EQ(list.columnWidth(2), 70);
    EXPECT_EQ(list.horizontalHeaderItem(1)->text(), "Commentaire du test");
    EXPECT_FALSE(list.InsertColumn(-1, "Refus\xC3\xA9"));
    EXPECT_EQ(list.columnCount(), 3);
    // A right-aligned column aligns its heading and its cells.
    list.InsertItem(0, "a");
    list.SetItemText(0, 2, "1.5");
    EXPECT_EQ(list.ColumnFormat(2), Qt::AlignRight);
    EXPECT_EQ(list.horizontalHeaderItem(2)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(list.item(0, 2)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_EQ(list.item(0, 1)->textAlignment(), int(Qt::AlignLeft | Qt::AlignVCenter));
}

TEST_F(SortableListTest, ResizableFlagsStayWithTheirColumns)
{
    SortableListCtrl list;
    list.InsertColumn(0, "A", Qt::AlignLeft, 60, 1, true);
    list.InsertColumn(1, "B", Qt::AlignLeft, 60, 2, false);
    list.InsertColumn(0, "C", Qt::AlignLeft, 60, 3, false);  // before both: they move right
    list.InsertColumn(9, "D", Qt::AlignLeft, 60, 4, true);   // past the end: appended
    const struct {
        QString heading;
        bool resizable;
        std::uint8_t sortKind;
    } expected[] = {{"C", false, 3}, {"A", true, 1}, {"B", false, 2}, {"D", true, 4}};
    ASSERT_EQ(list.columnCount(), 4);
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(list.horizontalHeaderItem(column)->text(), expected[column].heading);
        EXPECT_EQ(list.IsColumnResizable(column), expected[column].resizable) << column;
        EXPECT_EQ(list.ColumnSortKind(column), expected[column].sortKind) << column;
        EXPECT_EQ(list.horizontalHeader()->sectionResizeMode(column),
                  expected[column].resizable ? QHeaderView::Interactive : QHeaderView::Fixed)
            << column;
    }
}

TEST_F(SortableListTest, AFixedColumnsDividerCannotBeDragged)
{
    SortableListCtrl list;
    list.InsertColumn(0, "Fixe", Qt::AlignLeft, 80, 0, false);
    list.InsertColumn(1, "Libre", Qt::AlignLeft, 80, 0, true);
    list.InsertColumn(2, "Fin", Qt::AlignLeft, 80, 0, true);
    list.resize(400, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QHeaderView* header = list.horizontalHeader();
    const int y = header->height() / 2;
    for (int column : {0, 1}) {
        const int divider = header->sectionViewportPosition(column) + header->sectionSize(column) - 1;
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(divider, y));
        QTest::mouseMove(header->viewport(), QPoint(divider + 40, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(divider + 40, y));
    }
    EXPECT_EQ(list.columnWidth(0), 80);
    EXPECT_EQ(list.columnWidth(1), 120);
}

TEST_F(SortableListTest, CellsSortAsUtf8Bytes)
{
    SortableListCtrl list;
    Fill(list, {"9", "10", QString::fromUtf8("\xC3\x89t\xC3\xA9"), "Z", "!", "", "a", "Zz"});
    list.SetItemText(5, 0, "");  // stored as one blank
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0),
              QStringList({" ", "!", "10", "9", "Z", "Zz", "a", QString::fromUtf8("\xC3\x89t\xC3\xA9")}));
    // The other cells moved with their rows.
    EXPECT_EQ(Column(list, 1), QStringList({"5", "4", "1", "0", "3", "7", "6", "2"}));
    EXPECT_TRUE(CellTextLess("10", "9"));
    EXPECT_TRUE(CellTextLess("Z", QString::fromUtf8("\xC3\x89")));
    EXPECT_TRUE(CellTextLess(" ", "!"));
    // Beyond the basic plane: code point order, not UTF-16 unit order.
    EXPECT_TRUE(CellTextLess(QString::fromUtf8("\xEF\xBC\xA1"), QString::fromUtf8("\xF0\x9F\x98\x80")));
}

TEST_F(SortableListTest, EachListKeepsItsOwnDirection)
{
    SortableListCtrl list;
    SortableListCtrl other;
    Fill(list, {"b", "c", "a"});
    Fill(other, {"y", "x", "z"});
    list.SortByColumn(0);  // first click, even on column 0: ascending
    EXPECT_EQ(Column(list, 0), QStringList({"a", "b", "c"}));
    other.SortByColumn(0);  // another list's click does not turn this one's direction
    EXPECT_EQ(Column(other, 0), QStringList({"x", "y", "z"}));
    list.SortByColumn(0);  // same column again: descending
    EXPECT_EQ(Column(list, 0), QStringList({"c", "b", "a"}));
    EXPECT_FALSE(list.SortAscending());
    list.SortByColumn(1);  // another column: ascending again
    EXPECT_TRUE(list.SortAscending());
    EXPECT_EQ(Column(list, 1), QStringList({"0", "1", "2"}));
    list.SortByColumn(1);
    EXPECT_EQ(Column(list, 1), QStringList({"2", "1", "0"}));
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), QStringList({"a", "b", "c"}));
}

TEST_F(SortableListTest, AClickOnAHeadingSorts)
{
    SortableListCtrl list;
    Fill(list, {"b", "c", "a"});
    list.resize(300, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QHeaderView* header = list.horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(0) + header->sectionSize(0) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_EQ(Column(list, 0), QStringList({"a", "b", "c"}));
    list.SetSortEnabled(false);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_EQ(Column(list, 0), QStringList({"a", "b", "c"}));
}

TEST_F(SortableListTest, RowsSharingTheirDataSortByTheirOwnText)
{
    SortableListCtrl list;
    Fill(list, {"T3", "T1", "T2", "T0"}, {1, 1, 1, 2});
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), QStringList({"T0", "T1", "T2", "T3"}));
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), QStringList({"T3", "T2", "T1", "T0"}));
}

TEST_F(SortableListTest, TheCurrentRowIsReportedAgainAtItsNewPlaceAfterASort)
{
    SortableListCtrl list;
    Fill(list, {"c", "a", "b"}, {30, 10, 20});
    QSignalSpy spy(&list, &SortableListCtrl::CurrentItem);
    list.SelectOnly(0);
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(Last(spy), std::make_pair(0, qint64(30)));
    spy.clear();
    list.SortByColumn(0);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Last(spy), std::make_pair(2, qint64(30)));
    std::vector<unsigned> rows;
    EXPECT_EQ(list.GetSelectedItems(rows), 1);
    EXPECT_EQ(rows, std::vector<unsigned>({2}));
}

TEST_F(SortableListTest, RowColoursFollowTheItemData)
{
    SortableListCtrl list;
    const std::vector<qint64> codes = {1, 2, 3, 4, 5, 6, 0, 7, -1};
    QStringList texts;
    for (qint64 code : codes)
        texts << QString::number(code);
    Fill(list, texts, codes);
    const struct {
        QVariant background;
        QVariant text;
    } expected[] = {
        {QColor(210, 255, 210), {}},
        {{}, QColor(230, 50, 50)},
        {{}, QColor(128, 128, 128)},
        {{}, QColor(50, 50, 230)},
        {QColor(255, 210, 210), {}},
        {QColor(210, 210, 210), {}},
        {{}, {}},
        {{}, {}},
        {{}, {}},
    };
    for (int row = 0; row < list.rowCount(); ++row) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(list.item(row, column)->data(Qt::BackgroundRole), expected[row].background) << row;
            EXPECT_EQ(list.item(row, column)->data(Qt::ForegroundRole), expected[row].text) << row;
        }
    }
    // A column inserted later and a change of data colour the whole row.
    list.InsertColumn(1, "Nouvelle");
    list.SetItemData(6, 5);
    EXPECT_EQ(list.item(0, 1)->data(Qt::BackgroundRole), QVariant(QColor(210, 255, 210)));
    EXPECT_EQ(list.item(6, 2)->data(Qt::BackgroundRole), QVariant(QColor(255, 210, 210)));
    EXPECT_EQ(list.GetItemData(6), 5);
}

TEST_F(SortableListTest, ItemsAndTexts)
{
    SortableListCtrl list;
    Fill(list, {"a", "b"}, {5, 7});
    EXPECT_FALSE(list.SetItemText(0, 1, static_cast<const char*>(nullptr)));
    EXPECT_FALSE(list.SetItemText(0, 1, QString()));
    EXPECT_EQ(list.GetItemText(0, 1), "0");
    EXPECT_TRUE(list.SetItemText(0, 1, ""));
    EXPECT_EQ(list.GetItemText(0, 1), " ");
    EXPECT_TRUE(list.SetItemText(1, 1, "R\xC3\xA9sultat"));
    EXPECT_EQ(list.GetItemText(1, 1), QString::fromUtf8("R\xC3\xA9sultat"));
    EXPECT_FALSE(list.SetItemText(2, 0, "x"));
    EXPECT_FALSE(list.SetItemText(0, 2, "x"));
    EXPECT_EQ(list.InsertItem(50, "c", -1, 7), 2);  // past the end: appended
    EXPECT_EQ(list.InsertItem(0, "z", -1, 9), 0);
    EXPECT_EQ(list.InsertItem(-1, "refus", -1, 9), -1);
    EXPECT_EQ(Column(list, 0), QStringList({"z", "a", "b", "c"}));
    EXPECT_EQ(list.GetItemText(0, 1), "");  // a cell nobody set
    EXPECT_EQ(list.FindItemByData(7), 2);   // the first of two
    EXPECT_EQ(list.FindItemByData(9), 0);
    EXPECT_EQ(list.FindItemByData(8), -1);
}

TEST_F(SortableListTest, SelectedItemsComeInAscendingOrder)
{
    SortableListCtrl list;
    Fill(list, {"a", "b", "c", "d"});
    std::vector<unsigned> rows = {42};
    EXPECT_EQ(list.GetSelectedItems(rows), 0);
    EXPECT_TRUE(rows.empty());
    list.selectionModel()->select(list.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.selectionModel()->select(list.model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(list.GetSelectedItems(rows), 2);
    EXPECT_EQ(rows, std::vector<unsigned>({1, 3}));
    list.SelectOnly(2);
    EXPECT_EQ(list.GetSelectedItems(rows), 1);
    EXPECT_EQ(rows, std::vector<unsigned>({2}));
    EXPECT_EQ(list.currentRow(), 2);
}

TEST_F(SortableListTest, CurrentItemReports)
{
    SortableListCtrl list;
    Fill(list, {"a", "b", "c"}, {10, 20, 30});
    list.resize(300, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy spy(&list, &SortableListCtrl::CurrentItem);
    const auto rowCentre = [&](int row) { return list.visualRect(list.model()->index(row, 0)).center(); };

    // A click: that row, selected and current.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(1));
    EXPECT_EQ(Last(spy), std::make_pair(1, qint64(20)));
    // Ctrl+click adds a row: the new one, selected and current.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
    EXPECT_EQ(Last(spy), std::make_pair(2, qint64(30)));
    // Ctrl+click on it again: it stays current but is no longer selected, one row is left.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
    EXPECT_EQ(Last(spy), std::make_pair(-1, qint64(0)));
    // Nothing selected, nothing current.
    list.SelectOnly(0);
    EXPECT_EQ(Last(spy), std::make_pair(0, qint64(10)));
    list.selectionModel()->clear();
    EXPECT_EQ(Last(spy), std::make_pair(-1, qint64(0)));
}

TEST_F(SortableListTest, GainingTheFocusReportsTheCurrentRowOnce)
{
    QWidget window;
    auto* before = new SortableListCtrl(&window);
    auto* list = new SortableListCtrl(&window);
    list->move(0, 200);
    Fill(*list, {"a", "b", "c"}, {10, 20, 30});
    list->SelectOnly(2);
    window.resize(300, 400);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QSignalSpy spy(list, &SortableListCtrl::CurrentItem);
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(Last(spy), std::make_pair(2, qint64(30)));
    // Without a selected current row no row is reported (the view making its first row current,
    // unselected, is reported as no current item).
    before->setFocus();
    list->selectionModel()->clear();
    spy.clear();
    list->setFocus();
    for (const QList<QVariant>& report : spy)
        EXPECT_EQ(report.at(0).toInt(), -1);
}

}  // namespace

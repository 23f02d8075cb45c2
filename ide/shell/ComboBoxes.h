#pragma once
// Two drop-down lists of the preference pages and dialogs: one whose items carry a picture and a
// text (items without a picture are bold headings), and one whose items carry check boxes and
// whose closed face shows the ticked items joined by the list separator.

#include <QComboBox>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QStandardItemModel;

namespace zov::shell {

class CBitmapKeyed;

// The ticked texts in list order, joined by the separator stripped of its trailing blanks (";"
// when that leaves nothing) and followed by one blank: "a; b".
QString JoinCheckedTexts(const QStringList& texts, const std::vector<bool>& ticked,
                         const QString& separator = QStringLiteral(";"));

class CheckComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit CheckComboBox(QWidget* parent = nullptr);

    // Non-zero ticks the item. False for an index outside the list.
    bool SetCheck(int index, int check);
    // 1 ticked, 0 not (and for an index outside the list).
    int GetCheck(int index) const;
    void SetCheckAll(int check);
    // What the closed list shows: the ticked items joined; "" when none is ticked.
    QString Text() const;

signals:
    // Every change made through the list (a tick, all ticked or unticked).
    void selChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Toggle(int index);
    QStandardItemModel* model_;
};

class COwnerDrawComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit COwnerDrawComboBox(QWidget* parent = nullptr);

    // A null record makes a bold heading. The new index, or -1 when refused.
    int AddItem(CBitmapKeyed* record, const QString& text);
    int InsertItem(int index, CBitmapKeyed* record, const QString& text);

    struct ItemInfo {
        CBitmapKeyed* record = nullptr;
        QString text;
    };
    // The selected item's record and text; nothing without a selection.
    std::optional<ItemInfo> GetItemInfo() const;
    CBitmapKeyed* Record(int index) const;
    // The height every item has now: the tallest picture plus 1 (at least a line of text).
    int ItemHeight() const;
    int LargestWidth() const { return largestWidth_; }
    int LargestHeight() const { return largestHeight_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int largestWidth_ = 0;
    int largestHeight_ = 0;
};

}  // namespace zov::shell

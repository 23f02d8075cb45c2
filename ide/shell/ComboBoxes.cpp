#include "ide/shell/ComboBoxes.h"

#include "ide/shell/BitmapKeyed.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include <algorithm>

namespace zov::shell {

namespace {

constexpr int kRecordRole = Qt::UserRole + 1;

// Draws a picture item: picture 2 px from the left, centred on the tallest picture, text after
// the widest picture plus 4 px; a heading (no picture) in bold, 4 px from the left.
class PictureItemDelegate : public QStyledItemDelegate {
public:
    // The combo box owns its delegate: setItemDelegate does not take ownership.
    explicit PictureItemDelegate(COwnerDrawComboBox& combo) : QStyledItemDelegate(&combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const bool enabled = option.state & QStyle::State_Enabled;
        const QPalette& colours = option.palette;
        painter->save();
        if (enabled)
            painter->fillRect(option.rect, colours.color(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(!enabled   ? QColor(0xC0, 0xC0, 0xC0)
                        : selected ? colours.color(QPalette::HighlightedText)
                                   : colours.color(QPalette::Text));
        const QString text = index.data(Qt::DisplayRole).toString();
        const CBitmapKeyed* record = combo_.Record(index.row());
        if (record != nullptr) {
            const QPixmap& image = record->Image();
            if (text.isEmpty()) {
                painter->drawPixmap(option.rect.center() - QPoint(image.width() / 2, image.height() / 2), image);
            } else {
                const int top = option.rect.top() + (option.rect.height() - combo_.LargestHeight()) / 2 +
                                (combo_.LargestHeight() - image.height()) / 2;
                painter->drawPixmap(option.rect.left() + 2, top, image);
                const QRect textArea = option.rect.adjusted(combo_.LargestWidth() + 4 + 2, 0, 0, 0);
                painter->drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
            }
        } else {
            QFont bold = option.font;
            bold.setWeight(QFont::Bold);
            painter->setFont(bold);
            painter->drawText(option.rect.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                              text);
        }
        if ((option.state & QStyle::State_HasFocus) && selected) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect;
            focus.palette = colours;
            QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = QStyledItemDelegate::sizeHint(option, index);
        return QSize(combo_.LargestWidth() + 6 + text.width(), combo_.ItemHeight());
    }

private:
    const COwnerDrawComboBox& combo_;
};

}  // namespace

QString JoinCheckedTexts(const QStringList& texts, const std::vector<bool>& ticked, const QString& separator)
{
    QString joint = separator;
    while (!joint.isEmpty() && joint.back().isSpace())
        joint.chop(1);
    if (joint.isEmpty())
        joint = QStringLiteral(";");
    joint += QLatin1Char(' ');
    QStringList chosen;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (static_cast<size_t>(i) < ticked.size() && ticked[static_cast<size_t>(i)])
            chosen.push_back(texts[i]);
    }
    return chosen.join(joint);
}

// --- CheckComboBox ---

CheckComboBox::CheckComboBox(QWidget* parent) : QComboBox(parent), model_(new QStandardItemModel(this))
{
    setModel(model_);
    // The plain delegate draws the check boxes, whatever the style does with menu-like lists.
    setItemDelegate(new QStyledItemDelegate(this));
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);
    connect(model_, &QStandardItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        for (int row = first; row <= last; ++row) {
            QStandardItem* item = model_->item(row);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            if (!item->data(Qt::CheckStateRole).isValid())
                item->setData(Qt::Unchecked, Qt::CheckStateRole);
        }
    });
}

bool CheckComboBox::SetCheck(int index, int check)
{
    QStandardItem* item = model_->item(index);
    if (item == nullptr)
        return false;
    item->setData(check != 0 ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    update();
    return true;
}

int CheckComboBox::GetCheck(int index) const
{
    const QStandardItem* item = model_->item(index);
    return item != nullptr && item->data(Qt::CheckStateRole).toInt() == Qt::Checked ? 1 : 0;
}

void CheckComboBox::SetCheckAll(int check)
{
    for (int i = 0; i < count(); ++i)
        SetCheck(i, check);
}

QString CheckComboBox::Text() const
{
    QStringList texts;
    std::vector<bool> ticked;
    for (int i = 0; i < count(); ++i) {
        texts.push_back(itemText(i));
        ticked.push_back(GetCheck(i) != 0);
    }
    // POSIX locales have no list separator: ";" stands for it.
    return JoinCheckedTexts(texts, ticked);
}

void CheckComboBox::Toggle(int index)
{
    if (index < 0 || index >= count())
        return;
    SetCheck(index, GetCheck(index) == 0 ? 1 : 0);
    view()->viewport()->update();
    emit selChange();
}

bool CheckComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view()->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                bool all = count() > 0;
                for (int i = 0; i < count() && all; ++i)
                    all = GetCheck(i) != 0;
                SetCheckAll(all ? 0 : 1);
                view()->viewport()->update();
                emit selChange();
                return true;
            }
            if (mouse->button() == Qt::LeftButton) {
                const QModelIndex index = view()->indexAt(mouse->position().toPoint());
                if (index.isValid())
                    Toggle(index.row());
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // The list stays open while items are ticked.
            return true;
        default:
            break;
        }
    } else if (watched == view() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space) {
            Toggle(view()->currentIndex().row());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void CheckComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = Text();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

// --- COwnerDrawComboBox ---

COwnerDrawComboBox::COwnerDrawComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new PictureItemDelegate(*this));
}

int COwnerDrawComboBox::AddItem(CBitmapKeyed* record, const QString& text)
{
    return InsertItem(count(), record, text);
}

int COwnerDrawComboBox::InsertItem(int index, CBitmapKeyed* record, const QString& text)
{
    if (index < 0 || index > count())
        return -1;
    insertItem(index, text);
    setItemData(index, QVariant::fromValue(reinterpret_cast<quintptr>(record)), kRecordRole);
    if (record == nullptr) {
        QFont bold = font();
        bold.setWeight(QFont::Bold);
        setItemData(index, bold, Qt::FontRole);
    } else {
        largestWidth_ = std::max(largestWidth_, record->Image().width());
        largestHeight_ = std::max(largestHeight_, record->Image().height());
        // Every item, the earlier ones too, grows to the tallest picture.
        for (int i = 0; i < count(); ++i)
            setItemData(i, QSize(-1, ItemHeight()), Qt::SizeHintRole);
        view()->doItemsLayout();
        updateGeometry();
    }
    return index;
}

CBitmapKeyed* COwnerDrawComboBox::Record(int index) const
{
    return reinterpret_cast<CBitmapKeyed*>(itemData(index, kRecordRole).value<quintptr>());
}

std::optional<COwnerDrawComboBox::ItemInfo> COwnerDrawComboBox::GetItemInfo() const
{
    const int index = currentIndex();
    if (index < 0)
        return std::nullopt;
    return ItemInfo{Record(index), itemText(index)};
}

int COwnerDrawComboBox::ItemHeight() const
{
    return std::max(largestHeight_ + 1, fontMetrics().height() + 2);
}

void COwnerDrawComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const CBitmapKeyed* record = Record(currentIndex());
    if (record != nullptr) {
        option.currentIcon = QIcon(record->Image());
        option.iconSize = record->Image().size();
    } else if (currentIndex() >= 0) {
        QFont bold = font();
        bold.setWeight(QFont::Bold);
        painter.setFont(bold);
    }
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace zov::shell

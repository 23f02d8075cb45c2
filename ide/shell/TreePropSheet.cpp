#include "ide/shell/TreePropSheet.h"

#include "ide/shell/ObjectNames.h"
#include "ide/shell/core/PageTitles.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zov::shell {
namespace {

constexpr int kNoPage = -1;
constexpr int kIconX = 3;
constexpr int kIconSize = 16;

int PageIndexOf(const QTreeWidgetItem* item)
{
    return item == nullptr ? kNoPage : item->data(0, Qt::UserRole).toInt();
}

}  // namespace

CTreePropPage::CTreePropPage(const QString& title, QWidget* parent) : ThemedPropertyPageBase(title, parent) {}

CPageFrameWnd::CPageFrameWnd(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Page Frame"));
}

void CPageFrameWnd::ShowCaption(bool show)
{
    showCaption_ = show;
    UpdateMargins();
    update();
}

void CPageFrameWnd::SetCaptionHeight(int height)
{
    captionHeight_ = height;
    UpdateMargins();
    update();
}

void CPageFrameWnd::SetCaption(const QString& text, const QIcon& icon)
{
    captionText_ = text;
    captionIcon_ = icon;
    update(CaptionRect());
}

void CPageFrameWnd::SetMessageText(const QString& text)
{
    messageText_ = text;
    update(MessageRect());
}

QRect CPageFrameWnd::CaptionRect() const
{
    if (!showCaption_)
        return {};
    return QRect(0, 0, width(), captionHeight_);
}

QRect CPageFrameWnd::MessageRect() const
{
    const int top = showCaption_ ? captionHeight_ + 1 : 0;
    return QRect(0, top, width(), std::max(0, height() - top));
}

void CPageFrameWnd::UpdateMargins()
{
    setContentsMargins(0, showCaption_ ? captionHeight_ + 1 : 0, 0, 0);
}

void CPageFrameWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!messageText_.isEmpty()) {
        const QRect area = MessageRect();
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine,
                         fontMetrics().elidedText(messageText_, Qt::ElideRight, area.width()));
    }
    const QRect caption = CaptionRect();
    if (caption.isEmpty())
        return;
    // From the inactive caption colour into the page's own background at the right edge.
    QLinearGradient gradient(caption.topLeft(), caption.topRight());
    gradient.setColorAt(0, palette().color(QPalette::Inactive, QPalette::Highlight));
    gradient.setColorAt(1, palette().color(QPalette::Window));
    painter.fillRect(caption, gradient);
    int textX = kIconX;
    if (!captionIcon_.isNull()) {
        const int y = caption.top() + (caption.height() - kIconSize) / 2;
        captionIcon_.paint(&painter, QRect(kIconX, y, kIconSize, kIconSize));
        textX += kIconSize + 4;
    }
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(palette().color(QPalette::Inactive, QPalette::HighlightedText));
    const QRect textArea(textX, caption.top(), std::max(0, caption.width() - textX - 4), caption.height());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(bold).elidedText(captionText_, Qt::ElideRight, textArea.width()));
}

CTreePropSheet::CTreePropSheet(const QString& caption, QWidget* parent, int firstPage)
    : ThemedDialogBase(parent), activeIndex_(std::max(0, firstPage))
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(ControlName(kTreeId));
    tree_->setAccessibleName(QStringLiteral("PageTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(true);
    tree_->setFixedWidth(kTreeWidth);
    tree_->setIconSize(QSize(kIconSize, kIconSize));
    top->addWidget(tree_);
    frame_ = new CPageFrameWnd(this);
    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget(frame_);
    noPage_ = new QWidget(stack_);
    stack_->addWidget(noPage_);
    frameLayout->addWidget(stack_);
    top->addWidget(frame_, 1);
    layout->addLayout(top, 1);
    buttons_ = new QDialogButtonBox(this);
    buttons_->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(ControlName(1));
    buttons_->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole)->setObjectName(ControlName(2));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &CTreePropSheet::OnCurrentItemChanged);
}

CTreePropSheet::~CTreePropSheet() = default;

bool CTreePropSheet::SetTreeViewMode(bool treeMode, bool pageCaption, bool treeImages)
{
    if (IsInitialised())
        return false;
    treeMode_ = treeMode;
    if (treeMode) {
        pageCaption_ = pageCaption;
        treeImages_ = treeImages;
    }
    return true;
}

void CTreePropSheet::AddPage(CTreePropPage* page)
{
    page->setParent(stack_);
    stack_->addWidget(page);
    pages_.push_back(page);
    pageIcons_.emplace_back();
    if (IsInitialised()) {
        FillPageTree();
        SelectItem(FindPageItem(activeIndex_));
    }
}

void CTreePropSheet::RemovePage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    CTreePropPage* page = pages_[index];
    pages_.erase(pages_.begin() + index);
    pageIcons_.erase(pageIcons_.begin() + index);
    stack_->removeWidget(page);
    page->deleteLater();
    if (index < activeIndex_)
        --activeIndex_;
    else if (activeIndex_ >= PageCount())
        activeIndex_ = std::max(0, PageCount() - 1);
    if (IsInitialised()) {
        FillPageTree();
        if (PageCount() > 0) {
            stack_->setCurrentWidget(pages_[activeIndex_]);
            SelectItem(FindPageItem(activeIndex_));
        }
    }
}

CTreePropPage* CTreePropSheet::GetPage(int index) const
{
    return index >= 0 && index < PageCount() ? pages_[index] : nullptr;
}

void CTreePropSheet::SetPageIcon(int index, const QIcon& icon)
{
    if (index >= 0 && index < PageCount())
        pageIcons_[index] = icon;
}

QTreeWidgetItem* CTreePropSheet::FindPageItem(int index) const
{
    if (index < 0 || index >= PageCount())
        return nullptr;
    for (QTreeWidgetItemIterator it(tree_); *it != nullptr; ++it) {
        if (PageIndexOf(*it) == index)
            return *it;
    }
    return nullptr;
}

void CTreePropSheet::OnInitDialog()
{
    for (CTreePropPage* page : pages_)
        page->InitialiseOnce();
    frame_->SetCaptionHeight(fontMetrics().height() + 10);
    frame_->ShowCaption(pageCaption_);
    FillPageTree();
    if (activeIndex_ >= PageCount())
        activeIndex_ = 0;
    if (PageCount() > 0)
        stack_->setCurrentWidget(pages_[activeIndex_]);
    SelectItem(FindPageItem(activeIndex_));
    UpdateCaption();
    // Ctrl+Tab reaches the sheet from whatever control has the focus.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    tree_->setFocus();
}

QTreeWidgetItem* CTreePropSheet::InsertItemPath(QTreeWidgetItem* parent, const QString& title, int pageIndex)
{
    const PageTitleSplit split = SplitPageTitle(title.toStdString());
    const QString head = QString::fromStdString(split.head);
    const int count = parent == nullptr ? tree_->topLevelItemCount() : parent->childCount();
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < count && item == nullptr; ++i) {
        QTreeWidgetItem* child = parent == nullptr ? tree_->topLevelItem(i) : parent->child(i);
        if (child->text(0) == head)
            item = child;
    }
    if (item == nullptr) {
        item = parent == nullptr ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(parent);
        item->setText(0, head);
        item->setData(0, Qt::UserRole, kNoPage);
        if (split.rest && treeImages_)
            item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    }
    if (split.rest)
        return InsertItemPath(item, QString::fromStdString(*split.rest), pageIndex);
    item->setData(0, Qt::UserRole, pageIndex);
    return item;
}

void CTreePropSheet::FillPageTree()
{
    const bool guard = selectionGuard_;
    selectionGuard_ = true;
    tree_->clear();
    for (int i = 0; i < PageCount(); ++i) {
        QTreeWidgetItem* leaf = InsertItemPath(nullptr, pages_[i]->windowTitle(), i);
        if (treeImages_)
            leaf->setIcon(0, pageIcons_[i].isNull() ? style()->standardIcon(QStyle::SP_FileIcon) : pageIcons_[i]);
    }
    tree_->expandAll();
    // A flat tree needs no room for the branch marks.
    bool nested = false;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        nested = nested || tree_->topLevelItem(i)->childCount() > 0;
    tree_->setRootIsDecorated(nested);
    selectionGuard_ = guard;
}

void CTreePropSheet::SelectItem(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    tree_->setCurrentItem(item);
    UpdateCaption();
}

bool CTreePropSheet::SetActivePage(int index)
{
    if (index < 0 || index >= PageCount())
        return false;
    if (!pageHidden_ && index != activeIndex_ && !pages_[activeIndex_]->CanLeave())
        return false;
    activeIndex_ = index;
    pageHidden_ = false;
    stack_->setCurrentWidget(pages_[index]);
    if (IsInitialised() && PageIndexOf(tree_->currentItem()) != index) {
        const bool guard = selectionGuard_;
        selectionGuard_ = true;
        SelectItem(FindPageItem(index));
        selectionGuard_ = guard;
    }
    return true;
}

bool CTreePropSheet::ActivateItem(QTreeWidgetItem* item)
{
    const int index = PageIndexOf(item);
    if (index != kNoPage)
        return SetActivePage(index);
    if (!pageHidden_ && PageCount() > 0 && !pages_[activeIndex_]->CanLeave())
        return false;
    pageHidden_ = true;
    stack_->setCurrentWidget(noPage_);
    return true;
}

void CTreePropSheet::OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous)
{
    if (selectionGuard_ || current == nullptr)
        return;
    selectionGuard_ = true;
    if (!ActivateItem(current) && previous != nullptr)
        tree_->setCurrentItem(previous);
    selectionGuard_ = false;
    UpdateCaption();
}

void CTreePropSheet::UpdateCaption()
{
    QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr)
        return;
    frame_->SetMessageText(pageHidden_ ? QString(emptyPageText_).replace(QStringLiteral("%1"), item->text(0))
                                       : QString());
    if (frame_->IsCaptionShown())
        frame_->SetCaption(item->text(0), item->icon(0));
}

void CTreePropSheet::SelectNextItem()
{
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* next = nullptr;
    if (item != nullptr && item->childCount() > 0) {
        next = item->child(0);
    } else {
        for (QTreeWidgetItem* at = item; at != nullptr && next == nullptr; at = at->parent()) {
            QTreeWidgetItem* parent = at->parent();
            const int index = parent == nullptr ? tree_->indexOfTopLevelItem(at) : parent->indexOfChild(at);
            const int count = parent == nullptr ? tree_->topLevelItemCount() : parent->childCount();
            if (index + 1 < count)
                next = parent == nullptr ? tree_->topLevelItem(index + 1) : parent->child(index + 1);
        }
    }
    if (next == nullptr)
        next = tree_->topLevelItem(0);
    if (next != nullptr)
        tree_->setCurrentItem(next);
}

void CTreePropSheet::SelectPreviousItem()
{
    const auto lastDescendant = [](QTreeWidgetItem* at) {
        while (at != nullptr && at->childCount() > 0)
            at = at->child(at->childCount() - 1);
        return at;
    };
    QTreeWidgetItem* item = tree_->currentItem();
    QTreeWidgetItem* previous = nullptr;
    if (item != nullptr) {
        QTreeWidgetItem* parent = item->parent();
        const int index = parent == nullptr ? tree_->indexOfTopLevelItem(item) : parent->indexOfChild(item);
        if (index > 0)
            previous = lastDescendant(parent == nullptr ? tree_->topLevelItem(index - 1) : parent->child(index - 1));
        else
            previous = parent;
    }
    if (previous == nullptr && tree_->topLevelItemCount() > 0)
        previous = lastDescendant(tree_->topLevelItem(tree_->topLevelItemCount() - 1));
    if (previous != nullptr)
        tree_->setCurrentItem(previous);
}

bool CTreePropSheet::HandleKey(QKeyEvent& event)
{
    if (!(event.modifiers() & Qt::ControlModifier))
        return false;
    if (event.key() == Qt::Key_Backtab || (event.key() == Qt::Key_Tab && (event.modifiers() & Qt::ShiftModifier))) {
        SelectPreviousItem();
        return true;
    }
    if (event.key() == Qt::Key_Tab) {
        SelectNextItem();
        return true;
    }
    return false;
}

bool CTreePropSheet::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent&>(*event)))
        return true;
    return ThemedDialogBase::eventFilter(watched, event);
}

void CTreePropSheet::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(*event))
        ThemedDialogBase::keyPressEvent(event);
}

void CTreePropSheet::accept()
{
    if (!pageHidden_ && PageCount() > 0 && !pages_[activeIndex_]->CanLeave())
        return;
    ThemedDialogBase::accept();
}

}  // namespace zov::shell

#pragma once
// A property sheet whose pages are chosen in a tree at the left instead of a row of tabs, with a
// framed page area at the right that carries a caption band (the page's icon and title over a
// gradient). A title "Node::Page" places the page under a node; a node that is no page shows
// the sheet's message in the frame.

#include "ide/shell/ThemedDialog.h"

#include <QIcon>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class QDialogButtonBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace zov::shell {

// A page of a tree sheet; its window title is its title in the tree.
class CTreePropPage : public ThemedPropertyPageBase {
    Q_OBJECT

public:
    explicit CTreePropPage(const QString& title = QString(), QWidget* parent = nullptr);

    // Asked before another page or a node is selected, and before OK: false keeps the page.
    virtual bool CanLeave() { return true; }
};

// The page area: a caption band at the top (when shown) and, where no page covers it, a message
// centred on one line.
class CPageFrameWnd : public QWidget {
    Q_OBJECT

public:
    explicit CPageFrameWnd(QWidget* parent = nullptr);

    void ShowCaption(bool show);
    bool IsCaptionShown() const { return showCaption_; }
    void SetCaptionHeight(int height);
    int CaptionHeight() const { return captionHeight_; }
    void SetCaption(const QString& text, const QIcon& icon = QIcon());
    const QString& CaptionText() const { return captionText_; }
    const QIcon& CaptionIcon() const { return captionIcon_; }
    void SetMessageText(const QString& text);
    const QString& MessageText() const { return messageText_; }

    // The band of the caption height at the top when it is shown, else empty.
    QRect CaptionRect() const;
    // What lies below the caption and a one-pixel gap.
    QRect MessageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateMargins();

    bool showCaption_ = false;
    int captionHeight_ = 0;
    QString captionText_;
    QIcon captionIcon_;
    QString messageText_;
};

class CTreePropSheet : public ThemedDialogBase {
    Q_OBJECT

public:
    static constexpr int kTreeWidth = 150;
    static constexpr int kTreeId = 32494;

    CTreePropSheet(const QString& caption, QWidget* parent = nullptr, int firstPage = 0);
    ~CTreePropSheet() override;

    // Before the sheet is initialised only (false afterwards). With tree mode off the other two
    // flags are left as they are. Only tree mode is built: its one user turns it on.
    bool SetTreeViewMode(bool treeMode = true, bool pageCaption = false, bool treeImages = false);
    bool IsTreeMode() const { return treeMode_; }

    // The sheet takes the page; the tree follows.
    void AddPage(CTreePropPage* page);
    void RemovePage(int index);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    CTreePropPage* GetPage(int index) const;
    void SetPageIcon(int index, const QIcon& icon);

    int GetActiveIndex() const { return activeIndex_; }
    // Leaves the active page (when it lets itself be left) and shows `index`.
    bool SetActivePage(int index);

    // Shown in the frame for a node that is no page: "%1" stands for the node's text.
    void SetEmptyPageText(const QString& format) { emptyPageText_ = format; }

    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous item in tree order, round at the ends.
    void SelectNextItem();
    void SelectPreviousItem();

    QTreeWidget* PageTree() const { return tree_; }
    CPageFrameWnd* PageFrame() const { return frame_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // The tree's item of page `index`; nullptr outside the pages.
    QTreeWidgetItem* FindPageItem(int index) const;

    // OK asks the active page first.
    void accept() override;

protected:
    void OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FillPageTree();
    QTreeWidgetItem* InsertItemPath(QTreeWidgetItem* parent, const QString& title, int pageIndex);
    void OnCurrentItemChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    bool ActivateItem(QTreeWidgetItem* item);
    void UpdateCaption();
    void SelectItem(QTreeWidgetItem* item);
    bool HandleKey(QKeyEvent& event);

    bool treeMode_ = true;
    bool pageCaption_ = false;
    bool treeImages_ = false;
    bool selectionGuard_ = false;
    int activeIndex_ = 0;
    bool pageHidden_ = false;
    QString emptyPageText_;
    std::vector<CTreePropPage*> pages_;
    std::vector<QIcon> pageIcons_;
    QTreeWidget* tree_;
    CPageFrameWnd* frame_;
    QStackedWidget* stack_;
    QWidget* noPage_;
    QDialogButtonBox* buttons_;
};

}  // namespace zov::shell

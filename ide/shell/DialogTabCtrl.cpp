#include "ide/shell/DialogTabCtrl.h"

#include <QTabBar>

namespace zov::shell {

CDialogTabCtrl::CDialogTabCtrl(QWidget* parent) : QTabWidget(parent)
{
    // A page the user picks takes the keyboard focus; one chosen by the program does not.
    connect(tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index != currentIndex()) {
            setCurrentIndex(index);
            widget(index)->setFocus(Qt::MouseFocusReason);
        }
    });
}

int CDialogTabCtrl::AddPage(QWidget* page, const QString& caption)
{
    if (page == nullptr)
        return -1;
    return addTab(page, caption);
}

void CDialogTabCtrl::SetActivePage(int index)
{
    if (index >= 0 && index < count())
        setCurrentIndex(index);
}

}  // namespace zov::shell

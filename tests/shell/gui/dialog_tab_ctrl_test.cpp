#include "ide/shell/DialogTabCtrl.h"
#include "ide/shell/ThemedDialog.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using zov::shell::CDialogTabCtrl;
using zov::shell::ThemedPropertyPageBase;

class DialogTabCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

TEST_F(DialogTabCtrlTest, TakesAnyNumberOfPagesAndShowsOnlyTheActiveOne)
{
    std::vector<QPointer<QWidget>> pages;
    {
        CDialogTabCtrl tabs;
        for (int i = 0; i < 12; ++i) {
            auto* page = new ThemedPropertyPageBase;
            pages.emplace_back(page);
            EXPECT_EQ(tabs.AddPage(page, QStringLiteral("Page %1").arg(i)), i);
        }
        EXPECT_EQ(tabs.AddPage(nullptr, "Rien"), -1);
        EXPECT_EQ(tabs.count(), 12);
        EXPECT_EQ(tabs.tabText(11), "Page 11");
        tabs.show();
        for (int active : {11, 3, 0}) {
            tabs.SetActivePage(active);
            EXPECT_EQ(tabs.ActivePage(), active);
            for (int i = 0; i < 12; ++i)
                EXPECT_EQ(pages[i]->isVisible(), i == active) << active << " " << i;
        }
        tabs.SetActivePage(12);
        tabs.SetActivePage(-1);
        EXPECT_EQ(tabs.ActivePage(), 0);
    }
    // The control deleted its pages.
    for (const QPointer<QWidget>& page : pages)
        EXPECT_TRUE(page.isNull());
}

TEST_F(DialogTabCtrlTest, ClickingTheCurrentTabChangesNothing)
{
    CDialogTabCtrl tabs;
    tabs.AddPage(new QWidget, "Options");
    tabs.AddPage(new QWidget, "Mise en page");
    tabs.resize(300, 200);
    tabs.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tabs));
    QSignalSpy changes(&tabs, &QTabWidget::currentChanged);
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(0).center());
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(tabs.ActivePage(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(1).center());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(tabs.ActivePage(), 1);
    EXPECT_TRUE(tabs.Page(1)->isVisible());
    EXPECT_FALSE(tabs.Page(0)->isVisible());
}

}  // namespace

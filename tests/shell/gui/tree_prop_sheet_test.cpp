#include "ide/shell/TreePropSheet.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace zov::shell;

class Page : public CTreePropPage {
public:
    explicit Page(const QString& title) : CTreePropPage(title)
    {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(title, this));
    }
    bool CanLeave() override
    {
        ++leaveChecks;
        return mayLeave;
    }
    bool mayLeave = true;
    int leaveChecks = 0;
};

class TreePropSheetTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }

    // A sheet over the titles, initialised as showing it would.
    std::unique_ptr<CTreePropSheet> Sheet(const QStringList& titles, int firstPage = 0)
    {
        auto sheet = std::make_unique<CTreePropSheet>(QStringLiteral("Feuille"), nullptr, firstPage);
        sheet->SetTreeViewMode(true, true, true);
        pages_.clear();
        for (const QString& title : titles) {
            auto* page = new Page(title);
            pages_.push_back(page);
            sheet->AddPage(page);
        }
        sheet->SetEmptyPageText(QStringLiteral("Choisissez une page sous %1"));
        sheet->InitialiseOnce();
        return sheet;
    }

    // The tree as "text(page)" lines, children indented by two blanks, in tree order.
    static QStringList Outline(const QTreeWidget& tree)
    {
        QStringList lines;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it != nullptr; ++it) {
            int depth = 0;
            for (QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
                ++depth;
            lines << QString(depth * 2, ' ') + (*it)->text(0) + "(" +
                         QString::number((*it)->data(0, Qt::UserRole).toInt()) + ")";
        }
        return lines;
    }

    static QString Current(const CTreePropSheet& sheet) { return sheet.PageTree()->currentItem()->text(0); }

    std::vector<Page*> pages_;
};

TEST_F(TreePropSheetTest, TitlesBuildTheTree)
{
    const struct {
        QStringList titles;
        QStringList outline;
    } cases[] = {
        {{"Générale", "Traces", "Exécution"}, {"Générale(0)", "Traces(1)", "Exécution(2)"}},
        {{"A::x", "B", "A::y"}, {"A(-1)", "  x(0)", "  y(2)", "B(1)"}},
        {{R"(a\::b)", R"(\\)", "A::B::z"}, {"a::b(0)", R"(\(1))", "A(-1)", "  B(-1)", "    z(2)"}},
    };
    for (const auto& c : cases) {
        auto sheet = Sheet(c.titles);
        EXPECT_EQ(Outline(*sheet->PageTree()), c.outline) << c.titles.join('|').toStdString();
    }
}

TEST_F(TreePropSheetTest, TreeIsOneHundredFiftyPixelsWideWithTheFirstPageSelected)
{
    auto sheet = Sheet({"Un", "Deux", "Trois"}, 2);
    EXPECT_EQ(sheet->PageTree()->width(), 150);
    EXPECT_EQ(sheet->PageTree()->objectName(), "c32494");
    EXPECT_EQ(Current(*sheet), "Trois");
    EXPECT_EQ(sheet->GetActiveIndex(), 2);
    EXPECT_EQ(sheet->PageFrame()->CaptionText(), "Trois");
}

TEST_F(TreePropSheetTest, CaptionShowsTheSelectedTitleAndIcon)
{
    auto sheet = Sheet({"Un", "Deux"});
    QPixmap red(16, 16);
    red.fill(Qt::red);
    sheet->SetPageIcon(1, QIcon(red));
    sheet->AddPage(new Page("Trois"));  // refills the tree with the icon
    sheet->PageTree()->setCurrentItem(sheet->FindPageItem(1));
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
    EXPECT_EQ(sheet->PageFrame()->CaptionText(), "Deux");
    EXPECT_EQ(sheet->PageFrame()->CaptionIcon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_TRUE(sheet->PageFrame()->MessageText().isEmpty());
}

TEST_F(TreePropSheetTest, NodeThatIsNoPageShowsTheMessage)
{
    auto sheet = Sheet({"A::x", "A::y"});
    sheet->PageTree()->setCurrentItem(sheet->PageTree()->topLevelItem(0));
    EXPECT_EQ(sheet->PageFrame()->MessageText(), "Choisissez une page sous A");
    EXPECT_EQ(sheet->PageFrame()->CaptionText(), "A");
    EXPECT_EQ(pages_[0]->leaveChecks, 1);
    EXPECT_FALSE(pages_[0]->isVisibleTo(sheet.get()));
    sheet->PageTree()->setCurrentItem(sheet->FindPageItem(1));
    EXPECT_TRUE(sheet->PageFrame()->MessageText().isEmpty());
    EXPECT_EQ(sheet->GetActiveIndex(), 1);
}

TEST_F(TreePropSheetTest, CtrlTabWalksTheTreeAndWraps)
{
    auto sheet = Sheet({"A::x", "B", "A::y", "C::D::z"});
    // Tree order: A, x, y, B, C, D, z.
    const QStringList forward = {"x", "y", "B", "C", "D", "z", "A", "x"};
    sheet->PageTree()->setCurrentItem(sheet->PageTree()->topLevelItem(0));
    for (const QString& expected : forward) {
        QTest::keyClick(sheet->PageTree(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(Current(*sheet), expected);
    }
    const QStringList backward = {"A", "z", "D", "C", "B", "y", "x", "A"};
    for (const QString& expected : backward) {
        QTest::keyClick(sheet->PageTree(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Current(*sheet), expected);
    }
}

TEST_F(TreePropSheetTest, CtrlTabFromAControlOfThePage)
{
    auto sheet = Sheet({"Un", "Deux"});
    QTest::keyClick(pages_[0]->findChild<QLabel*>(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Current(*sheet), "Deux");
    QTest::keyClick(pages_[1]->findChild<QLabel*>(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Current(*sheet), "Un");
}

TEST_F(TreePropSheetTest, PageThatRefusesToBeLeftKeepsTheSelection)
{
    auto sheet = Sheet({"Un", "Deux", "A::x"});
    pages_[0]->mayLeave = false;
    sheet->PageTree()->setCurrentItem(sheet->FindPageItem(1));
    EXPECT_EQ(Current(*sheet), "Un");
    EXPECT_EQ(sheet->GetActiveIndex(), 0);
    QTest::keyClick(sheet->PageTree(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Current(*sheet), "Un");
    sheet->PageTree()->setCurrentItem(sheet->PageTree()->topLevelItem(2));
    EXPECT_EQ(Current(*sheet), "Un");
    EXPECT_TRUE(sheet->PageFrame()->MessageText().isEmpty());
    // OK asks the page too.
    sheet->accept();
    EXPECT_EQ(sheet->result(), QDialog::Rejected);
    pages_[0]->mayLeave = true;
    sheet->PageTree()->setCurrentItem(sheet->FindPageItem(1));
    EXPECT_EQ(Current(*sheet), "Deux");
}

TEST_F(TreePropSheetTest, ModeIsFixedOnceInitialised)
{
    CTreePropSheet sheet(QStringLiteral("Feuille"));
    EXPECT_TRUE(sheet.SetTreeViewMode(true, false, false));
    sheet.InitialiseOnce();
    EXPECT_FALSE(sheet.SetTreeViewMode(true, true, true));
    EXPECT_FALSE(sheet.PageFrame()->IsCaptionShown());
}

TEST_F(TreePropSheetTest, RemovingAPageRefillsTheTree)
{
    auto sheet = Sheet({"Un", "Deux", "Trois"}, 2);
    sheet->RemovePage(0);
    EXPECT_EQ(Outline(*sheet->PageTree()), (QStringList{"Deux(0)", "Trois(1)"}));
    EXPECT_EQ(Current(*sheet), "Trois");
    EXPECT_EQ(sheet->FindPageItem(2), nullptr);
}

}  // namespace

#include "ide/shell/BitmapKeyed.h"
#include "ide/shell/ComboBoxes.h"
#include "ide/shell/ObjectNames.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace zov::shell;

class ComboBoxesTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

TEST_F(ComboBoxesTest, TheTickedTextsAreJoinedByTheListSeparator)
{
    const QStringList texts = {"Campagne", "Lot", "Test"};
    struct Case {
        std::vector<bool> ticked;
        QString separator;
        QString expected;
    };
    const std::vector<Case> cases = {
        {{true, false, true}, ";", "Campagne; Test"},
        {{true, true, true}, ";", "Campagne; Lot; Test"},
        {{false, true, false}, ";", "Lot"},
        {{false, false, false}, ";", ""},
        {{true, true, false}, "", "Campagne; Lot"},     // an empty separator stands as ";"
        {{true, true, false}, ",  ", "Campagne, Lot"},  // trailing blanks give way to one
        {{true, true, false}, " ", "Campagne; Lot"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinCheckedTexts(texts, c.ticked, c.separator), c.expected) << c.separator.toStdString();
}

TEST_F(ComboBoxesTest, TheCheckListTicksWhileStayingOpen)
{
    CheckComboBox combo;
    combo.addItems({"Rouge", "Vert", "Bleu"});
    combo.resize(160, 24);
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    EXPECT_EQ(combo.Text(), "");
    EXPECT_FALSE(combo.SetCheck(3, 1));
    EXPECT_FALSE(combo.SetCheck(-1, 1));
    EXPECT_EQ(combo.GetCheck(7), 0);
    QSignalSpy changes(&combo, &CheckComboBox::selChange);

    combo.showPopup();
    QAbstractItemView* list = combo.view();
    ASSERT_TRUE(list->isVisible());
    const QPoint second = list->visualRect(combo.model()->index(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(combo.GetCheck(1), 1);
    EXPECT_EQ(combo.Text(), "Vert");
    const QPoint third = list->visualRect(combo.model()->index(2, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, third);
    EXPECT_EQ(combo.Text(), "Vert; Bleu");
    EXPECT_EQ(changes.count(), 2);

    // Right-click: all ticked unless all are, then all unticked.
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, second);
    EXPECT_EQ(combo.Text(), "Rouge; Vert; Bleu");
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, second);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(changes.count(), 4);

    // Space inverts the current item.
    list->setCurrentIndex(combo.model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(combo.Text(), "Rouge");
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(changes.count(), 6);
    EXPECT_TRUE(list->isVisible());
    combo.hidePopup();

    combo.SetCheckAll(1);
    EXPECT_EQ(combo.Text(), "Rouge; Vert; Bleu");
    EXPECT_EQ(changes.count(), 6);  // changes made by the owner are not reported
}

QPixmap Picture(int width, int height)
{
    QPixmap picture(width, height);
    picture.fill(Qt::darkCyan);
    return picture;
}

TEST_F(ComboBoxesTest, PictureItemsAndBoldHeadings)
{
    CBitmapKeyed small, tall;
    ASSERT_TRUE(small.CreateFromPlaceholder(nullptr, 0, Picture(16, 16)));
    ASSERT_TRUE(tall.CreateFromPlaceholder(nullptr, 0, Picture(20, 40)));
    COwnerDrawComboBox combo;
    EXPECT_FALSE(combo.GetItemInfo());
    EXPECT_EQ(combo.AddItem(nullptr, "Couleurs"), 0);
    EXPECT_EQ(combo.AddItem(&small, "Noir"), 1);
    EXPECT_EQ(combo.InsertItem(5, &small, "loin"), -1);
    EXPECT_EQ(combo.itemData(0, Qt::FontRole).value<QFont>().weight(), QFont::Bold);
    EXPECT_FALSE(combo.itemData(1, Qt::FontRole).isValid());

    const int before = combo.ItemHeight();
    EXPECT_EQ(combo.AddItem(&tall, "Grand"), 2);
    EXPECT_EQ(combo.ItemHeight(), 41);
    EXPECT_GT(combo.ItemHeight(), before);
    for (int i = 0; i < combo.count(); ++i)
        EXPECT_EQ(combo.view()->sizeHintForRow(i), 41) << i;
    EXPECT_EQ(combo.LargestWidth(), 20);

    combo.setCurrentIndex(1);
    const auto info = combo.GetItemInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->record, &small);
    EXPECT_EQ(info->text, "Noir");
    combo.setCurrentIndex(0);
    EXPECT_EQ(combo.GetItemInfo()->record, nullptr);

    combo.resize(200, 50);
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    combo.showPopup();
    EXPECT_FALSE(combo.view()->grab().isNull());
    combo.hidePopup();
}

TEST_F(ComboBoxesTest, APictureTakesItsPlaceholdersPlace)
{
    QWidget dialog;
    dialog.resize(200, 100);
    auto* placeholder = new QLabel("x", &dialog);
    SetControlId(*placeholder, 1300);
    placeholder->setGeometry(10, 12, 20, 30);

    CBitmapKeyed picture;
    picture.SetTooltipText("Dossier du projet");
    ASSERT_TRUE(picture.CreateFromPlaceholder(&dialog, 1300, QStringLiteral(":/shell/folder.png")));
    EXPECT_TRUE(placeholder->isHidden());
    EXPECT_EQ(picture.parentWidget(), &dialog);
    EXPECT_EQ(picture.geometry(), QRect(10, 12, 30, 30));  // no narrower than high
    EXPECT_EQ(FindControl(dialog, 1300), &picture);
    EXPECT_EQ(picture.toolTip(), "Dossier du projet");
    EXPECT_FALSE(picture.Image().isNull());

    CBitmapKeyed loose;
    const QRect untouched = loose.geometry();
    ASSERT_TRUE(loose.CreateFromPlaceholder(&dialog, 0, QStringLiteral(":/shell/folder.png")));
    EXPECT_EQ(loose.parentWidget(), nullptr);
    EXPECT_EQ(loose.geometry(), untouched);
    EXPECT_TRUE(loose.toolTip().isEmpty());
    EXPECT_FALSE(loose.CreateFromPlaceholder(&dialog, 0, QStringLiteral(":/shell/none.png")));
}

}  // namespace

#include "ide/shell/ButtonEx.h"
#include "ide/shell/ShellIcons.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using zov::shell::CButtonEx;
using zov::shell::ShellIcon;

class ButtonExTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

TEST_F(ButtonExTest, ANullIconKeepsTheIcon)
{
    CButtonEx button;
    const QIcon icon = ShellIcon("arrow_left.png");
    ASSERT_FALSE(icon.isNull());
    button.SetIcon(icon);
    EXPECT_EQ(button.icon().cacheKey(), icon.cacheKey());
    button.SetIcon(QIcon());
    EXPECT_EQ(button.icon().cacheKey(), icon.cacheKey());
    EXPECT_TRUE(button.text().isEmpty());
    EXPECT_EQ(button.toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_TRUE(button.autoRaise());
}

TEST_F(ButtonExTest, AToggleButtonAlternatesWhileTheOwnerGetsEveryClick)
{
    for (const auto kind : {CButtonEx::Kind::Push, CButtonEx::Kind::Toggle}) {
        CButtonEx button(nullptr, kind);
        button.resize(24, 24);
        button.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
        QSignalSpy clicks(&button, &CButtonEx::clicked);
        std::vector<bool> states;
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(&button, Qt::LeftButton);
            states.push_back(button.GetToggleState());
        }
        EXPECT_EQ(clicks.count(), 3);
        if (kind == CButtonEx::Kind::Toggle)
            EXPECT_EQ(states, std::vector<bool>({true, false, true}));
        else
            EXPECT_EQ(states, std::vector<bool>({false, false, false}));
    }
}

TEST_F(ButtonExTest, DisablingMovesTheFocusOnlyWhenTheButtonHadIt)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* button = new CButtonEx(&window);
    auto* next = new CButtonEx(&window);
    for (QWidget* widget : std::initializer_list<QWidget*>{edit, button, next})
        layout->addWidget(widget);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // A list or edit being typed in keeps the focus.
    edit->setFocus();
    button->setEnabled(false);
    EXPECT_TRUE(edit->hasFocus());

    // The button's own focus goes to the next tab stop.
    button->setEnabled(true);
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    button->setEnabled(false);
    EXPECT_TRUE(next->hasFocus());
}

TEST_F(ButtonExTest, TheShellsIconsHaveTransparentCorners)
{
    for (const char* name : {"arrow_left.png", "arrow_right.png", "arrow_up.png", "arrow_down.png", "folder.png"}) {
        const QIcon icon = ShellIcon(name);
        ASSERT_FALSE(icon.isNull()) << name;
        const QImage image = icon.pixmap(16, 16).toImage();
        EXPECT_TRUE(image.hasAlphaChannel()) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << name;
    }
}

}  // namespace

#include "ide/shell/HyperlinkControl.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace zov::shell;

class HyperlinkControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        link_ = new HyperlinkControl("Site du banc", "https://example.org/banc", window_.get());
        link_->SetOpener([this](const QString& target) { opened_.push_back(target); });
        layout->addWidget(link_);
        layout->addWidget(new QLabel("fin", window_.get()));
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    std::unique_ptr<QWidget> window_;
    HyperlinkControl* link_ = nullptr;
    std::vector<QString> opened_;
};

TEST_F(HyperlinkControlTest, TurnsPurpleAfterTheFirstOpeningWhateverTheOutcome)
{
    EXPECT_EQ(link_->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(link_->cursor().shape(), Qt::PointingHandCursor);
    link_->SetOpener([](const QString&) {});  // an opener that quietly fails
    link_->Open();
    EXPECT_TRUE(link_->Visited());
    EXPECT_EQ(link_->palette().color(QPalette::WindowText), QColor(128, 0, 128));
}

TEST_F(HyperlinkControlTest, AClickOrSpaceOpensTheTargetAndOtherKeysDoNot)
{
    QTest::mouseClick(link_, Qt::LeftButton);
    EXPECT_EQ(opened_, std::vector<QString>{"https://example.org/banc"});
    link_->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_A, Qt::Key_Enter, Qt::Key_Tab})
        QTest::keyClick(link_, key);
    EXPECT_EQ(opened_.size(), 1u);
    link_->SetURL("/usr/share/doc");
    QTest::keyClick(link_, Qt::Key_Space);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], "/usr/share/doc");
    // A click that ends outside the link opens nothing.
    QTest::mousePress(link_, Qt::LeftButton);
    QTest::mouseRelease(link_, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    EXPECT_EQ(opened_.size(), 2u);
}

TEST_F(HyperlinkControlTest, UnderlinedWhileHoveredWithAFocusFrame)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link_, &enter);
    EXPECT_TRUE(link_->Hovered());
    EXPECT_TRUE(link_->font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link_, &leave);
    EXPECT_FALSE(link_->font().underline());

    link_->clearFocus();
    const QImage plain = link_->grab().toImage();
    link_->setFocus();
    ASSERT_TRUE(link_->hasFocus());
    const QImage framed = link_->grab().toImage();
    EXPECT_NE(plain, framed);
}

TEST_F(HyperlinkControlTest, ALabelOfADialogBecomesALinkInItsPlace)
{
    QWidget dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel("Aide en ligne", &dialog);
    label->setObjectName("c1205");
    layout->addWidget(label);
    HyperlinkControl* link = HyperlinkControl::ConvertStaticToHyperlink(*label, "https://example.org/aide");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), "Aide en ligne");
    EXPECT_EQ(link->Target(), "https://example.org/aide");
    EXPECT_EQ(dialog.findChild<HyperlinkControl*>("c1205"), link);
    EXPECT_EQ(layout->indexOf(link), 0);
    EXPECT_EQ(layout->indexOf(label), -1);
    EXPECT_TRUE(label->isHidden());
    QLabel orphan("seul");
    EXPECT_EQ(HyperlinkControl::ConvertStaticToHyperlink(orphan, "x"), nullptr);
}

}  // namespace

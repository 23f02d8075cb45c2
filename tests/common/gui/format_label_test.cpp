#include "common/gui/FormatLabel.h"

#include "QtTestSupport.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using zov::CFormatLabel;
using namespace zov::markup;

class FormatLabelTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

TEST_F(FormatLabelTest, ARepaintDrawsExactlyLikeTheFirstPaint)
{
    CFormatLabel label;
    label.resize(300, 80);
    // The text ends bold, red and large: a repaint that kept that style would draw "plain" so.
    label.SetText("plain#R#B#CR#SLend");
    const QImage first = label.grab().toImage();
    label.update();
    const QImage second = label.grab().toImage();
    EXPECT_EQ(first, second);

    CFormatLabel fresh;
    fresh.resize(300, 80);
    fresh.SetText("plain");
    const QImage plainOnly = fresh.grab().toImage();
    // The first line of the repaint equals a label holding only the plain word.
    const int firstLineHeight = label.PlacedRuns().front().extent.height;
    EXPECT_EQ(second.copy(0, 0, 300, firstLineHeight + 2), plainOnly.copy(0, 0, 300, firstLineHeight + 2));
}

TEST_F(FormatLabelTest, RunsUseTheirStyleAndTheLabelsFonts)
{
    CFormatLabel label;
    label.SetText("#CRred#R#CVgreen#Ttab");
    const auto runs = label.PlacedRuns();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].style.colour, kRed);
    EXPECT_EQ(runs[1].style.colour, kGreen);
    EXPECT_EQ(runs[1].x, kMargin);
    EXPECT_EQ(runs[1].y, kMargin + runs[0].extent.height);
    EXPECT_EQ(runs[2].x % kTabWidth, 0);
    EXPECT_GT(runs[2].x, runs[1].x + runs[1].extent.width - 1);
    EXPECT_GT(label.sizeHint().width(), runs[2].x);
}

TEST_F(FormatLabelTest, PaintsTheRunColoursOnTheBackground)
{
    CFormatLabel label;
    label.resize(200, 40);
    label.SetText("#B#CR\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88");  // full blocks, so that pixels are surely red
    const QImage image = label.grab().toImage();
    bool sawRed = false;
    for (int y = 0; y < image.height() && !sawRed; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() < 60 && pixel.blue() < 60) {
                sawRed = true;
                break;
            }
        }
    }
    EXPECT_TRUE(sawRed);
    EXPECT_EQ(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::white));

    label.SetBackgroundColour(0xFF0000);  // Windows colour value: blue
    EXPECT_EQ(label.grab().toImage().pixelColor(199, 39), QColor(0, 0, 255));
}

TEST_F(FormatLabelTest, ColoursAndFontsFollowWindowsValuesAndStyles)
{
    EXPECT_EQ(zov::ColourFromWindowsValue(kBlue), QColor(0, 0, 255));
    EXPECT_EQ(zov::ColourFromWindowsValue(kYellow), QColor(255, 255, 0));
    EXPECT_EQ(zov::ColourFromWindowsValue(0x123456), QColor(0x56, 0x34, 0x12));
    Style style;
    style.sizeTenths = 120;
    style.bold = style.italic = style.underline = true;
    const QFont font = zov::FontForStyle(style);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 12.0);
    EXPECT_EQ(font.weight(), QFont::Bold);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(font.family(), "Arial");
}

}  // namespace

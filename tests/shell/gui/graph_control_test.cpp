#include "ide/shell/ButtonEx.h"
#include "ide/shell/GraphControl.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace zov::shell;

// Every character 6 pixels wide, every line 10 high.
QSize FixedMeasure(const QString& text)
{
    return QSize(6 * static_cast<int>(text.size()), 10);
}

TEST(ChartPlotTicksTest, MarksLabelsAndDecimalsFollowTheAxis)
{
    EXPECT_TRUE(TickMarkOffsets(0, 0, 100, 100).empty());
    EXPECT_EQ(TickMarkOffsets(4, 0, 100, 100), (std::vector<int>{0, 25, 50, 75, 100}));
    EXPECT_EQ(TickMarkOffsets(3, 0, 10, 100), (std::vector<int>{0, 33, 66, 100}));
    // An empty range puts every mark at the origin.
    EXPECT_EQ(TickMarkOffsets(2, 7, 7, 100), (std::vector<int>{0, 0, 0}));

    EXPECT_TRUE(LabelOffsets(0, 100).empty());
    EXPECT_EQ(LabelOffsets(1, 100), (std::vector<int>{0}));
    EXPECT_EQ(LabelOffsets(2, 80), (std::vector<int>{0, 80}));
    EXPECT_EQ(LabelOffsets(3, 100), (std::vector<int>{0, 50, 100}));
    EXPECT_EQ(LabelOffsets(4, 100), (std::vector<int>{0, 33, 66, 100}));

    EXPECT_EQ(LabelValues(1, 5, 9), (std::vector<double>{5}));
    EXPECT_EQ(LabelValues(3, 0, 100), (std::vector<double>{0, 50, 100}));
    EXPECT_EQ(LabelValues(3, 4, 4), (std::vector<double>{4, 4, 4}));

    struct Case {
        int count;
        double min, max;
        int decimals;
    };
    const std::vector<Case> cases = {
        {3, 0, 100, 0}, {6, 0, 1, 1}, {5, 0, 1, 2}, {4, 0, 1, 3}, {6, 0, 100, 0}, {1, 0.5, 0.5, 1}, {0, 2, 2, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelDecimals(c.count, c.min, c.max), c.decimals) << c.count << " " << c.min << " " << c.max;
    EXPECT_EQ(DecimalsNeeded(0.125), 3);
    EXPECT_EQ(DecimalsNeeded(0.0625), 3);
    EXPECT_EQ(FormatTickLabel(0.5, 1), "0.5");
    EXPECT_EQ(FormatTickLabel(3, 0), "3");
    EXPECT_EQ(FormatTickLabel(1.0 / 3, 3), "0.333");
}

TEST(ChartPlotLayoutTest, PlacesThePlotInsideTheOuterRectangle)
{
    zov::testing::EnsureApplication();
    struct Case {
        const char* what;
        QString xTitle, yTitle;
        bool showX;
        int left, bottom, right, top;
    };
    const std::vector<Case> cases = {
        {"both axes labelled", "", "", true, 39, 80, 186, 12},
        {"a value title", "", "Tests", true, 54, 80, 186, 12},
        {"a category title", "Versions", "", true, 39, 65, 186, 12},
        {"no category labels", "", "", false, 39, 80, 195, 12},
    };
    for (const Case& c : cases) {
        ChartPlot plot;
        plot.SetXTitle(c.xTitle);
        plot.SetYTitle(c.yTitle);
        plot.SetShowXLabels(c.showX);
        plot.ComputeLayout(FixedMeasure, QFont(), QRect(0, 0, 200, 100));
        EXPECT_EQ(plot.Left(), c.left) << c.what;
        EXPECT_EQ(plot.Bottom(), c.bottom) << c.what;
        EXPECT_EQ(plot.Right(), c.right) << c.what;
        EXPECT_EQ(plot.Top(), c.top) << c.what;
    }
    ChartPlot plot;
    plot.ComputeLayout(FixedMeasure, QFont(), QRect(0, 0, 200, 100));
    ASSERT_EQ(plot.XTicks().size(), 3u);
    EXPECT_EQ(plot.XTicks()[1].position, 72);  // 147 / 100 × 50 - 1
    EXPECT_EQ(plot.YTicks()[1].position, 34);  // 80 - 68 / 100 × 50 - 12
    EXPECT_EQ(plot.YTicks()[2].text, "100");
}

TEST(ChartPlotLayoutTest, AnEmptyRangeOrASingleLabelDrawsWithoutFault)
{
    zov::testing::EnsureApplication();
    ChartPlot plot;
    plot.SetYRangeValues(3, 3);
    plot.SetXRangeValues(1, 1);
    plot.SetYLabelCount(1);
    plot.SetXLabelCount(1);
    plot.axisColour = 0;
    plot.ComputeLayout(FixedMeasure, QFont(), QRect(0, 0, 200, 100));
    for (const Tick& tick : plot.YTicks())
        EXPECT_EQ(tick.text, "3");
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    plot.DrawXAxis(painter, true);
    plot.DrawYAxis(painter, true);
    painter.end();
    // The axis line is drawn in the axis colour.
    EXPECT_EQ(image.pixelColor(plot.Left(), (plot.Top() + plot.Bottom()) / 2), QColor(Qt::black));
}

TEST(GraphColoursTest, TintsShadesAndBands)
{
    EXPECT_EQ(GradientLight(0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(GradientLight(0x102030), 0x92A2B2u);
    EXPECT_EQ(GradientLight(0x008000), 0x82FF82u);
    EXPECT_EQ(DarkShade(0xFFFFFF), 0x7F7F7Fu);
    EXPECT_EQ(DarkShade(0x204080), 0x102040u);
    EXPECT_EQ(GradientBand(0xFFFFFF, 0x000000, 0, 128), 0xFFFFFFu);
    EXPECT_EQ(GradientBand(0xFFFFFF, 0x000000, 64, 128), 0x808080u);
    EXPECT_EQ(GradientBand(0x82FF82, 0x008000, 128, 128), 0x008000u);

    const SlotPlace place = PlaceSlot(10, 300, 3, 1);
    EXPECT_EQ(place.slotLeft, 110);
    EXPECT_EQ(place.slotWidth, 100);
    EXPECT_EQ(place.barWidth, 66);
    EXPECT_EQ(place.barLeft, 127);
}

class GraphControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        graph_ = std::make_unique<GraphControl>();
        graph_->resize(400, 200);
        graph_->CreateScrollButtons();
        graph_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(graph_.get()));
    }
    std::unique_ptr<GraphControl> graph_;
};

TEST_F(GraphControlTest, StartsEmptyWithWhiteAxesAndNoCategoryLabels)
{
    EXPECT_EQ(graph_->PointCount(), 0);
    EXPECT_EQ(graph_->VisibleCount(), -1);
    EXPECT_EQ(graph_->StackHeight(0), 1);
    EXPECT_EQ(graph_->StackHeight(499), 1);
    EXPECT_EQ(graph_->Plot().axisColour, 0xFFFFFFu);
    EXPECT_EQ(graph_->Plot().XLabelCount(), 0);
    EXPECT_EQ(graph_->Plot().XGridCount(), 0);
    EXPECT_EQ(graph_->backgroundColour, 0xFFFFFFu);
    EXPECT_FALSE(graph_->LeftButton()->isVisible());
    EXPECT_EQ(graph_->LeftButton()->objectName(), "c101");
    EXPECT_EQ(graph_->RightButton()->objectName(), "c102");
    graph_->SetDrawStyle(2);
    EXPECT_EQ(graph_->DrawStyle(), 2);
}

TEST_F(GraphControlTest, ValuesOutsideTheSlotsOrTheStackAreIgnored)
{
    const int values[6] = {4, 5, 6, 7, 8, 9};
    graph_->SetPointValues(3, 2, values);
    EXPECT_EQ(graph_->StackHeight(3), 2);
    EXPECT_EQ(graph_->Value(3, 1), 5);
    for (const int count : {0, 6, -1})
        graph_->SetPointValues(3, count, values + 2);
    EXPECT_EQ(graph_->StackHeight(3), 2);
    EXPECT_EQ(graph_->Value(3, 0), 4);
    for (const int index : {-1, 500, 100000}) {
        graph_->SetPointValues(index, 5, values);
        graph_->SetPointLabel(index, "V1");
    }
    EXPECT_EQ(graph_->Value(499, 0), 0);
    graph_->SetPointCount(600);
    EXPECT_EQ(graph_->PointCount(), 500);
    graph_->SetPointCount(-3);
    EXPECT_EQ(graph_->PointCount(), 0);

    const std::uint32_t colours[2] = {0xFFFFFF, 0x204080};
    graph_->SetSeriesColours(2, colours);
    EXPECT_EQ(graph_->SeriesShade(0), 0x7F7F7Fu);
    EXPECT_EQ(graph_->SeriesShade(1), 0x102040u);
    const std::uint32_t six[6] = {1, 2, 3, 4, 5, 6};
    graph_->SetSeriesColours(6, six);
    EXPECT_EQ(graph_->SeriesColour(0), 0xFFFFFFu);

    graph_->SetPointCount(4);
    graph_->SetYRange(2, 10);
    graph_->ClearValues();
    EXPECT_EQ(graph_->Value(3, 0), 2);
    EXPECT_EQ(graph_->Value(3, 1), 5);
    graph_->SetPointLabel(1, "V1");
    EXPECT_EQ(graph_->SlotLabel(1), "V1");
    EXPECT_EQ(graph_->SlotLabel(2), " 2 ");
}

TEST_F(GraphControlTest, AVisibleCountBelowThePointCountShowsTheScrollButtons)
{
    graph_->SetPointCount(8);
    struct Case {
        int visible;
        bool buttons;
        int stored;
    };
    for (const Case& c :
         std::vector<Case>{{5, true, 5}, {1, true, 1}, {8, false, 8}, {9, false, 9}, {0, false, -1}, {-4, false, -1}}) {
        graph_->SetVisibleCount(c.visible);
        EXPECT_EQ(graph_->LeftButton()->isVisible(), c.buttons) << c.visible;
        EXPECT_EQ(graph_->RightButton()->isVisible(), c.buttons) << c.visible;
        EXPECT_EQ(graph_->VisibleCount(), c.stored) << c.visible;
        EXPECT_EQ(graph_->FirstVisible(), 0);
    }
    graph_->SetVisibleCount(5);
    EXPECT_EQ(graph_->LeftButton()->geometry(), QRect(400 - 40, 200 - 25, 15, 20));
    EXPECT_EQ(graph_->RightButton()->geometry(), QRect(400 - 23, 200 - 25, 15, 20));
    EXPECT_FALSE(graph_->LeftButton()->isEnabled());
    EXPECT_TRUE(graph_->RightButton()->isEnabled());

    // Three steps reach the last position; a fourth changes nothing.
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(graph_->RightButton(), Qt::LeftButton);
    EXPECT_EQ(graph_->FirstVisible(), 3);
    EXPECT_TRUE(graph_->LeftButton()->isEnabled());
    EXPECT_FALSE(graph_->RightButton()->isEnabled());
    QTest::keyClick(graph_.get(), Qt::Key_Left);
    EXPECT_EQ(graph_->FirstVisible(), 2);
    EXPECT_TRUE(graph_->RightButton()->isEnabled());
    graph_->ScrollLeft();
    graph_->ScrollLeft();
    graph_->ScrollLeft();
    EXPECT_EQ(graph_->FirstVisible(), 0);
    EXPECT_FALSE(graph_->LeftButton()->isEnabled());

    // The buttons keep their corner when the control grows.
    graph_->resize(500, 300);
    EXPECT_EQ(graph_->RightButton()->geometry(), QRect(500 - 23, 300 - 25, 15, 20));
}

TEST_F(GraphControlTest, PaintsFullSlotsWithBothBarStyles)
{
    graph_->SetPointCount(kGraphSlots);
    graph_->SetYRange(0, 25);
    const std::uint32_t colours[3] = {0x00FF00, 0x0000FF, 0x808080};
    graph_->SetSeriesColours(3, colours);
    const int values[3] = {2, 3, 4};
    for (int i = 0; i < kGraphSlots; ++i)
        graph_->SetPointValues(i, 3, values);
    graph_->Plot().axisColour = 0;
    graph_->SetVisibleCount(4);
    for (const std::uint16_t style : {1, 2}) {
        graph_->SetDrawStyle(style);
        const QImage image = graph_->grab().toImage();
        // The first bar's bottom value is drawn in the first series' colour near the axis.
        const ChartPlot& plot = graph_->Plot();
        const SlotPlace place = PlaceSlot(plot.Left(), plot.Right() - plot.Left(), 4, 0);
        const QColor sample = image.pixelColor(place.barLeft + place.barWidth / 2, plot.Bottom() - 3);
        EXPECT_GT(sample.green(), 200) << style;
        EXPECT_LT(sample.red(), 160) << style;
    }
}

}  // namespace

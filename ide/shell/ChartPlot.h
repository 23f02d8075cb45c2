#pragma once
// The axes of the graph control: ranges, tick marks, tick labels and titles, and the plot
// rectangle they leave. Placement is computed by pure functions over a text measure, so the
// numbers are tested without a screen; drawing only puts the computed places on a painter.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPainter;

namespace zov::shell {

// The size of a text in the label font.
using TextMeasure = std::function<QSize(const QString&)>;

// Offsets of the tick marks along an axis of `length` pixels cut into `intervals` intervals:
// intervals + 1 marks from the origin to the far end, none for 0; all at the origin when the
// range is empty.
std::vector<int> TickMarkOffsets(int intervals, double min, double max, int length);

// Offsets of `count` labels: none for 0, one at the origin for 1, else (length × k) / (count - 1).
std::vector<int> LabelOffsets(int count, int length);

// The values those labels show: min + (max - min) × k / (count - 1); the minimum alone for 1.
std::vector<double> LabelValues(int count, double min, double max);

// The fewest decimals (at most `limit`) after which the value has no further fractional digit.
int DecimalsNeeded(double value, int limit = 3);

// One decimal count for every label of an axis: the largest that its values need, at most 3.
int LabelDecimals(int count, double min, double max);

// "%.<decimals>f".
QString FormatTickLabel(double value, int decimals);

struct Tick {
    double value = 0;
    int position = 0;
    QString text;
};

class ChartPlot {
public:
    ChartPlot() { RecomputeTicks(); }

    void SetXRangeValues(double min, double max);
    void SetYRangeValues(double min, double max);
    // Interval count = value - 1, none below 2.
    void SetXGridCount(int count) { xGridCount_ = count < 2 ? 0 : count - 1; }
    void SetYGridCount(int count) { yGridCount_ = count < 2 ? 0 : count - 1; }
    void SetXLabelCount(int count);
    void SetYLabelCount(int count);
    void SetXTitle(const QString& title) { xTitle_ = title; }
    void SetYTitle(const QString& title) { yTitle_ = title; }
    void SetShowXLabels(bool show) { showXLabels_ = show; }
    void SetShowYLabels(bool show) { showYLabels_ = show; }

    // Places the axes inside `outer` with texts measured in the label font; runs before drawing.
    void ComputeLayout(const TextMeasure& measure, const QFont& font, const QRect& outer);
    void UpdateTickPositions();

    // The category axis along the bottom, then the value axis along the left.
    void DrawXAxis(QPainter& painter, bool withAxisLine) const;
    void DrawYAxis(QPainter& painter, bool withAxisLine) const;

    int Left() const { return left_; }
    int Right() const { return right_; }
    int Top() const { return top_; }
    int Bottom() const { return bottom_; }
    double YMin() const { return yMin_; }
    double YMax() const { return yMax_; }
    int XGridCount() const { return xGridCount_; }
    int YGridCount() const { return yGridCount_; }
    int XLabelCount() const { return xLabelCount_; }
    int YLabelCount() const { return yLabelCount_; }
    int XDecimals() const { return xDecimals_; }
    int YDecimals() const { return yDecimals_; }
    const std::vector<Tick>& XTicks() const { return xTicks_; }
    const std::vector<Tick>& YTicks() const { return yTicks_; }
    // The outer rectangle of the last layout: the bars reach down to its bottom.
    const QRect& Outer() const { return outer_; }

    // Pen of the axis lines and marks, text of the labels and of the value title; the owner sets
    // it before the first paint (white until then).
    std::uint32_t axisColour = 0xFFFFFF;
    int horizontalMargin = 5;
    int verticalGap = 5;

private:
    void RecomputeTicks();

    double xMin_ = 0, xMax_ = 100, yMin_ = 0, yMax_ = 100;
    int xDecimals_ = 0, yDecimals_ = 0;
    int xTickLength_ = 5, yTickLength_ = 5;
    int left_ = 0, bottom_ = 0, right_ = 0, top_ = 0;
    QString xTitle_, yTitle_;
    QFont font_;
    QRect outer_;
    int xGridCount_ = 11, yGridCount_ = 11;
    int xLabelCount_ = 3, yLabelCount_ = 3;
    std::vector<Tick> xTicks_, yTicks_;
    bool showXLabels_ = true, showYLabels_ = true;
};

}  // namespace zov::shell

#include "ide/shell/ChartPlot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zov::shell {

namespace {

QColor FromRef(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

}  // namespace

std::vector<int> TickMarkOffsets(int intervals, double min, double max, int length)
{
    std::vector<int> offsets;
    if (intervals <= 0)
        return offsets;
    const double range = max - min;
    for (int i = 0; i <= intervals; ++i) {
        // An empty range puts every mark at the origin instead of dividing by zero.
        const double offset = range == 0 ? 0.0 : (i * range / intervals) * (length / range);
        offsets.push_back(static_cast<int>(offset));
    }
    return offsets;
}

std::vector<int> LabelOffsets(int count, int length)
{
    std::vector<int> offsets;
    if (count == 1)
        offsets.push_back(0);
    for (int k = 0; count > 1 && k < count; ++k)
        offsets.push_back(static_cast<int>(static_cast<long long>(length) * k / (count - 1)));
    return offsets;
}

std::vector<double> LabelValues(int count, double min, double max)
{
    std::vector<double> values;
    if (count == 1)
        values.push_back(min);
    for (int k = 0; count > 1 && k < count; ++k)
        values.push_back(min + (max - min) * k / (count - 1));
    return values;
}

int DecimalsNeeded(double value, int limit)
{
    if (!std::isfinite(value))
        return 0;
    double scale = 1;
    for (int decimals = 0; decimals < limit; ++decimals, scale *= 10) {
        const double scaled = std::abs(value) * scale;
        if (std::abs(scaled - std::round(scaled)) <= 1e-9 * std::max(1.0, scaled))
            return decimals;
    }
    return limit;
}

int LabelDecimals(int count, double min, double max)
{
    int decimals = DecimalsNeeded(min);
    for (int k = 0; count > 1 && k <= count; ++k)
        decimals = std::max(decimals, DecimalsNeeded(min + (max - min) * k / (count - 1)));
    return std::min(decimals, 3);
}

QString FormatTickLabel(double value, int decimals)
{
    return QString::asprintf("%.*f", decimals, value);
}

void ChartPlot::SetXRangeValues(double min, double max)
{
    xMin_ = min;
    xMax_ = max;
    RecomputeTicks();
}

void ChartPlot::SetYRangeValues(double min, double max)
{
    yMin_ = min;
    yMax_ = max;
    RecomputeTicks();
}

void ChartPlot::SetXLabelCount(int count)
{
    xLabelCount_ = std::max(0, count);
    RecomputeTicks();
}

void ChartPlot::SetYLabelCount(int count)
{
    yLabelCount_ = std::max(0, count);
    RecomputeTicks();
}

void ChartPlot::RecomputeTicks()
{
    xDecimals_ = LabelDecimals(xLabelCount_, xMin_, xMax_);
    yDecimals_ = LabelDecimals(yLabelCount_, yMin_, yMax_);
    auto fill = [](std::vector<Tick>& ticks, int count, double min, double max, int decimals) {
        ticks.clear();
        for (const double value : LabelValues(count, min, max))
            ticks.push_back({value, 0, FormatTickLabel(value, decimals)});
    };
    fill(xTicks_, xLabelCount_, xMin_, xMax_, xDecimals_);
    fill(yTicks_, yLabelCount_, yMin_, yMax_, yDecimals_);
    UpdateTickPositions();
}

void ChartPlot::UpdateTickPositions()
{
    const double xRange = xMax_ - xMin_;
    const double yRange = yMax_ - yMin_;
    for (Tick& tick : xTicks_) {
        const double scale = xRange == 0 ? 0.0 : (right_ - left_) / xRange;
        tick.position = static_cast<int>(scale * (tick.value - xMin_) - 1);
    }
    for (Tick& tick : yTicks_) {
        const double scale = yRange == 0 ? 0.0 : (bottom_ - top_) / yRange;
        tick.position = static_cast<int>(bottom_ - scale * (tick.value - yMin_) - top_);
    }
}

void ChartPlot::ComputeLayout(const TextMeasure& measure, const QFont& font, const QRect& outer)
{
    font_ = font;
    outer_ = outer;
    const int L = outer.left();
    const int T = outer.top();
    const int R = outer.left() + outer.width();
    const int B = outer.top() + outer.height();

    int valueWidth = 0;
    if (showYLabels_) {
        yTickLength_ = 5;
        const auto spaced = [this](double v) { return QStringLiteral(" ") + FormatTickLabel(v, yDecimals_); };
        valueWidth = std::max(measure(spaced(yMin_)).width(), measure(spaced(yMax_)).width());
    } else {
        yTickLength_ = 0;
    }
    int labelHeight = 0;
    int widestX = 0;
    int narrowX = 0;
    if (showXLabels_) {
        xTickLength_ = 5;
        const QSize maxSize = measure(FormatTickLabel(xMax_, xDecimals_));
        labelHeight = maxSize.height();
        widestX = maxSize.width();
        narrowX = measure(FormatTickLabel(xMin_, xDecimals_)).width();
    } else {
        xTickLength_ = 0;
    }

    left_ = L + horizontalMargin + yTickLength_ + valueWidth;
    if (showYLabels_)
        left_ += horizontalMargin;
    if (!yTitle_.isEmpty())
        left_ += horizontalMargin + labelHeight;
    bottom_ = B - verticalGap - labelHeight;
    if (xGridCount_ != 0)
        bottom_ -= xTickLength_;
    if (!xTitle_.isEmpty())
        bottom_ -= labelHeight + verticalGap;
    right_ = R - widestX / 2 - horizontalMargin;
    top_ = T + verticalGap + verticalGap / 2 + yTickLength_;
    if (showYLabels_ && !showXLabels_)
        bottom_ -= verticalGap;
    if (showXLabels_ && !showYLabels_)
        left_ += narrowX / 2;
    if (!yTicks_.empty()) {
        int widest = 0;
        for (const Tick& tick : yTicks_)
            widest = std::max(widest, measure(tick.text).width());
        if (widest > valueWidth)
            left_ += widest - valueWidth;
    }
    if (!xTicks_.empty() && !showXLabels_)
        bottom_ -= measure(FormatTickLabel(xMax_, 0)).height();
    UpdateTickPositions();
}

void ChartPlot::DrawXAxis(QPainter& painter, bool withAxisLine) const
{
    painter.save();
    if (!xTitle_.isEmpty()) {
        const QFontMetrics metrics(painter.font());
        const int width = metrics.horizontalAdvance(xTitle_);
        const int height = metrics.height();
        painter.drawText(QPoint((left_ + right_) / 2 - width / 2, bottom_ + xTickLength_ + verticalGap + height) +
                             QPoint(0, metrics.ascent()),
                         xTitle_);
    }
    if (showXLabels_) {
        painter.setPen(QPen(FromRef(axisColour), 1));
        if (withAxisLine)
            painter.drawLine(left_, bottom_, right_, bottom_);
        for (const int offset : TickMarkOffsets(xGridCount_, xMin_, xMax_, right_ - left_))
            painter.drawLine(left_ + offset, bottom_, left_ + offset, bottom_ + xTickLength_ - 1);
        painter.setFont(font_);
        const QFontMetrics metrics(font_);
        const std::vector<int> offsets = LabelOffsets(xLabelCount_, right_ - left_);
        const std::vector<double> values = LabelValues(xLabelCount_, xMin_, xMax_);
        for (size_t k = 0; k < offsets.size(); ++k) {
            const QString text = FormatTickLabel(values[k], xDecimals_);
            const int x = left_ + offsets[k] + 1 - metrics.horizontalAdvance(text) / 2;
            painter.drawText(QPoint(x, bottom_ + xTickLength_ + metrics.ascent()), text);
        }
    }
    painter.restore();
}

void ChartPlot::DrawYAxis(QPainter& painter, bool withAxisLine) const
{
    painter.save();
    painter.setPen(QPen(FromRef(axisColour), 1));
    painter.setFont(font_);
    const QFontMetrics metrics(font_);
    if (!yTitle_.isEmpty()) {
        // Reads upward, centred on the plot's height, at the margin from the painter's left edge.
        const int width = metrics.horizontalAdvance(yTitle_);
        painter.save();
        painter.translate(horizontalMargin, (top_ + bottom_) / 2 + width / 2);
        painter.rotate(-90);
        painter.drawText(QPoint(0, metrics.ascent()), yTitle_);
        painter.restore();
    }
    if (showYLabels_) {
        if (withAxisLine)
            painter.drawLine(left_, bottom_, left_, top_);
        for (const int offset : TickMarkOffsets(yGridCount_, yMin_, yMax_, bottom_ - top_))
            painter.drawLine(left_ - yTickLength_ + 1, bottom_ - offset, left_, bottom_ - offset);
        const std::vector<int> offsets = LabelOffsets(yLabelCount_, bottom_ - top_);
        const std::vector<double> values = LabelValues(yLabelCount_, yMin_, yMax_);
        for (size_t k = 0; k < offsets.size(); ++k) {
            const QString text = FormatTickLabel(values[k], yDecimals_);
            const int x = left_ - yTickLength_ - metrics.horizontalAdvance(text) - 1;
            const int y = bottom_ - offsets[k] - metrics.height() / 2 - 1;
            painter.drawText(QPoint(x, y + metrics.ascent()), text);
        }
    }
    painter.restore();
}

}  // namespace zov::shell

#pragma once
// The bar chart of the results synthesis: up to 500 bars, each a stack of up to five coloured
// values, a value axis, a label under each bar and, when not every bar fits, two scroll buttons
// in the lower right corner. The owner feeds it slot by slot.

#include "ide/shell/ChartPlot.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>

namespace zov::shell {

class CButtonEx;

inline constexpr int kGraphSlots = 500;
inline constexpr int kGraphStack = 5;
inline constexpr int kScrollLeftId = 101;
inline constexpr int kScrollRightId = 102;

// The tint a gradient bar starts from: each component + 130, at most 255.
std::uint32_t GradientLight(std::uint32_t colour);
// The shade of a series' edge: each component halved (white gives RGB(127,127,127)).
std::uint32_t DarkShade(std::uint32_t colour);
// Band k of `bands` across a gradient from `light` to `base`.
std::uint32_t GradientBand(std::uint32_t light, std::uint32_t base, int offset, int size);

// Where slot `index` of `slotCount` lies in a plot from `plotLeft`, `plotWidth` wide: its bar takes two
// thirds of the slot's width, centred in it.
struct SlotPlace {
    int slotLeft = 0;
    int slotWidth = 0;
    int barLeft = 0;
    int barWidth = 0;
};
SlotPlace PlaceSlot(int plotLeft, int plotWidth, int slotCount, int index);

class GraphControl : public QWidget {
    Q_OBJECT

public:
    explicit GraphControl(QWidget* parent = nullptr);

    void CreateScrollButtons();
    // Clamped to 0..500.
    void SetPointCount(int count);
    int PointCount() const { return used_; }
    void SetYRange(double min, double max);
    void SetLabelFont(const QFont& font);
    // Indexes outside the 500 slots are ignored.
    void SetPointLabel(int index, const QString& text);
    // 1 to 5 values; any other count changes nothing.
    void SetPointValues(int index, int count, const int* values);
    void ClearValues();
    // 1 to 5 colours (Windows colour values); any other count changes nothing.
    void SetSeriesColours(int count, const std::uint32_t* colours);
    void SetSeriesNames(const QStringList& names) { seriesNames_ = names; }
    void SetShowValueLabels(bool show);
    // 1 solid bars with a shaded edge, 2 gradient bars.
    void SetDrawStyle(std::uint16_t style);
    std::uint16_t DrawStyle() const { return drawStyle_; }
    // Scrolling shows `count` slots at once when 1 ≤ count < the point count; -1 for all.
    void SetVisibleCount(int count);
    int VisibleCount() const { return visibleCount_; }
    int FirstVisible() const { return firstVisible_; }
    void ScrollLeft();
    void ScrollRight();
    void SetRightMargin(int pixels) { rightMarginOverride_ = pixels; }

    int StackHeight(int index) const;
    int Value(int index, int level) const;
    QString Label(int index) const;
    // The label under a bar: its text, or its number as " %d " when it has none.
    QString SlotLabel(int index) const;
    std::uint32_t SeriesColour(int i) const { return colours_[static_cast<size_t>(i)]; }
    std::uint32_t SeriesShade(int i) const { return shades_[static_cast<size_t>(i)]; }
    CButtonEx* LeftButton() const { return left_; }
    CButtonEx* RightButton() const { return right_; }
    ChartPlot& Plot() { return plot_; }
    const ChartPlot& Plot() const { return plot_; }

    // Written by the owner before the first paint (Windows colour values).
    std::uint32_t backgroundColour = 0xFFFFFF;
    std::uint32_t textColour = 0x000000;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ComputePlotArea();
    void PlaceButtons();
    void UpdateButtons();
    bool Scrolling() const { return visibleCount_ >= 1 && visibleCount_ < used_; }

    ChartPlot plot_;
    std::array<std::array<int, kGraphStack>, kGraphSlots> values_{};
    std::array<int, kGraphSlots> heights_{};
    std::array<QString, kGraphSlots> labels_;
    int used_ = 0;
    QFont labelFont_;
    std::array<std::uint32_t, kGraphStack> colours_{};
    std::array<std::uint32_t, kGraphStack> shades_{};
    QStringList seriesNames_;
    bool anyLabel_ = false;
    std::uint16_t drawStyle_ = 1;
    int visibleCount_ = -1;
    int firstVisible_ = 0;
    int rightMarginOverride_ = -1;
    CButtonEx* left_ = nullptr;
    CButtonEx* right_ = nullptr;
};

}  // namespace zov::shell

#include "ide/shell/GraphControl.h"

#include "ide/shell/ButtonEx.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellIcons.h"

#include <QKeyEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>

namespace zov::shell {

namespace {

QColor FromRef(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

int Component(std::uint32_t colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFF);
}

// The rectangle filled in bands from the light tint to the colour, left to right.
void FillGradient(QPainter& painter, const QRect& area, std::uint32_t base)
{
    const std::uint32_t light = GradientLight(base);
    const int size = area.width();
    const int band = std::max(1, size / 128);
    for (int offset = 0; offset < size; offset += band) {
        painter.fillRect(QRect(area.left() + offset, area.top(), std::min(band, size - offset), area.height()),
                         FromRef(GradientBand(light, base, offset, size)));
    }
}

}  // namespace

std::uint32_t GradientLight(std::uint32_t colour)
{
    std::uint32_t light = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        light |= static_cast<std::uint32_t>(std::min(255, Component(colour, shift) + 130)) << shift;
    return light;
}

std::uint32_t DarkShade(std::uint32_t colour)
{
    std::uint32_t dark = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        dark |= static_cast<std::uint32_t>(Component(colour, shift) / 2) << shift;
    return dark;
}

std::uint32_t GradientBand(std::uint32_t light, std::uint32_t base, int offset, int size)
{
    if (size <= 0)
        return base;
    std::uint32_t colour = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int l = Component(light, shift);
        const int b = Component(base, shift);
        colour |= static_cast<std::uint32_t>(l + (b - l) * offset / size) << shift;
    }
    return colour;
}

SlotPlace PlaceSlot(int plotLeft, int plotWidth, int slotCount, int index)
{
    SlotPlace place;
    if (slotCount <= 0)
        return place;
    place.slotWidth = plotWidth / slotCount;
    place.slotLeft = plotLeft + index * place.slotWidth;
    place.barWidth = place.slotWidth * 2 / 3;
    place.barLeft = place.slotLeft + (place.slotWidth - place.barWidth) / 2;
    return place;
}

GraphControl::GraphControl(QWidget* parent) : QWidget(parent), labelFont_(font())
{
    heights_.fill(1);
    plot_.SetXLabelCount(0);
    plot_.SetXGridCount(0);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphControl::CreateScrollButtons()
{
    if (left_ != nullptr)
        return;
    left_ = new CButtonEx(this);
    right_ = new CButtonEx(this);
    SetControlId(*left_, kScrollLeftId);
    SetControlId(*right_, kScrollRightId);
    left_->SetIcon(ShellIcon("arrow_left.png"));
    right_->SetIcon(ShellIcon("arrow_right.png"));
    for (CButtonEx* button : {left_, right_}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
    }
    connect(left_, &QToolButton::clicked, this, &GraphControl::ScrollLeft);
    connect(right_, &QToolButton::clicked, this, &GraphControl::ScrollRight);
    PlaceButtons();
}

void GraphControl::PlaceButtons()
{
    if (left_ == nullptr)
        return;
    // 40 to 25 and 23 to 8 pixels left of the right edge, 25 to 5 above the bottom.
    left_->setGeometry(width() - 40, height() - 25, 15, 20);
    right_->setGeometry(width() - 23, height() - 25, 15, 20);
}

void GraphControl::UpdateButtons()
{
    if (left_ == nullptr)
        return;
    left_->setEnabled(firstVisible_ != 0);
    right_->setEnabled(firstVisible_ + visibleCount_ != used_);
}

void GraphControl::SetPointCount(int count)
{
    used_ = std::clamp(count, 0, kGraphSlots);
    ComputePlotArea();
    update();
}

void GraphControl::SetYRange(double min, double max)
{
    plot_.SetYRangeValues(min, max);
    ComputePlotArea();
    update();
}

void GraphControl::SetLabelFont(const QFont& font)
{
    labelFont_ = font;
    ComputePlotArea();
    update();
}

void GraphControl::SetPointLabel(int index, const QString& text)
{
    if (index < 0 || index >= kGraphSlots)
        return;
    labels_[static_cast<size_t>(index)] = text;
    anyLabel_ = std::any_of(labels_.begin(), labels_.end(), [](const QString& label) { return !label.isEmpty(); });
    ComputePlotArea();
    update();
}

void GraphControl::SetPointValues(int index, int count, const int* values)
{
    if (index >= 0 && index < kGraphSlots && count >= 1 && count <= kGraphStack && values != nullptr) {
        heights_[static_cast<size_t>(index)] = count;
        std::copy(values, values + count, values_[static_cast<size_t>(index)].begin());
    }
    update();
}

void GraphControl::ClearValues()
{
    for (int i = 0; i < used_; ++i)
        values_[static_cast<size_t>(i)][0] = static_cast<int>(plot_.YMin());
    update();
}

void GraphControl::SetSeriesColours(int count, const std::uint32_t* colours)
{
    if (count >= 1 && count <= kGraphStack && colours != nullptr) {
        for (int i = 0; i < count; ++i) {
            colours_[static_cast<size_t>(i)] = colours[i];
            shades_[static_cast<size_t>(i)] = DarkShade(colours[i]);
        }
    }
    update();
}

void GraphControl::SetShowValueLabels(bool show)
{
    plot_.SetShowYLabels(show);
    ComputePlotArea();
    update();
}

void GraphControl::SetDrawStyle(std::uint16_t style)
{
    drawStyle_ = style;
    update();
}

void GraphControl::SetVisibleCount(int count)
{
    if (count >= 1 && count < used_) {
        visibleCount_ = count;
        ComputePlotArea();
        PlaceButtons();
        if (left_ != nullptr) {
            left_->show();
            right_->show();
        }
    } else {
        if (left_ != nullptr) {
            left_->hide();
            right_->hide();
        }
        visibleCount_ = count < 1 ? -1 : count;
        ComputePlotArea();
    }
    firstVisible_ = 0;
    update();
    if (left_ != nullptr) {
        left_->setEnabled(false);
        right_->setEnabled(true);
    }
}

void GraphControl::ScrollLeft()
{
    if (firstVisible_ > 0)
        --firstVisible_;
    update();
    UpdateButtons();
}

void GraphControl::ScrollRight()
{
    if (firstVisible_ + visibleCount_ < used_)
        ++firstVisible_;
    update();
    UpdateButtons();
}

int GraphControl::StackHeight(int index) const
{
    return index >= 0 && index < kGraphSlots ? heights_[static_cast<size_t>(index)] : 0;
}

int GraphControl::Value(int index, int level) const
{
    if (index < 0 || index >= kGraphSlots || level < 0 || level >= kGraphStack)
        return 0;
    return values_[static_cast<size_t>(index)][static_cast<size_t>(level)];
}

QString GraphControl::Label(int index) const
{
    return index >= 0 && index < kGraphSlots ? labels_[static_cast<size_t>(index)] : QString();
}

QString GraphControl::SlotLabel(int index) const
{
    const QString label = Label(index);
    return label.isEmpty() ? QString::asprintf(" %d ", index) : label;
}

void GraphControl::ComputePlotArea()
{
    const QFontMetrics metrics(labelFont_);
    const int textHeight = metrics.height();
    QRect outer = rect().adjusted(2, 2, -2, -2);
    outer.setBottom(outer.bottom() - textHeight - (anyLabel_ ? textHeight : 0));
    if (rightMarginOverride_ >= 0)
        outer.setRight(outer.right() - rightMarginOverride_);
    else if (Scrolling())
        outer.setRight(outer.right() - 40);
    plot_.ComputeLayout(
        [&metrics](const QString& text) { return QSize(metrics.horizontalAdvance(text), metrics.height()); },
        labelFont_, outer);
}

void GraphControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ComputePlotArea();
    if (Scrolling())
        PlaceButtons();
}

void GraphControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left)
        ScrollLeft();
    else if (event->key() == Qt::Key_Right)
        ScrollRight();
    else
        QWidget::keyPressEvent(event);
}

void GraphControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QBrush fill(FromRef(backgroundColour));
    qDrawShadePanel(&painter, rect(), palette(), true, 2, &fill);
    painter.setClipRect(rect().adjusted(2, 2, -2, -2));
    painter.setPen(FromRef(textColour));
    painter.setFont(labelFont_);
    plot_.DrawXAxis(painter, true);
    plot_.DrawYAxis(painter, true);

    const int shown = Scrolling() ? visibleCount_ : used_;
    const int plotWidth = plot_.Right() - plot_.Left();
    const int bottom = plot_.Bottom();
    const double range = plot_.YMax() - plot_.YMin();
    const double scale = range == 0 ? 0.0 : (bottom - plot_.Top()) / range;
    const QFontMetrics metrics(labelFont_);
    for (int j = 0; j < shown; ++j) {
        const int slot = firstVisible_ + j;
        if (slot >= used_)
            break;
        const SlotPlace place = PlaceSlot(plot_.Left(), plotWidth, shown, j);
        double base = plot_.YMin();
        for (int level = 0; level < heights_[static_cast<size_t>(slot)]; ++level) {
            const int value = values_[static_cast<size_t>(slot)][static_cast<size_t>(level)];
            if (value <= plot_.YMin())
                continue;
            const double top = base + value - plot_.YMin();
            const int yLow = bottom - static_cast<int>(scale * (base - plot_.YMin()));
            const int yHigh = bottom - static_cast<int>(scale * (top - plot_.YMin()));
            base = top;
            const QRect bar(place.barLeft, yHigh, place.barWidth, yLow - yHigh);
            if (bar.height() <= 0 || bar.width() <= 0)
                continue;
            const std::uint32_t colour = colours_[static_cast<size_t>(level)];
            if (drawStyle_ == 2) {
                FillGradient(painter, bar, colour);
            } else {
                painter.fillRect(bar, FromRef(colour));
                const QColor edge(Component(colour, 0) * 2 / 3, Component(colour, 8) * 2 / 3,
                                  Component(colour, 16) * 2 / 3);
                painter.setPen(edge);
                painter.drawRect(bar.adjusted(0, 0, -1, -1));
            }
        }
        painter.setPen(FromRef(textColour));
        const QString label = SlotLabel(slot);
        const QRect labelArea(place.slotLeft, bottom + 2, place.slotWidth, metrics.height() * 2);
        painter.drawText(labelArea, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, label);
    }
}

}  // namespace zov::shell

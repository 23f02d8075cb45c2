// A label that draws its text with the '#' mark-up (see Markup.h): the operator dialogs' message
// label and, in the caption dialect, the splash and about caption.
#pragma once

#include "common/Markup.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <string>
#include <vector>

namespace zov {

QColor ColourFromWindowsValue(uint32_t value);
QFont FontForStyle(const markup::Style& style);

class CFormatLabel : public QWidget {
    Q_OBJECT

public:
    explicit CFormatLabel(QWidget* parent = nullptr, markup::Dialect dialect = markup::Dialect::Message);

    // UTF-8 text with mark-up; the label repaints at once.
    void SetText(const std::string& text);
    void AppendText(const std::string& text);
    const std::string& Text() const { return text_; }

    // Windows colour value (0x00BBGGRR); white unless the owner says otherwise.
    void SetBackgroundColour(uint32_t colour);
    uint32_t BackgroundColour() const { return background_; }

    // The style every drawing starts from (Arial 10 points, black, no emphasis).
    void SetDefaultStyle(const markup::Style& style);
    const markup::Style& DefaultStyle() const { return defaultStyle_; }

    // The runs as the next paint places them, measured with this widget's fonts.
    std::vector<markup::PlacedRun> PlacedRuns() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string text_;
    markup::Dialect dialect_;
    markup::Style defaultStyle_;
    uint32_t background_ = markup::kWhite;
};

}  // namespace zov

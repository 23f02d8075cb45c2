#pragma once
// A small picture with transparent parts, optionally with a tooltip, that can take the place of a
// placeholder control of a dialog. Its objects also serve as the pictures of the owner-drawn combo
// box's items.

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace zov::shell {

class CBitmapKeyed : public QLabel {
    Q_OBJECT

public:
    explicit CBitmapKeyed(QWidget* parent = nullptr);

    // Set before CreateFromPlaceholder; empty means no tooltip.
    void SetTooltipText(const QString& text) { tooltipText_ = text; }
    const QString& TooltipText() const { return tooltipText_; }

    // Takes the picture (PNG with alpha, e.g. ":/shell/folder.png"). With a placeholder id, the
    // parent's control of that id is hidden and this control takes its place: geometry, id and
    // parent, shown, no narrower than high. With id 0 only the picture is taken: no window is
    // placed, the owner puts the control where it belongs. False when the picture cannot be read.
    bool CreateFromPlaceholder(QWidget* parent, int placeholderId, const QString& imageResource);
    bool CreateFromPlaceholder(QWidget* parent, int placeholderId, const QPixmap& image);

    const QPixmap& Image() const { return image_; }

private:
    QPixmap image_;
    QString tooltipText_;
};

}  // namespace zov::shell

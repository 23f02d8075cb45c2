#pragma once
// A text that opens a target when clicked or when Space is pressed on it: blue until first
// opened, purple after, underlined while the mouse is over it, with a hand cursor and a focus
// frame. The about box uses it. Opening goes through a replaceable opener, so that tests and
// batch runs never start a browser.

#include <QColor>
#include <QLabel>
#include <QString>

#include <functional>

namespace zov::shell {

using LinkOpener = std::function<void(const QString& target)>;

// The desktop's own handling: QDesktopServices on the target taken as a URL or a path.
LinkOpener DesktopLinkOpener();

inline const QColor kLinkColour(0, 0, 255);
inline const QColor kVisitedLinkColour(128, 0, 128);

class HyperlinkControl : public QLabel {
    Q_OBJECT

public:
    HyperlinkControl(const QString& text, const QString& target, QWidget* parent = nullptr);

    // A label of a dialog made into a link in its place (same text, geometry, name and place in the
    // layout); the label is hidden and stays its parent's. Null without a parent.
    static HyperlinkControl* ConvertStaticToHyperlink(QLabel& label, const QString& target);

    void SetURL(const QString& target) { target_ = target; }
    const QString& Target() const { return target_; }
    void SetOpener(LinkOpener opener) { opener_ = std::move(opener); }
    bool Visited() const { return visited_; }
    bool Hovered() const { return hover_; }
    QColor TextColour() const { return visited_ ? kVisitedLinkColour : kLinkColour; }
    // Opens the target; the link counts as visited whatever the outcome.
    void Open();

protected:
    // Called when the mouse enters or leaves and when the focus comes or goes.
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColour();

    QString target_;
    LinkOpener opener_;
    bool hover_ = false;
    bool visited_ = false;
};

}  // namespace zov::shell

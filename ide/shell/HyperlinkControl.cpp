#include "ide/shell/HyperlinkControl.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace zov::shell {

LinkOpener DesktopLinkOpener()
{
    return [](const QString& target) { QDesktopServices::openUrl(QUrl::fromUserInput(target)); };
}

HyperlinkControl::HyperlinkControl(const QString& text, const QString& target, QWidget* parent)
    : QLabel(text, parent), target_(target), opener_(DesktopLinkOpener())
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setTextFormat(Qt::PlainText);
    // Room for the focus frame around the text.
    setContentsMargins(2, 2, 2, 2);
    ApplyColour();
}

HyperlinkControl* HyperlinkControl::ConvertStaticToHyperlink(QLabel& label, const QString& target)
{
    QWidget* parent = label.parentWidget();
    if (parent == nullptr)
        return nullptr;
    const bool shown = !label.isHidden();
    auto* link = new HyperlinkControl(label.text(), target, parent);
    link->setObjectName(label.objectName());
    link->setFont(label.font());
    link->setAlignment(label.alignment());
    link->setGeometry(label.geometry());
    if (parent->layout() != nullptr)
        delete parent->layout()->replaceWidget(&label, link, Qt::FindChildrenRecursively);
    label.setObjectName(QString());
    label.hide();
    link->setVisible(shown);
    return link;
}

void HyperlinkControl::ApplyColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, TextColour());
    setPalette(colours);
}

void HyperlinkControl::Open()
{
    if (opener_)
        opener_(target_);
    visited_ = true;
    ApplyColour();
}

void HyperlinkControl::enterEvent(QEnterEvent* event)
{
    hover_ = true;
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    OnMouseEnter();
    QLabel::enterEvent(event);
}

void HyperlinkControl::leaveEvent(QEvent* event)
{
    hover_ = false;
    QFont plain = font();
    plain.setUnderline(false);
    setFont(plain);
    OnMouseLeave();
    QLabel::leaveEvent(event);
}

void HyperlinkControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Open();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void HyperlinkControl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void HyperlinkControl::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Open();
        return;
    }
    QLabel::keyReleaseEvent(event);
}

void HyperlinkControl::focusInEvent(QFocusEvent* event)
{
    OnMouseEnter();
    QLabel::focusInEvent(event);
    update();
}

void HyperlinkControl::focusOutEvent(QFocusEvent* event)
{
    OnMouseLeave();
    QLabel::focusOutEvent(event);
    update();
}

void HyperlinkControl::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A dotted frame of our own: some styles draw theirs only after a keyboard focus change.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace zov::shell

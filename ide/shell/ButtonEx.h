#pragma once
// The icon push button of the IDE's dialogs and of the graph's scroll buttons: one icon centred,
// no text, lit while the mouse is over it (the style draws that). A toggle-style button keeps a
// pressed state that each click inverts; its owner still gets every click.

#include <QIcon>
#include <QToolButton>

namespace zov::shell {

class CButtonEx : public QToolButton {
    Q_OBJECT

public:
    enum class Kind { Push, Toggle };

    explicit CButtonEx(QWidget* parent = nullptr, Kind kind = Kind::Push);

    // A null icon leaves the button's icon as it was.
    void SetIcon(const QIcon& icon);
    bool GetToggleState() const { return isChecked(); }
    bool IsToggleStyle() const { return isCheckable(); }
};

}  // namespace zov::shell

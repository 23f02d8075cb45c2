#include "ide/shell/ButtonEx.h"

namespace zov::shell {

CButtonEx::CButtonEx(QWidget* parent, Kind kind) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAutoRaise(true);
    // A push button takes the focus by click and by tab, as the dialogs' other buttons do.
    setFocusPolicy(Qt::StrongFocus);
    setCheckable(kind == Kind::Toggle);
}

void CButtonEx::SetIcon(const QIcon& icon)
{
    if (icon.isNull())
        return;
    setIcon(icon);
    update();
}

}  // namespace zov::shell

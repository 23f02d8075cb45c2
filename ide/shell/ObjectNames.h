#pragma once
// Names that tests and tools find the IDE's parts by: a control keeps its numeric id as the
// object name "c<id>", a command its id as the action's object name "cmd<id>" and as its data.

#include <QAction>
#include <QString>
#include <QWidget>

namespace zov::shell {

inline QString ControlName(int id)
{
    return QStringLiteral("c%1").arg(id);
}

inline QString CommandName(int id)
{
    return QStringLiteral("cmd%1").arg(id);
}

inline void SetControlId(QWidget& control, int id)
{
    control.setObjectName(ControlName(id));
}

template <typename Control = QWidget>
Control* FindControl(const QWidget& window, int id)
{
    return window.findChild<Control*>(ControlName(id));
}

// An action for command `id`, owned by `parent`.
inline QAction* MakeCommand(QObject* parent, int id, const QString& text)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(CommandName(id));
    action->setData(id);
    return action;
}

// The command id an action was made for; 0 for any other action.
inline int CommandId(const QAction& action)
{
    return action.objectName().startsWith(QLatin1String("cmd")) ? action.data().toInt() : 0;
}

}  // namespace zov::shell

#include "ide/shell/TranslateWidgets.h"

#include "ide/shell/ThemedDialog.h"
#include "ide/shell/UiLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

namespace zov::shell {

namespace {

bool TranslatesItself(const QObject* object)
{
    return qobject_cast<const ThemedDialogBase*>(object) != nullptr ||
           qobject_cast<const ThemedPropertyPageBase*>(object) != nullptr;
}

void TranslateControls(QObject& parent, const Translate& translate)
{
    for (QObject* child : parent.children()) {
        if (!child->isWidgetType() || TranslatesItself(child))
            continue;
        if (auto* label = qobject_cast<QLabel*>(child)) {
            label->setText(TranslateLabel(label->text(), translate));
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            button->setText(TranslateLabel(button->text(), translate));
        } else if (auto* group = qobject_cast<QGroupBox*>(child)) {
            group->setTitle(TranslateLabel(group->title(), translate));
        } else if (auto* tabs = qobject_cast<QTabWidget*>(child)) {
            for (int i = 0; i < tabs->count(); ++i)
                tabs->setTabText(i, TranslateLabel(tabs->tabText(i), translate));
        }
        TranslateControls(*child, translate);
    }
}

void TranslateActions(const QList<QAction*>& actions, const Translate& translate)
{
    for (QAction* action : actions) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        action->setText(TranslateMenuText(action->text(), translate));
        if (QMenu* submenu = action->menu())
            TranslateMenu(*submenu, translate);
    }
}

}  // namespace

void TranslateDialog(QWidget& window, const Translate& translate)
{
    if (!translate)
        return;
    window.setWindowTitle(TranslateLabel(window.windowTitle(), translate));
    TranslateControls(window, translate);
}

QString TranslateMenuText(const QString& text, const Translate& translate)
{
    if (!translate || text.isEmpty())
        return text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    const QString shortcut = tab < 0 ? QString() : text.mid(tab);
    QString key = tab < 0 ? text : text.left(tab);
    const qsizetype dots = key.indexOf(QLatin1String("..."));
    if (dots >= 0)
        key.truncate(dots);
    const QString translated = TranslateLabel(key, translate);
    if (translated == key)
        return text;
    return translated + (dots >= 0 ? QStringLiteral("...") : QString()) + shortcut;
}

void TranslateMenu(QMenu& menu, const Translate& translate)
{
    if (!translate)
        return;
    TranslateActions(menu.actions(), translate);
}

void TranslateMenu(QMenuBar& menuBar, const Translate& translate)
{
    if (!translate)
        return;
    TranslateActions(menuBar.actions(), translate);
}

}  // namespace zov::shell

#pragma once
// Translation of whole windows and menus, written in French in the code, into the user's language.

#include "ide/shell/core/Translate.h"

#include <QString>

class QMenu;
class QMenuBar;
class QWidget;

namespace zov::shell {

// The window's title and the template texts of its controls: labels, buttons, check and radio
// boxes, group-box titles and tab labels, at any depth. What a control holds as data (edits,
// combo boxes, lists) is never touched, and a text without translation stays as written. A
// themed dialog or page inside the window is left to translate itself.
void TranslateDialog(QWidget& window, const Translate& translate);

// One menu item's text: the part before the first TAB is looked up (its '&' included), a "..."
// cut off before the lookup and put back after it, the TAB and shortcut kept as they are.
// Empty or missing translations give the text unchanged.
QString TranslateMenuText(const QString& text, const Translate& translate);

// Every item of the menu, and of its submenus, recursively; separators are skipped.
void TranslateMenu(QMenu& menu, const Translate& translate);
void TranslateMenu(QMenuBar& menuBar, const Translate& translate);

}  // namespace zov::shell

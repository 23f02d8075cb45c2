#pragma once
// The language the windows are shown in: the translation the application installs once its
// language table is loaded. None installed means the French texts stand as written.

#include "ide/shell/core/Translate.h"

#include <QString>

namespace zov::shell {

// An empty function object removes the language again.
void InstallUiLanguage(Translate translate);
bool HasUiLanguage();
const Translate& UiLanguage();

// A control's text through `translate`: the translation when there is one and it is not empty
// (a control never loses its text to an empty translation), the text as given otherwise.
QString TranslateLabel(const QString& text, const Translate& translate);

// The same through the installed language.
QString TranslateLabel(const QString& text);

}  // namespace zov::shell

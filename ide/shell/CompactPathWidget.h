#pragma once
// Paths shown in edits and labels too narrow for them: the file name stays whole and the folders
// nearest to it give way ("/home/banc/../essai.qzs"). Display only: the stored path is the full one.

#include <QString>

class QWidget;

namespace zov::shell {

// The path shortened to fit the window's outer width, measured in the window's own font.
QString CompactPathForWindow(const QWidget& window, const QString& path);

}  // namespace zov::shell

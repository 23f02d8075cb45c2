#pragma once
// The shell's own pictures (PNG with alpha), by file name: "arrow_left.png", "arrow_right.png",
// "arrow_up.png", "arrow_down.png", "folder.png".

#include <QIcon>

#include <functional>

class QPainter;

namespace zov::shell {

QIcon ShellIcon(const char* name);

// A 16-pixel icon drawn in code, at device pixel ratios 1 and 2; `draw` paints on a transparent
// 16 x 16 logical area.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw);

}  // namespace zov::shell

#pragma once
// The shell's own pictures (PNG with alpha), by file name: "arrow_left.png", "arrow_right.png",
// "arrow_up.png", "arrow_down.png", "folder.png".

#include <QIcon>

namespace zov::shell {

QIcon ShellIcon(const char* name);

}  // namespace zov::shell

#pragma once
// The pictures of the interface dialogs' icon buttons and of the insertion-errors tree, drawn at
// 16 pixels so that they follow no theme: "add", "remove", "new", "store", "delete",
// "move_right", "move_left", "copy_right", "copy_left", "interface", "kind", "problem".

#include <QIcon>

namespace zov::interfaces {

QIcon InterfaceIcon(const char* name);

}  // namespace zov::interfaces

#pragma once
// The pictures of the preferences tree, the splash window and the tips dialog, painted here so
// that every picture of the program is our own and none needs a resource file.

#include <QIcon>
#include <QPixmap>

namespace zov::shell {

// 16 x 16: a sheet with two sliders, the tree icon of every preferences page.
QIcon PreferencesPageIcon();

// The splash window's picture.
QPixmap SplashPicture();

// The tips dialog's heading picture: a light bulb.
QPixmap TipsPicture();

}  // namespace zov::shell

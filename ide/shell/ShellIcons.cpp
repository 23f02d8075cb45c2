#include "ide/shell/ShellIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QString>

// Outside any namespace, as the resource initialiser must be. A static library's resources are
// only linked in when something calls it.
static void InitialiseShellResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace zov::shell {

QIcon ShellIcon(const char* name)
{
    static const bool initialised = [] {
        InitialiseShellResources();
        return true;
    }();
    (void)initialised;
    return QIcon(QStringLiteral(":/shell/") + QString::fromLatin1(name));
}

QIcon DrawnIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace zov::shell

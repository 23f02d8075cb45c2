#include "ide/shell/ShellIcons.h"

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

}  // namespace zov::shell

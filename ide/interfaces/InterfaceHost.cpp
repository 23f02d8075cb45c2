#include "ide/interfaces/InterfaceHost.h"

#include "ide/interfaces/model/InterfaceSet.h"

namespace zov::interfaces {

std::string InterfaceDisplayName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::string InterfaceHost::ProjectInterfaceName(const InterfaceSet& set) const
{
    return InterfaceDisplayName(set.MainPath());
}

std::string InterfaceHost::InsertedInterfaceName(const InterfaceSet& set, int index) const
{
    const std::vector<std::string>& paths = set.InsertedPaths();
    if (index < 0 || static_cast<std::size_t>(index) >= paths.size())
        return {};
    return InterfaceDisplayName(paths[static_cast<std::size_t>(index)]);
}

InterfaceHost& NoInterfaceHost()
{
    static PlainInterfaceHost host;
    return host;
}

}  // namespace zov::interfaces

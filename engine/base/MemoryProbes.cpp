#include "engine/base/MemoryProbes.h"

#include <cstdio>
#include <unistd.h>

namespace zov {

long GetWorkingSetKb()
{
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long totalPages = 0;
    long residentPages = 0;
    const int read = std::fscanf(f, "%ld %ld", &totalPages, &residentPages);
    std::fclose(f);
    if (read != 2)
        return 0;
    return residentPages * (sysconf(_SC_PAGESIZE) / 1024);
}

int GetMemoryLoad()
{
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f)
        return 0;
    long total = -1;
    long available = -1;
    char line[256];
    while (std::fgets(line, sizeof line, f) && (total < 0 || available < 0)) {
        long value = 0;
        if (std::sscanf(line, "MemTotal: %ld", &value) == 1)
            total = value;
        else if (std::sscanf(line, "MemAvailable: %ld", &value) == 1)
            available = value;
    }
    std::fclose(f);
    if (total <= 0 || available < 0 || available > total)
        return 0;
    return static_cast<int>(100 * (total - available) / total);
}

}  // namespace zov

#pragma once

namespace zov {

// Working set (resident size) of this process in kilobytes; 0 when it cannot be read.
long GetWorkingSetKb();

// System memory load in percent: 100 * (MemTotal - MemAvailable) / MemTotal. Page cache is
// available memory, so it does not count as load. 0 when it cannot be read.
int GetMemoryLoad();

}  // namespace zov

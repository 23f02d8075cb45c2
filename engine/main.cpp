#include "engine/console/Console.h"

#include <malloc.h>

int main(int argc, char** argv)
{
    // The analysis runs on the interpret thread and builds a tree of some megabytes. A second
    // malloc arena grows its heap one page at a time, one mprotect call per page; the main
    // arena grows by large steps. The engine's threads seldom allocate at the same time.
    mallopt(M_ARENA_MAX, 1);
    return zov::EngineMain(argc, argv);
}

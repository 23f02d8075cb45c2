#include "Console.h"

int main(int argc, char** argv)
{
    return zov::EngineMain(argc, argv);
}

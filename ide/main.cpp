// zov: the IDE. The only unit that links every folder of the IDE; each brings its part of the
// window through the seams of the shell.

#include "ide/shell/ApplicationObject.h"

int main(int argc, char** argv)
{
    return zov::shell::RunApplication(argc, argv, {});
}

#include "shell/startup.h"

int main(int argc, char** argv)
{
    return orv::shell::runProgram(argc, argv);
}

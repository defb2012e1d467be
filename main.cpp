// Zorv's entry point: hands the command line to the application's start-up.
#include "app/zvStartup.h"

int main(int argc, char** argv)
{
    return zvLib::RunProgram(argc, argv);
}

// dbfmend: checks, repairs and restores table headers from the command line.
#include <iostream>

#include "MendRun.h"
#include "ToolPlatform.h"

int main(int argc, char** argv)
{
    return mend::MendMain(argc, argv, std::cout, std::cerr, mend::StandardErrorIsTerminal());
}

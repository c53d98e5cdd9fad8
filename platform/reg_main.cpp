// reg: reads and writes the registry of the machine root from the command line (see
// platform/reg_command.h for the operations).

#include <iostream>
#include <string>
#include <vector>

#include "platform/reg_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return trawlex::platform::RunRegCommand(args, std::cout, std::cerr);
}

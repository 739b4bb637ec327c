#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return RunCli({argv + 1, argv + argc}, std::cin, std::cout, std::cerr);
}

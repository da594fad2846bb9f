#include <iostream>

#include "cli/command_line.h"

int main(int argc, char** argv) {
  return tavi::cli::RunCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
}

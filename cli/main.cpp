#include <unistd.h>

#include <iostream>

#include "cli/command_line.h"
#include "cli/progress_bar.h"
#include "host/data_folder.h"

int main(int argc, char** argv) {
  tavi::cli::CommandEnvironment environment;
  environment.out_is_terminal = isatty(STDOUT_FILENO) == 1;
  if (environment.out_is_terminal) environment.terminal_width = tavi::cli::TerminalWidth();
  environment.default_data_folder = tavi::host::DefaultDataFolder();
  return tavi::cli::RunCommandLine({argv + 1, argv + argc}, std::cout, std::cerr, environment);
}

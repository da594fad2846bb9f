// tavi-host: the stand-in mail host with Tavi, shown in a browser.

#include <iostream>

#include "platform/fs.h"
#include "web/host_program.h"
#include "web/host_program_options.h"
#include "web/program_files.h"

int main(int argc, char** argv) {
  using namespace tavi::web;
  const HostProgramArguments parsed = ParseHostProgramArguments({argv + 1, argv + argc});
  if (!parsed.options) {
    (parsed.exit_code == 0 ? std::cout : std::cerr) << parsed.message;
    return parsed.exit_code;
  }
  const std::string program = tavi::platform::ExecutablePath();
  ProgramFiles files;
  files.plugin = parsed.options->plugin.value_or(
      FindProgramFile(program, "tavi.so", TAVI_HOST_BUILD_PLUGIN_PATH));
  files.tavi_command = FindProgramFile(program, "tavi", TAVI_HOST_BUILD_COMMAND_PATH);
  return RunHostProgram(*parsed.options, files, std::cout, std::cerr);
}

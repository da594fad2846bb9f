#include "web/host_program_options.h"

#include <CLI/CLI.hpp>

namespace tavi::web {
namespace {

constexpr int kUsageExitCode = 2;
constexpr int kHighestPort = 65535;

constexpr const char* kHelpText =
    "Usage: tavi-host [--data DIR] [--port N] [--plugin PATH]\n"
    "       tavi-host --demo [--port N] [--plugin PATH]\n"
    "\n"
    "The stand-in mail host with the Tavi plug-in, shown in a browser on 127.0.0.1.\n"
    "\n"
    "  --data DIR     the data folder (default: $TAVI_DATA, else $XDG_DATA_HOME/tavi,\n"
    "                 else ~/.local/share/tavi)\n"
    "  --port N       the port of 127.0.0.1 to serve the page on (default: a free one)\n"
    "  --plugin PATH  the plug-in module to load (default: tavi.so beside tavi-host)\n"
    "  --demo         a temporary data folder with sample feeds, subscribed and\n"
    "                 downloaded, removed at the end\n"
    "  -h, --help     this help\n"
    "\n"
    "It prints the address to open, which holds the page's access token.\n"
    "Ctrl+C or SIGTERM stops the host.\n";

}  // namespace

HostProgramArguments ParseHostProgramArguments(const std::vector<std::string>& arguments) {
  CLI::App app("", "tavi-host");
  HostProgramOptions options;
  std::string data_folder;
  std::string plugin;
  CLI::Option* data = app.add_option("--data", data_folder);
  app.add_option("--port", options.port)->check(CLI::Range(1, kHighestPort));
  app.add_option("--plugin", plugin);
  app.add_flag("--demo", options.demo)->excludes(data);
  // CLI11 takes the arguments last to first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {std::nullopt, kHelpText, 0};
  } catch (const CLI::ParseError& error) {
    return {std::nullopt, "tavi-host: " + std::string(error.what()) + "\ntry 'tavi-host --help'\n",
            kUsageExitCode};
  }
  if (data->count() > 0) options.data_folder = data_folder;
  if (!plugin.empty()) options.plugin = plugin;
  return {options, "", 0};
}

}  // namespace tavi::web

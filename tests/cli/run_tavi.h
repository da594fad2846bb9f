#pragma once

// Running the tavi command in-process from the tests, on a data folder of
// the test's own.

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace tavi::cli::testing {

struct CommandRun {
  int code = 0;
  std::string out;
  std::string err;
};

// Runs `arguments` with output that is not a terminal and no default data
// folder, so a test never touches the user's own.
inline CommandRun RunTavi(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  const CommandEnvironment environment;
  const int code = RunCommandLine(arguments, out, err, environment);
  return {code, out.str(), err.str()};
}

// The same on the data folder `data`: "--data data" goes first.
inline CommandRun RunTaviOn(const std::string& data, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--data", data});
  return RunTavi(arguments);
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace tavi::cli::testing

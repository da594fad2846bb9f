#pragma once

// The tavi command: parses the arguments and runs one command, writing what
// it has to say to `out` and errors to `err`. Returns the process exit code.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavi::cli {

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tavi::cli

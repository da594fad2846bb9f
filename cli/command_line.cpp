#include "cli/command_line.h"

#include <ostream>

#include "version.h"

namespace tavi::cli {
namespace {

constexpr const char* kUsage =
    "usage: tavi <command>\n"
    "\n"
    "commands:\n"
    "  help        show this text\n"
    "  --version   show the product name and version\n";

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
  if (arguments.empty() || arguments[0] == "help" || arguments[0] == "--help") {
    out << kUsage;
    return arguments.empty() ? 1 : 0;
  }
  if (arguments[0] == "--version") {
    out << TAVI_PRODUCT_NAME << " " << TAVI_VERSION_TEXT << "\n";
    return 0;
  }
  err << "tavi: unknown command \"" << arguments[0] << "\"\n" << kUsage;
  return 1;
}

}  // namespace tavi::cli

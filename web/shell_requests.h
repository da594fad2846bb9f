#pragma once

// What the shell does for tavi-host: it opens web addresses, and only them,
// each in a new tab of the person's browser. The plug-in asks the shell to
// open its links (an article's page, its own web site); anything else it
// could be made to ask for by what a feed holds (a file, a script address,
// a share on another machine, a help file, a command line) is refused and
// never run.

#include <optional>
#include <string>

#include "platform/winsys_shell.h"
#include "web/page_events.h"

namespace tavi::web {

// The web address `request` opens: an "open" whose target is one http or
// https address with no parameters, or an "open" of a web browser program
// whose parameters are one such address. nullopt for everything else:
// another verb, a command line to run, another scheme, a relative path,
// several arguments, an address with white space or quotes in it.
std::optional<std::string> WebAddressToOpen(const platform::ShellRequest& request);

// The event that has the open pages open `address` in a new tab:
// "open_address" with {"url": address} (not "open", which event streams
// fire themselves when they connect).
PageEvent OpenAddressEvent(const std::string& address);

// Installs the shell handler for as long as it lives: a request with a web
// address to open publishes OpenAddressEvent and succeeds; any other fails.
// `events` must outlive it.
class ShellToPage {
 public:
  explicit ShellToPage(PageEvents& events);
  ~ShellToPage();
  ShellToPage(const ShellToPage&) = delete;
  ShellToPage& operator=(const ShellToPage&) = delete;
};

}  // namespace tavi::web

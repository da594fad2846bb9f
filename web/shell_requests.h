#pragma once

// What the shell does for tavi-host: it opens web addresses and the
// plug-in's help pages, and only them, each in a new tab of the person's
// browser. The plug-in asks the shell to open its links (an article's page,
// its own web site) and its help topics; anything else it could be made to
// ask for by what a feed holds (another file, a script address, a share on
// another machine, a command line) is refused and never run.

#include <optional>
#include <string>

#include "platform/winsys_shell.h"
#include "web/help_pages.h"
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

// The address on the host's page of the help page that `request` opens: an
// "open" without parameters whose target is one of `help`'s pages. nullopt
// for everything else.
std::optional<std::string> HelpAddressToOpen(const platform::ShellRequest& request,
                                             const HelpPages& help);

// Installs the shell handler for as long as it lives: a request with a web
// address or a help page to open publishes OpenAddressEvent and succeeds;
// any other fails. `events` and `help` must outlive it.
class ShellToPage {
 public:
  ShellToPage(PageEvents& events, const HelpPages& help);
  ~ShellToPage();
  ShellToPage(const ShellToPage&) = delete;
  ShellToPage& operator=(const ShellToPage&) = delete;
};

}  // namespace tavi::web

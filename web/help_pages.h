#pragma once

// The plug-in's help as tavi-host shows it: the pages ("*.htm") of the help
// folder installed beside the plug-in, each served at an address of the
// host's own page ("/help/1.htm" for the first in name order), so that the
// shell can open a help topic in a new tab of the person's browser. Only
// those pages: no other file of the folder or of the machine is served or
// opened.

#include <optional>
#include <string>
#include <vector>

#include "web/page_router.h"

namespace tavi::web {

class HelpPages {
 public:
  // The pages found in `help_folder` now; none when it is missing.
  explicit HelpPages(const std::string& help_folder);

  // The page's address on the host's page when `path` names one of the
  // pages (links and "." or ".." followed first); nullopt for any other
  // path.
  std::optional<std::string> AddressOf(const std::string& path) const;

  // The page's document by its number (from 1); nullopt for another number
  // or when the page can no longer be read.
  std::optional<std::string> Page(int number) const;

 private:
  std::string folder_;              // the folder, links followed
  std::vector<std::string> names_;  // the pages' file names, in name order
};

// GET /help/{}.htm: the page as text/html that runs nothing (no script, no
// fetch), or 404. `pages` must outlive the router.
void AddHelpRoutes(PageRouter& router, const HelpPages& pages);

}  // namespace tavi::web

#pragma once

// tavi-host --demo: a temporary data folder (removed when the demo ends)
// with the sample feeds, served from 127.0.0.1 for as long as the demo
// runs, subscribed and downloaded with the tavi command as a person would
// (init, add for each feed, download), so that the host opens on delivered
// articles.

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "web/feed_server.h"
#include "web/temporary_folder.h"

namespace tavi::web {

class DemoSetup {
 public:
  // Asked between the steps whether to go on.
  using GoOn = std::function<bool()>;

  // Makes the folder, serves the feeds and runs the tavi command at
  // `tavi_command` for each step, saying on `out` what it runs. nullptr,
  // with the reason in `error`, when a step fails or `go_on` says to stop.
  static std::unique_ptr<DemoSetup> Prepare(const std::string& tavi_command, const GoOn& go_on,
                                            std::ostream& out, std::string& error);
  // Stops serving and removes the folder with everything in it.
  ~DemoSetup() = default;

  const std::string& DataFolder() const { return folder_.Path(); }

 private:
  DemoSetup() : folder_("tavi-host-demo-") {}

  // Stops serving before the folder goes.
  TemporaryFolder folder_;
  FeedServer server_;
};

}  // namespace tavi::web

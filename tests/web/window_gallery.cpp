// The window gallery: a test program that serves tavi-host's page with
// tavi-host's server over windows of its own making, for the browser tests
// and the benchmark of the window renderer. It shows every dialog template
// of the plug-in as a modeless dialog (plain procedures that only record
// what they hear) and a window with a list view of many rows, and answers,
// beside the page's routes:
//   GET  /api/gallery/log   what the windows heard, oldest first (a JSON array)
//   POST /api/gallery/rows  {"text": T}: a row with T inserted at the top of the list
// It prints "window-gallery: open ADDRESS" and runs until SIGTERM or Ctrl+C.
//
//   window_gallery [--rows N] [--port N]

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "gallery_windows.h"
#include "host/host.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "ui/window_resources.h"
#include "web/host_message_loop.h"
#include "web/mail_routes.h"
#include "web/page_server.h"
#include "web/shell_requests.h"
#include "web/stop_request.h"
#include "web/stop_signals.h"
#include "web/temporary_folder.h"
#include "web/window_change_events.h"
#include "web/window_routes.h"

namespace tavi::testing {
namespace {

struct GalleryOptions {
  int rows = 10000;
  int port = 0;
};

GalleryOptions ParseOptions(int argc, char** argv) {
  GalleryOptions options;
  for (int at = 1; at + 1 < argc; at += 2) {
    if (std::strcmp(argv[at], "--rows") == 0) options.rows = std::atoi(argv[at + 1]);
    if (std::strcmp(argv[at], "--port") == 0) options.port = std::atoi(argv[at + 1]);
  }
  return options;
}

// What the page asks of the host's own state, for a gallery without one.
web::PageResponse GalleryHost() {
  return web::JsonAnswer(
      "{\"title\": \"Window Gallery\", \"status\": \"\", \"running\": \"\", \"plugin\": "
      "{\"description\": \"Gallery\", \"menu\": [], \"translators\": []}}");
}

void AddGalleryRoutes(web::PageRouter& router, GalleryLog& log, platform::WindowHandle rows) {
  router.Add({"GET", "/api/host", [](const web::PageCall&) { return GalleryHost(); }});
  router.Add({"GET", "/api/gallery/log",
              [&log](const web::PageCall&) { return web::JsonAnswer(log.Json()); }});
  router.Add({"POST", "/api/gallery/rows", [rows](const web::PageCall& call) {
                const int count = InsertGalleryRow(rows, call.body.String("text").value_or(""));
                if (count < 0) return web::ErrorAnswer(404, "the gallery's window is gone");
                return web::JsonAnswer("{\"row_count\": " + std::to_string(count) + "}");
              }});
}

int RunGallery(const GalleryOptions& options) {
  web::StopRequest stop;
  const web::StopSignals signals([&stop] { stop.Request(); });
  const web::TemporaryFolder data("window-gallery-");
  std::unique_ptr<host::Host> host = host::Host::Start(data.Path());
  std::unique_ptr<web::UiThreadWork> work = web::UiThreadWork::Create();
  if (host == nullptr || work == nullptr) return 1;
  RegisterWindowResources();
  platform::SetDesktopSize({1600, 1200});
  GalleryLog log;
  ShowTemplateDialogs(log);
  const platform::WindowHandle rows = ShowRowsWindow(log, options.rows, data.Path());
  web::PageEvents events;
  web::PageRouter router;
  web::AddMailRoutes(router, *host);
  web::AddWindowRoutes(router);
  AddGalleryRoutes(router, log, rows);
  const web::WindowChangeEvents changes(
      events, [&work](std::function<void()> publish) { return work->Post(std::move(publish)); });
  const web::HelpPages no_help("");
  const web::ShellToPage shell(events, no_help);
  web::PageServer server({*work, router, events});
  if (!server.Start(options.port)) return 1;
  platform::SetFrontEndPresent(true);
  std::cout << "window-gallery: open " << server.Address() << " " << std::endl;
  stop.EndLoopOf(work.get());
  web::RunHostMessageLoop();
  stop.EndLoopOf(nullptr);
  work->Close();
  server.Stop();
  platform::SetFrontEndPresent(false);
  return 0;
}

}  // namespace
}  // namespace tavi::testing

int main(int argc, char** argv) {
  return tavi::testing::RunGallery(tavi::testing::ParseOptions(argc, argv));
}

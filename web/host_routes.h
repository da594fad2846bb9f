#pragma once

// The page's routes to the host's own user interface beyond the mail: the
// status bar, the Special menu's plug-in items, the plug-in's settings, its
// translators and the automation server's switch. Answered on the
// user-interface thread:
//   GET  /api/host             {"title": ..., "status": ..., "running": ...,
//                               "automation": bool,
//                               "plugin": {"description": ..., "menu": [{"id", "text"}],
//                               "translators": [{"id", "description"}]}}
//                              (translators only when the plug-in can translate)
//   POST /api/menu             {"item": ID}: runs the menu item (202; 409 while a
//                              command runs; 404 for an item the plug-in has not)
//   POST /api/settings         {}: opens the plug-in's settings (202; 409)
//   POST /api/translate        {"mailbox": N, "message": M, "translator": ID,
//                              "ctrl": bool, "shift": bool}: runs a translator on a
//                              message with those keys held: {"result": CODE}; on
//                              0 the message's text becomes the output (404
//                              unknown message; 409 when the plug-in offers no
//                              translator or a command runs)
//   POST /api/automation       {"enabled": bool}: switches the automation server
//                              on or off, as a host does when its automation is
//                              switched off or broken

#include "host/host.h"
#include "host/plugin_loader.h"
#include "web/host_commands.h"
#include "web/page_router.h"

namespace tavi::web {

// What the routes reach; all must outlive the router.
struct HostRouteParts {
  host::Host& host;
  host::PluginModule& plugin;
  HostCommands& commands;
};

void AddHostRoutes(PageRouter& router, const HostRouteParts& parts);

// Whether the host offers the plug-in's translators on a message: the
// plug-in described at least one and exports the entry point that runs them.
bool OffersTranslators(const host::PluginModule& plugin);

}  // namespace tavi::web

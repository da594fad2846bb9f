#pragma once

// The page's routes to the plug-in's windows, answered on the host's
// user-interface thread:
//   GET  /api/windows?since=V           what changed after version V (0 or none: everything;
//                                       WindowsJson in window_views.h)
//   GET  /api/windows/H/rows?first=F&count=C
//                                       rows of list view H (ListViewRowsJson; F 0 and
//                                       C 100 by default, C held to kMaxRowsPerRead)
//   GET  /api/icons/ID.svg              icon ID as an SVG image (image/svg+xml), as the
//                                       plug-in registered it
//   GET  /window-html/H                 the HTML that browser control H holds, as a
//                                       document that runs nothing, for a sandboxed frame
//                                       (browser_page_rewriter.h)
//   GET  /window-link/H?key=K&to=U&new=N
//                                       a click on a link to U in that frame (N 1: it asks
//                                       for a new window): ClickBrowserLink, then 204. Asks
//                                       for no session cookie (request_guard.h) but for the
//                                       key K (403 without it); U must be http or https
//   POST /api/input                     a person's input (window_input.h)
// A window or icon that is not there (or a window of the host's own) is
// 404, a bad parameter 400.

#include "web/page_router.h"

namespace tavi::web {

// The link key is a NewSecret of the routes' own, made here: it is neither
// the access token nor the session cookie, and it goes only into served
// browser documents. Without one (no random source) no link is taken.
void AddWindowRoutes(PageRouter& router);

}  // namespace tavi::web

#pragma once

// The browser control's document as tavi-host's page shows it, in a frame
// that runs nothing: the document is written anew (parsed as HTML5, then
// serialised) with everything that could act on its own left out, and every
// link made a link to tavi-host, which hands the click to the control.
//
// - a and area: href resolved against the document's location and written
//   as "/window-link/H?key=K&to=<the address, encoded>&new=0|1" (new=1 when
//   the link's target names another window: anything but "", "_self",
//   "_parent" and "_top"); the target goes. An SVG link's xlink:href is read
//   as its href and written as one. A link to a place in the page ("#name")
//   stays as it is. Any other href (javascript:, mailto:, file:, one that
//   does not resolve) goes, and the link is plain text.
// - img: src resolved to an absolute http or https address, or dropped;
//   srcset dropped (it would fetch addresses nobody checked).
// - left out with their content: script, noscript, base, iframe, frame,
//   frameset, object, embed, applet, meta that refreshes or redirects, and
//   SVG's animations (they could set a link's address afterwards);
//   form: its content stays without it.
// - every on* attribute, and every attribute whose value is a javascript:
//   or vbscript: address, whatever its letter case or the blanks and control
//   characters in it.
// - style elements and attributes stay.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi::web {

// Whose links these are: the browser control and the key that the link
// route asks for.
struct BrowserLinkRoute {
  std::uint32_t browser = 0;
  std::string key;
};

// `html` rewritten as above; `location` is the address the document came
// from (the control's location), against which links resolve. Never fails.
std::string RewriteBrowserPage(std::string_view html, const std::string& location,
                               const BrowserLinkRoute& route);

}  // namespace tavi::web

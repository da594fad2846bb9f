#pragma once

// The article viewer: one article in a window of its own, showing either
// the live web page behind the article's "Website:" link or the body stored
// in the newsbox, with the raw text on request, and the commands to forward
// the article through the host, save it to a file or transfer it into a host
// mailbox. Any number may be open; each owns itself and goes with its window.

#include <string>
#include <vector>

#include "platform/winsys.h"
#include "ui/window_context.h"

namespace tavi {

// Opens a viewer of the article whose message header block (header lines
// ending in CR LF, then the empty line) and stored HTML body are given:
// created modeless with no owner (the desktop as parent), shown, brought to
// the foreground and given the focus; it starts loading the live page at
// once. Returns its window; none when it could not be created.
platform::WindowHandle OpenArticleViewer(const WindowContext& context,
                                         const std::string& header_block,
                                         const std::string& stored_body);

// The open viewers' windows, oldest first.
std::vector<platform::WindowHandle> OpenArticleViewers();

// Closes every open viewer as its Close command does (its placement saved,
// its page load cancelled and its thread joined): the plug-in's finish.
void CloseAllArticleViewers();

}  // namespace tavi

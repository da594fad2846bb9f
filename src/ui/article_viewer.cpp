#include "ui/article_viewer.h"

#include <algorithm>
#include <memory>

#include "platform/winsys_focus.h"
#include "ui/article_viewer_window.h"

namespace tavi {
namespace {

// The viewers live on the host's user-interface thread, as every window of
// the plug-in does; so does this registry.
struct ViewerRegistry {
  std::vector<std::unique_ptr<ArticleViewerWindow>> open;
  // Viewers whose window is gone. One cannot be freed inside the handler of
  // its own window's last message; it goes at the next call of this file.
  std::vector<std::unique_ptr<ArticleViewerWindow>> closed;
};

ViewerRegistry& Registry() {
  static ViewerRegistry registry;
  return registry;
}

void FreeClosedViewers() { Registry().closed.clear(); }

void MoveToClosed(const ArticleViewerWindow* viewer) {
  ViewerRegistry& registry = Registry();
  const auto found = std::find_if(registry.open.begin(), registry.open.end(),
                                  [viewer](const auto& open) { return open.get() == viewer; });
  if (found == registry.open.end()) return;
  registry.closed.push_back(std::move(*found));
  registry.open.erase(found);
}

}  // namespace

platform::WindowHandle OpenArticleViewer(const WindowContext& context,
                                         const std::string& header_block,
                                         const std::string& stored_body) {
  FreeClosedViewers();
  ViewerRegistry& registry = Registry();
  registry.open.push_back(
      std::make_unique<ArticleViewerWindow>(context, header_block, stored_body, MoveToClosed));
  ArticleViewerWindow* const raw = registry.open.back().get();
  const platform::WindowHandle window = raw->Create(platform::GetDesktopWindow());
  if (!window) {
    MoveToClosed(raw);
    return {};
  }
  platform::ShowWindow(window, platform::SW_SHOW);
  platform::SetForegroundWindow(window);
  platform::SetFocus(window);
  return window;
}

std::vector<platform::WindowHandle> OpenArticleViewers() {
  FreeClosedViewers();
  std::vector<platform::WindowHandle> windows;
  for (const auto& viewer : Registry().open)
    if (viewer->Handle()) windows.push_back(viewer->Handle());
  return windows;
}

void CloseAllArticleViewers() {
  FreeClosedViewers();
  // Closing moves each viewer out of the open list.
  while (!Registry().open.empty()) {
    ArticleViewerWindow* const viewer = Registry().open.front().get();
    if (viewer->Handle()) {
      viewer->Close();
    } else {
      MoveToClosed(viewer);
    }
  }
  FreeClosedViewers();
}

}  // namespace tavi

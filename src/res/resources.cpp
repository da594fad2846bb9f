#include "res/resources.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <vector>

#include "res/resource_tables.h"

namespace tavi::res {
namespace {

template <typename Resource, std::size_t kCount>
const Resource* FindById(const std::array<const Resource*, kCount>& resources, int id) {
  for (const Resource* resource : resources) {
    if (resource->id == id) return resource;
  }
  return nullptr;
}

std::vector<platform::IconImage> CollectIcons() {
  std::vector<platform::IconImage> icons;
  for (const std::span<const platform::IconImage> window_icons :
       {main_window::Icons(), feed_properties::Icons(), information_dialog::Icons(),
        mailboxes_dialog::Icons(), news_board::Icons(), article_viewer::Icons(), ProductIcons()}) {
    icons.insert(icons.end(), window_icons.begin(), window_icons.end());
  }
  std::ranges::sort(icons, {}, &platform::IconImage::id);
  assert(std::ranges::adjacent_find(icons, {}, &platform::IconImage::id) == icons.end() &&
         "two images of one icon id: FindIcon would serve either");
  return icons;
}

}  // namespace

const platform::DialogTemplate* FindDialog(int id) {
  static const std::array kDialogs = {
      &main_window::Template(),        &about_box::Template(),         &feed_properties::Template(),
      &information_dialog::Template(), &mailboxes_dialog::Template(),  &news_board::Template(),
      &article_viewer::Template(),     &new_mailbox_dialog::Template()};
  return FindById(kDialogs, id);
}

const platform::MenuTemplate* FindMenu(int id) {
  static const std::array kMenus = {&popup_menu::Menu(), &article_viewer::MenuBar()};
  return FindById(kMenus, id);
}

const platform::ToolbarTemplate* FindToolbar(int id) {
  static const std::array kToolbars = {&news_board::Toolbar(), &article_viewer::Toolbar()};
  return FindById(kToolbars, id);
}

const platform::AcceleratorTable* FindAcceleratorTable(int id) {
  static const std::array kTables = {&main_window::Accelerators()};
  return FindById(kTables, id);
}

const platform::IconImage* FindIcon(int id) {
  const std::span<const platform::IconImage> icons = AllIcons();
  const auto found = std::ranges::lower_bound(icons, id, {}, &platform::IconImage::id);
  if (found == icons.end() || found->id != id) return nullptr;
  return &*found;
}

std::span<const platform::IconImage> AllIcons() {
  static const std::vector<platform::IconImage> kIcons = CollectIcons();
  return kIcons;
}

}  // namespace tavi::res

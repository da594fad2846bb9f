#include "res/resources.h"

#include <array>

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

}  // namespace tavi::res

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

}  // namespace tavi::res

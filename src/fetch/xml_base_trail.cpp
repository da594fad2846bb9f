#include "fetch/xml_base_trail.h"

#include <string_view>

namespace tavi {
namespace {

constexpr std::string_view kXmlBase = "xml:base";

bool IsUsable(const std::string& value) {
  return !value.empty() && value.size() <= kMaxXmlBaseLength;
}

}  // namespace

XmlBaseTrail::XmlBaseTrail(const XmlDocument& document)
    : idle_(document.Text().find(kXmlBase) == std::string::npos) {}

void XmlBaseTrail::Visit(const XmlDocument& document, std::size_t depth) {
  if (idle_) return;
  while (!in_scope_.empty() && in_scope_.back().first >= depth) in_scope_.pop_back();
  if (in_scope_.size() == kMaxXmlBasesInScope) return;
  std::string value = document.GetAttributeValue(kXmlBase);
  if (IsUsable(value)) in_scope_.emplace_back(depth, std::move(value));
}

std::vector<std::string> XmlBaseTrail::InScope() const {
  std::vector<std::string> values;
  values.reserve(in_scope_.size());
  for (const auto& [depth, value] : in_scope_) values.push_back(value);
  return values;
}

std::string XmlBaseTrail::ChildValue(const XmlDocument& document) const {
  if (idle_) return "";
  std::string value = document.GetChildAttributeValue(kXmlBase);
  return IsUsable(value) ? value : "";
}

}  // namespace tavi

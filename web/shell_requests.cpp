#include "web/shell_requests.h"

#include <string_view>

#include "platform/ascii.h"
#include "web/json_writer.h"

namespace tavi::web {
namespace {

// Web browsers by their program's file name, with or without ".exe": an
// "open" of one of them with an address is the address.
constexpr std::string_view kBrowserPrograms[] = {"iexplore", "firefox", "chrome", "msedge",
                                                 "opera"};

constexpr std::string_view kWebSchemes[] = {"http://", "https://"};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// One argument: one pair of quotes around it is taken away.
std::string_view Unquoted(std::string_view text) {
  text = Trimmed(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  return text;
}

// A character that would end an argument on a command line, or change
// what a browser makes of an address.
bool SplitsArguments(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7F || c == '"' || c == '\'' || c == '\\' || c == '<' ||
         c == '>' || c == '`';
}

bool IsWebAddress(std::string_view text) {
  for (const char c : text)
    if (SplitsArguments(c)) return false;
  for (const std::string_view scheme : kWebSchemes) {
    if (text.size() <= scheme.size()) continue;
    if (!platform::EqualsIgnoringCase(text.substr(0, scheme.size()), scheme)) continue;
    // A host must follow: "http:///x" and "http://?" name none.
    const char first = text[scheme.size()];
    return first != '/' && first != '?' && first != '#';
  }
  return false;
}

bool IsBrowserProgram(std::string_view target) {
  std::string_view name = Unquoted(target);
  const std::size_t folder_end = name.find_last_of("/\\");
  if (folder_end != std::string_view::npos) name.remove_prefix(folder_end + 1);
  if (name.size() > 4 && platform::EqualsIgnoringCase(name.substr(name.size() - 4), ".exe"))
    name.remove_suffix(4);
  for (const std::string_view browser : kBrowserPrograms)
    if (platform::EqualsIgnoringCase(name, browser)) return true;
  return false;
}

bool IsOpen(const platform::ShellRequest& request) {
  return request.kind == platform::ShellRequest::Kind::kOpen &&
         (request.verb.empty() || platform::EqualsIgnoringCase(request.verb, "open"));
}

}  // namespace

std::optional<std::string> WebAddressToOpen(const platform::ShellRequest& request) {
  if (!IsOpen(request)) return std::nullopt;
  if (Trimmed(request.parameters).empty()) {
    const std::string_view target = Unquoted(request.target);
    if (IsWebAddress(target)) return std::string(target);
    return std::nullopt;
  }
  if (!IsBrowserProgram(request.target)) return std::nullopt;
  const std::string_view address = Unquoted(request.parameters);
  if (IsWebAddress(address)) return std::string(address);
  return std::nullopt;
}

std::optional<std::string> HelpAddressToOpen(const platform::ShellRequest& request,
                                             const HelpPages& help) {
  if (!IsOpen(request) || !Trimmed(request.parameters).empty()) return std::nullopt;
  return help.AddressOf(std::string(Unquoted(request.target)));
}

PageEvent OpenAddressEvent(const std::string& address) {
  // One line: an event's data may not hold a line break.
  return {"open_address", "{\"url\": " + JsonString(address) + "}"};
}

ShellToPage::ShellToPage(PageEvents& events, const HelpPages& help) {
  platform::SetShellHandler([&events, &help](const platform::ShellRequest& request) {
    std::optional<std::string> address = WebAddressToOpen(request);
    if (!address) address = HelpAddressToOpen(request, help);
    if (!address) return false;
    events.Publish(OpenAddressEvent(*address));
    return true;
  });
}

ShellToPage::~ShellToPage() { platform::SetShellHandler({}); }

}  // namespace tavi::web

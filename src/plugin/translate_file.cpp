#include "plugin/translate_file.h"

#include "platform/winsys_keyboard.h"
#include "plugin/host_blocks.h"
#include "plugin/host_windows.h"

namespace tavi {
namespace {

// The full page goes back as text, whatever it was.
constexpr const char* kResultType = "text";
constexpr const char* kResultSubtype = "plain";
constexpr const char* kResultVersion = "1.0";

bool IsHeld(int key) { return (platform::GetAsyncKeyState(key) & 0x8000) != 0; }

const char* TextOrEmpty(const char* text) { return text != nullptr ? text : ""; }

FullArticleRequest RequestOf(const PluginPaths& paths, const EmsDataFile& in,
                             const EmsDataFile* out) {
  FullArticleRequest request;
  request.has_header = in.header != nullptr;
  if (in.header != nullptr) request.raw_headers = TextOrEmpty(in.header->raw_headers);
  request.input_file = TextOrEmpty(in.file_name);
  request.output_file = out != nullptr ? TextOrEmpty(out->file_name) : "";
  request.config_dir = paths.ConfigDir;
  // Shift is noted first, then Ctrl decides the way.
  request.shift = IsHeld(platform::virtual_key::kShift);
  request.control = IsHeld(platform::virtual_key::kControl);
  return request;
}

}  // namespace

std::int32_t TranslateFile(PluginPaths& paths, const EmsDataFile* in, EmsDataFile* out,
                           const OpenViewerFunction& open_viewer) {
  paths.HostMainWindow = FindHostMainWindow();
  paths.MdiClient = FindHostDocumentArea(paths.HostMainWindow);
  if (in == nullptr) return kNoArticleLink;
  const FullArticleRequest request = RequestOf(paths, *in, out);
  const std::int32_t result = TranslateFullArticle(request, open_viewer);
  if (result == kFullArticleWritten && out != nullptr)
    out->mime_type = NewMimeType(kResultType, kResultSubtype, kResultVersion);
  return result;
}

}  // namespace tavi

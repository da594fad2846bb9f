#pragma once

// The files of the page (web/page: its HTML, scripts, style sheet and
// icon), built into tavi-host, and where each is served: "/" is the page
// itself, "/page/NAME" each file. Nothing is read from disk while serving.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::web {

struct PageFile {
  std::string_view name;  // "app.js"
  std::string_view bytes;
};

// Every file of web/page, as it was when the program was built.
const std::vector<PageFile>& EmbeddedPageFiles();

struct PageAsset {
  std::string_view bytes;
  std::string content_type;  // by the file name's extension
};

// The file served at `path`: "/" or "/page/index.html" the page,
// "/page/NAME" the file NAME; nullopt for any other path.
std::optional<PageAsset> FindPageAsset(std::string_view path);

}  // namespace tavi::web

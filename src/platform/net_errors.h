#pragma once

// The error texts of failed downloads, fit for a message box. The text for a
// file that cannot be written (FileErrorText) is declared in net.h.

#include <curl/curl.h>

#include <string>

#include "platform/net.h"

namespace tavi::platform {

// The text for a transfer that libcurl ended with `code` (not CURLE_OK).
std::string TransferErrorText(CURLcode code);

// The text for a final answer with HTTP status `status` (400 and above).
std::string HttpStatusText(long status);

}  // namespace tavi::platform

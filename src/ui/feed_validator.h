#pragma once

// The web service that checks a feed document for the user: the information
// dialog's "Verify this Feed..." and Feed Properties' Validate open its page
// for a feed's address.

#include <string>

namespace tavi {

// The service's page for the feed at `feed_url`: its base address followed
// by "check.cgi?url=" and the address percent-encoded as the query's value,
// so that a feed address with its own query ("...?cat=2&format=rss") reaches
// the service whole.
std::string FeedValidatorAddress(const std::string& feed_url);

}  // namespace tavi

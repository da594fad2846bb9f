#include "web/demo_feeds.h"

namespace tavi::web {
namespace {

constexpr std::string_view kGazette = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0">
  <channel>
    <title>Harbour Town Gazette</title>
    <link>http://gazette.example/</link>
    <description>News from the harbour, weekly.</description>
    <item>
      <title>Ferry timetable changes for the winter</title>
      <link>http://gazette.example/2025/11/ferry-winter</link>
      <guid>http://gazette.example/2025/11/ferry-winter</guid>
      <pubDate>Mon, 03 Nov 2025 08:30:00 +0000</pubDate>
      <author>desk@gazette.example (News Desk)</author>
      <description>&lt;p&gt;From next Monday the first ferry leaves at 7:15 &amp;amp; the last at 21:40.&lt;/p&gt;</description>
    </item>
    <item>
      <title>Caf&#233; on the pier reopens</title>
      <link>http://gazette.example/2025/11/pier-cafe</link>
      <guid>http://gazette.example/2025/11/pier-cafe</guid>
      <pubDate>Wed, 05 Nov 2025 12:00:00 +0000</pubDate>
      <description>The caf&#233; is back, with a new roof and the same soup.</description>
    </item>
    <item>
      <title>Lighthouse open day</title>
      <link>http://gazette.example/2025/11/lighthouse</link>
      <guid>http://gazette.example/2025/11/lighthouse</guid>
      <pubDate>Fri, 07 Nov 2025 17:45:00 +0000</pubDate>
      <description>Climb all 212 steps on Saturday; bring a coat.</description>
    </item>
  </channel>
</rss>
)";

constexpr std::string_view kOrchard = R"(<?xml version="1.0" encoding="UTF-8"?>
<feed xmlns="http://purl.org/atom/ns#" version="0.3">
  <title>Orchard Lab Notes</title>
  <link rel="alternate" href="http://orchard.example/notes/"/>
  <entry>
    <title>Grafting trial: week six</title>
    <link rel="alternate" href="http://orchard.example/notes/grafting-6"/>
    <id>tag:orchard.example,2025:notes/grafting-6</id>
    <issued>2025-11-04T09:10:00Z</issued>
    <author><name>Ines Okafor</name><email>ines@orchard.example</email></author>
    <content type="text/html">Eleven of twelve grafts have taken. The twelfth is &lt;em&gt;thinking about it&lt;/em&gt;.</content>
  </entry>
  <entry>
    <title>Soil moisture logger, second version</title>
    <link rel="alternate" href="http://orchard.example/notes/logger-2"/>
    <id>tag:orchard.example,2025:notes/logger-2</id>
    <issued>2025-11-06T16:20:00+01:00</issued>
    <author><name>Tomas Berg</name></author>
    <summary>Cheaper, waterproof, and it no longer reports rain indoors.</summary>
    <content type="text/html">The new logger sends one reading every ten minutes.</content>
  </entry>
</feed>
)";

constexpr std::string_view kRadio = R"(<?xml version="1.0" encoding="UTF-8"?>
<rss version="2.0">
  <channel>
    <title>Night Radio Science Hour</title>
    <link>http://radio.example/science</link>
    <description>A weekly hour of science, recorded.</description>
    <item>
      <title>Episode 41: Why bread rises</title>
      <link>http://radio.example/science/41</link>
      <guid>radio-science-41</guid>
      <pubDate>Thu, 06 Nov 2025 21:00:00 GMT</pubDate>
      <description>Yeast, gas and patience, explained by a baker and a chemist.</description>
      <enclosure url="http://radio.example/audio/41.mp3" length="28311552" type="audio/mpeg"/>
    </item>
  </channel>
</rss>
)";

}  // namespace

std::vector<std::string> DemoAddArguments(const DemoFeed& feed, const std::string& url) {
  std::vector<std::string> arguments = {"add", std::string(feed.alias), url};
  if (!feed.name.empty()) arguments.insert(arguments.end(), {"--name", std::string(feed.name)});
  if (!feed.newsbox.empty())
    arguments.insert(arguments.end(), {"--newsbox", std::string(feed.newsbox)});
  return arguments;
}

const std::vector<DemoFeed>& DemoFeeds() {
  static const std::vector<DemoFeed> feeds = {
      {"/gazette.rss", "Gazette", "", "", kGazette},
      {"/orchard.atom", "Orchard", "", "Science", kOrchard},
      {"/radio.rss", "Radio", "Night Radio", "Science", kRadio},
  };
  return feeds;
}

}  // namespace tavi::web

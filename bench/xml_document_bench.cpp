// Parsing a feed document and walking it as the check engine does: every
// element visited depth-first with the cursor, and each item or entry read
// into a fresh article record (title, body, enclosure, link, summary, author,
// date and identifier). The peer is pugixml parsing the same bytes into its
// node tree (default options) and walking it the same way. RSS and Atom
// documents of about 20 KB, 1 MB and 30 MB are generated in code. After the
// runs a table gives each document's MB/s for both and the ratio Tavi /
// pugixml (with --benchmark_repetitions, of the medians). The Tavi runs also
// report the index bytes per element: those of the entries in use, and those
// of the capacity the parse reserved.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <strings.h>
#include <pugixml.hpp>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fetch/article_record.h"
#include "fetch/xml_document.h"

namespace {

using tavi::XmlDocument;

enum class Format { kRss, kAtom };

const char* FormatName(Format format) { return format == Format::kRss ? "RSS" : "Atom"; }

// The element names the engine reads, per format.
struct Vocabulary {
  const char* item;
  const char* body;
  const char* date;
  const char* identifier;
};
Vocabulary VocabularyOf(Format format) {
  if (format == Format::kRss) return {"item", "description", "pubDate", "guid"};
  return {"entry", "content", "issued", "id"};
}

// A small deterministic word source, so every run parses the same bytes.
class Words {
 public:
  std::string Sentence(int words) {
    static const char* const kWords[] = {
        "feed",   "article", "reader",  "mail",    "news",  "update", "server", "release",
        "parser", "market",  "weather", "science", "city",  "report", "review", "story",
        "latest", "change",  "today",   "world",   "local", "people", "time",   "data"};
    std::string sentence;
    for (int i = 0; i < words; ++i) {
      if (i > 0) sentence += ' ';
      sentence += kWords[Next() % (sizeof kWords / sizeof kWords[0])];
    }
    return sentence;
  }
  std::uint32_t Next() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
  }

 private:
  std::uint32_t state_ = 20261206;
};

// A body as feeds write them: escaped HTML, or HTML inside a CDATA section.
std::string Body(Words& words, int index) {
  std::string html = "<p>" + words.Sentence(40) + " &amp; " + words.Sentence(30) + "</p><p>" +
                     words.Sentence(25) + "</p>";
  if (index % 2 == 0) return "<![CDATA[" + html + "]]>";
  std::string escaped;
  for (const char c : html) {
    if (c == '<')
      escaped += "&lt;";
    else if (c == '>')
      escaped += "&gt;";
    else
      escaped += c;
  }
  return escaped;
}

std::string RssItem(Words& words, int index) {
  const std::string link = "http://example.com/news/" + std::to_string(index) + ".html";
  return "    <item>\n      <title>" + words.Sentence(6) + "</title>\n      <link>" + link +
         "</link>\n      <description>" + Body(words, index) +
         "</description>\n      <author>editor@example.com (The Editor)</author>\n"
         "      <category>" +
         words.Sentence(1) + "</category>\n      <enclosure url=\"http://example.com/a/" +
         std::to_string(index) +
         ".mp3\" length=\"123456\" type=\"audio/mpeg\"/>\n"
         "      <pubDate>Sun, 06 Dec 2026 13:55:15 GMT</pubDate>\n      <guid "
         "isPermaLink=\"true\">" +
         link + "</guid>\n    </item>\n";
}

std::string AtomEntry(Words& words, int index) {
  const std::string link = "http://example.com/news/" + std::to_string(index) + ".html";
  return "  <entry>\n    <title type=\"text\">" + words.Sentence(6) +
         "</title>\n    <link rel=\"alternate\" type=\"text/html\" href=\"" + link +
         "\"/>\n    <id>tag:example.com,2026:" + std::to_string(index) +
         "</id>\n    <issued>2026-12-06T13:55:15Z</issued>\n"
         "    <updated>2026-12-06T13:55:15Z</updated>\n"
         "    <author><name>The Editor</name><email>editor@example.com</email></author>\n"
         "    <summary type=\"text\">" +
         words.Sentence(20) + "</summary>\n    <content type=\"html\">" + Body(words, index) +
         "</content>\n  </entry>\n";
}

std::string GenerateDocument(Format format, std::size_t target_size) {
  Words words;
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
  if (format == Format::kRss) {
    text +=
        "<rss version=\"2.0\">\n  <channel>\n    <title>Example News</title>\n"
        "    <link>http://example.com/</link>\n"
        "    <description>All the news</description>\n";
  } else {
    text +=
        "<feed xmlns=\"http://www.w3.org/2005/Atom\">\n  <title>Example News</title>\n"
        "  <link href=\"http://example.com/\"/>\n  <id>tag:example.com,2026:feed</id>\n";
  }
  for (int index = 0; text.size() < target_size; ++index)
    text += format == Format::kRss ? RssItem(words, index) : AtomEntry(words, index);
  text += format == Format::kRss ? "  </channel>\n</rss>\n" : "</feed>\n";
  return text;
}

const std::string& Document(Format format, std::size_t size) {
  static std::map<std::pair<Format, std::size_t>, std::string> documents;
  std::string& text = documents[{format, size}];
  if (text.empty()) text = GenerateDocument(format, size);
  return text;
}

// What the walk saw; the bytes read are summed so that nothing is optimised
// away.
struct Sink {
  std::size_t elements = 0;
  std::size_t items = 0;
  std::size_t bytes = 0;
  void Take(const tavi::ArticleRecord& record) {
    ++items;
    for (const std::string* field :
         {&record.Title, &record.Link, &record.Description, &record.Author, &record.Date,
          &record.Guid, &record.Enclosure, &record.EnclosureLength, &record.EnclosureType,
          &record.Summary})
      bytes += field->size();
  }
};

void AppendEmail(std::string& author, const std::string& email) {
  if (!author.empty()) author += ' ';
  author += "<" + email + ">";
}

// The engine's reading of one item or entry into a fresh record: each child
// looked up by name from the first child on, read as text or attributes, or
// stepped into.
tavi::ArticleRecord ReadItem(XmlDocument& document, Format format) {
  const Vocabulary names = VocabularyOf(format);
  const bool atom = format == Format::kAtom;
  tavi::ArticleRecord record;
  const auto find = [&](const char* name) {
    document.ResetChildPosition();
    return document.FindChildElement(name);
  };
  if (find("title")) record.Title = document.GetChildText();
  if (find(names.body) && document.EnterElement()) {
    if (atom && !document.GetAttributeValue("src").empty())
      record.Link = document.GetAttributeValue("src");
    record.Description = document.GetElementText();
    if (atom && record.Description.empty()) record.Description = document.GetInnerMarkup();
    document.LeaveElement();
  }
  if (find("enclosure")) {
    record.Enclosure = document.GetChildAttributeValue("url");
    record.EnclosureLength = document.GetChildAttributeValue("length");
    record.EnclosureType = document.GetChildAttributeValue("type");
  }
  if (find("link"))
    record.Link = atom ? document.GetChildAttributeValue("href") : document.GetChildText();
  if (find("summary") && document.EnterElement()) {
    record.Summary = document.GetElementText();
    if (record.Summary.empty()) record.Summary = document.GetInnerMarkup();
    document.LeaveElement();
  }
  if (find("author") && document.EnterElement()) {
    if (atom && document.FindChildElement("name")) record.Author = document.GetChildText();
    document.ResetChildPosition();
    if (atom && document.FindChildElement("email"))
      AppendEmail(record.Author, document.GetChildText());
    if (!atom) record.Author = document.GetElementText();
    document.LeaveElement();
  }
  if (find(names.date)) record.Date = document.GetChildText();
  if (find(names.identifier)) record.Guid = document.GetChildText();
  return record;
}

// The engine's walk: from the root's first child, into every element's
// children, then on to the next sibling up the way.
void WalkTavi(XmlDocument& document, Format format, Sink& sink) {
  const char* const item = VocabularyOf(format).item;
  document.ResetPosition();
  if (!document.FindChildElement()) return;
  for (;;) {
    document.EnterElement();
    ++sink.elements;
    if (strcasecmp(document.GetElementName().c_str(), item) == 0)
      sink.Take(ReadItem(document, format));
    document.ResetChildPosition();
    if (document.FindChildElement()) continue;
    for (;;) {
      if (!document.LeaveElement()) return;
      if (document.FindChildElement()) break;
    }
  }
}

pugi::xml_node FirstElement(pugi::xml_node node) {
  while (node && node.type() != pugi::node_element) node = node.next_sibling();
  return node;
}

// The same reading with pugixml. Its bodies are never empty in these
// documents, so no inner markup is ever needed.
tavi::ArticleRecord ReadPugiItem(pugi::xml_node item, Format format) {
  const Vocabulary names = VocabularyOf(format);
  const bool atom = format == Format::kAtom;
  tavi::ArticleRecord record;
  if (pugi::xml_node title = item.child("title")) record.Title = title.child_value();
  if (pugi::xml_node body = item.child(names.body)) {
    if (atom && *body.attribute("src").value()) record.Link = body.attribute("src").value();
    record.Description = body.child_value();
  }
  if (pugi::xml_node enclosure = item.child("enclosure")) {
    record.Enclosure = enclosure.attribute("url").value();
    record.EnclosureLength = enclosure.attribute("length").value();
    record.EnclosureType = enclosure.attribute("type").value();
  }
  if (pugi::xml_node link = item.child("link"))
    record.Link = atom ? link.attribute("href").value() : link.child_value();
  if (pugi::xml_node summary = item.child("summary")) record.Summary = summary.child_value();
  if (pugi::xml_node author = item.child("author")) {
    if (atom && author.child("name")) record.Author = author.child("name").child_value();
    if (atom && author.child("email"))
      AppendEmail(record.Author, author.child("email").child_value());
    if (!atom) record.Author = author.child_value();
  }
  if (pugi::xml_node date = item.child(names.date)) record.Date = date.child_value();
  if (pugi::xml_node id = item.child(names.identifier)) record.Guid = id.child_value();
  return record;
}

void WalkPugi(const pugi::xml_document& document, Format format, Sink& sink) {
  const char* const item = VocabularyOf(format).item;
  const pugi::xml_node root = document.document_element();
  pugi::xml_node node = FirstElement(root.first_child());
  while (node) {
    ++sink.elements;
    if (strcasecmp(node.name(), item) == 0) sink.Take(ReadPugiItem(node, format));
    if (pugi::xml_node child = FirstElement(node.first_child())) {
      node = child;
      continue;
    }
    while (node != root && !FirstElement(node.next_sibling())) node = node.parent();
    node = node == root ? pugi::xml_node() : FirstElement(node.next_sibling());
  }
}

void SetCounters(benchmark::State& state, std::size_t text_size, const Sink& sink) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text_size));
  state.counters["elements"] = static_cast<double>(sink.elements);
  state.counters["items"] = static_cast<double>(sink.items);
}

void BM_TaviParseAndWalk(benchmark::State& state, Format format, std::size_t size) {
  const std::string& text = Document(format, size);
  XmlDocument document;
  Sink sink;
  for (auto _ : state) {
    sink = Sink{};
    if (!document.SetText(text)) state.SkipWithError(document.ParseMessage().c_str());
    WalkTavi(document, format, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  SetCounters(state, text.size(), sink);
  // The entries in use, and the capacity the parse reserved (one entry per
  // 64 bytes of text and growth by half), of which only the entries in use
  // are ever written.
  const tavi::ElementIndex& index = document.Index();
  const double elements = index.size() - 1.0;
  state.counters["index_bytes_per_element"] =
      static_cast<double>(index.size() * sizeof(tavi::ElementEntry)) / elements;
  state.counters["reserved_bytes_per_element"] =
      static_cast<double>(index.AllocatedBytes()) / elements;
}

void BM_PugixmlParseAndWalk(benchmark::State& state, Format format, std::size_t size) {
  const std::string& text = Document(format, size);
  Sink sink;
  for (auto _ : state) {
    sink = Sink{};
    pugi::xml_document document;
    if (!document.load_buffer(text.data(), text.size()))
      state.SkipWithError("pugixml refused the document");
    WalkPugi(document, format, sink);
    benchmark::DoNotOptimize(sink.bytes);
  }
  SetCounters(state, text.size(), sink);
}

// The largest block the allocator may take from its heap instead of mapping
// it on its own (its limit).
constexpr int kMaxHeapBlock = 32 << 20;

struct Size {
  const char* label;
  std::size_t bytes;
};
constexpr Size kSizes[] = {{"20KB", 20 << 10}, {"1MB", 1 << 20}, {"30MB", 30 << 20}};

std::string RunName(const char* parser, Format format, const Size& size) {
  return std::string(parser) + "/" + FormatName(format) + "/" + size.label;
}

void RegisterAll() {
  for (const Format format : {Format::kRss, Format::kAtom}) {
    for (const Size& size : kSizes) {
      benchmark::RegisterBenchmark(RunName("Tavi", format, size).c_str(), BM_TaviParseAndWalk,
                                   format, size.bytes)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(RunName("pugixml", format, size).c_str(), BM_PugixmlParseAndWalk,
                                   format, size.bytes)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

// The console report, then a table pairing each Tavi run with pugixml's run
// on the same document.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  // With --benchmark_repetitions the median of the repetitions counts.
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto found = run.counters.find("bytes_per_second");
      if (found == run.counters.end() || run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      megabytes_per_second_[run.run_name.str()] = found->second.value / 1e6;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    // The rows above give binary megabytes (M = 2^20); the table decimal ones.
    std::printf("\nMB = 10^6 bytes\n%-12s %12s %12s %8s\n", "document", "Tavi MB/s", "pugixml MB/s",
                "ratio");
    for (const Format format : {Format::kRss, Format::kAtom}) {
      for (const Size& size : kSizes) {
        const double tavi = Rate(RunName("Tavi", format, size));
        const double pugi = Rate(RunName("pugixml", format, size));
        if (tavi == 0 || pugi == 0) continue;
        const std::string document = std::string(FormatName(format)) + " " + size.label;
        std::printf("%-12s %12.1f %12.1f %8.2f\n", document.c_str(), tavi, pugi, tavi / pugi);
      }
    }
  }

 private:
  double Rate(const std::string& name) const {
    const auto found = megabytes_per_second_.find(name);
    return found == megabytes_per_second_.end() ? 0 : found->second;
  }
  std::map<std::string, double> megabytes_per_second_;
};

}  // namespace

int main(int argc, char** argv) {
  // Both parsers allocate and free buffers of the document's size on every
  // iteration. Left alone, the allocator returns such memory to the system
  // or not depending on what ran before, and the page faults that follow
  // doubled pugixml's times in some orders of runs. Keeping freed memory
  // measures the parsers, not the order.
  mallopt(M_MMAP_THRESHOLD, kMaxHeapBlock);
  mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAll();
  RatioReporter reporter;  // plain text: the table below is meant to be pasted
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

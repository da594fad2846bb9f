#include "res/icon_drawing.h"

#include <utility>

namespace tavi::res {
namespace {

std::string SvgDocument(const IconDrawing& drawing) {
  const std::string size = std::to_string(drawing.size);
  std::string document = R"(<svg xmlns="http://www.w3.org/2000/svg" width=")" + size +
                         R"(" height=")" + size + R"(" viewBox="0 0 )" + size + " " + size +
                         R"(">)";
  for (std::string_view part : drawing.parts) document += part;
  return document + "</svg>";
}

}  // namespace

IconTable::IconTable(std::vector<IconDrawing> drawings) {
  // Every document is made before any image points into the vector.
  documents_.reserve(drawings.size());
  for (const IconDrawing& drawing : drawings) documents_.push_back(SvgDocument(drawing));
  images_.reserve(drawings.size());
  for (std::size_t i = 0; i < drawings.size(); ++i)
    images_.push_back({drawings[i].id, documents_[i]});
}

std::vector<IconDrawing> FeedOptionDrawings(std::span<const int, 8> ids, int size,
                                            std::string_view feed,
                                            const std::array<OptionMark, 3>& marks) {
  std::vector<IconDrawing> drawings;
  for (std::size_t combination = 0; combination < ids.size(); ++combination) {
    IconDrawing drawing{ids[combination], size, {feed}};
    for (std::size_t option = 0; option < marks.size(); ++option) {
      const bool on = (combination >> option) & 1;
      drawing.parts.push_back(on ? marks[option].on : marks[option].off);
    }
    drawings.push_back(std::move(drawing));
  }
  return drawings;
}

}  // namespace tavi::res

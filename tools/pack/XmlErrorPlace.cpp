#include "pack/XmlErrorPlace.h"

#include <tinyxml.h>

#include <optional>
#include <string_view>
#include <vector>

namespace {

struct OpenTag {
  std::string name;
  int line;
  int column;
};

// Walks the markup construct by construct, keeping the elements open at each point.
class MarkupWalk {
 public:
  explicit MarkupWalk(std::string_view text) : text(text) {}

  // Walks every construct that starts at or before offset stop; the first structural
  // mistake met ends the walk.
  std::optional<XmlErrorPlace> walkTo(std::size_t errorOffset) {
    stop = errorOffset;
    while (position <= stop && position < text.size()) {
      if (text[position] != '<') {
        ++position;
        continue;
      }
      if (std::optional<XmlErrorPlace> problem = construct()) return problem;
    }
    return std::nullopt;
  }

  static XmlErrorPlace neverClosed(const OpenTag& tag, const std::string& detail) {
    return {tag.line, tag.column, "<" + tag.name + "> is never closed" + detail};
  }

  const std::vector<OpenTag>& openTags() const { return open; }
  // The element whose start tag spans the error offset; empty when none does.
  const std::string& holdingTag() const { return holding; }
  bool atEnd() const { return position >= text.size(); }

  // The line and column of a byte offset, counted as the parser counts them.
  std::pair<int, int> placeOf(std::size_t offset) const {
    int lineNumber = 1, columnNumber = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
      if (text[i] == '\n') {
        ++lineNumber;
        columnNumber = 1;
      } else {
        ++columnNumber;
      }
    }
    return {lineNumber, columnNumber};
  }

 private:
  std::optional<XmlErrorPlace> construct() {
    const std::string_view rest = text.substr(position);
    if (rest.starts_with("<!--")) return skipPast("-->", "the comment is never closed (no \"-->\")");
    if (rest.starts_with("<![CDATA["))
      return skipPast("]]>", "the CDATA section is never closed (no \"]]>\")");
    if (rest.starts_with("<?"))
      return skipPast("?>", "the processing instruction is never closed (no \"?>\")");
    if (rest.starts_with("<!")) return skipPast(">", "the declaration is never closed (no \">\")");
    if (rest.starts_with("</")) return endTag();
    return startTag();
  }

  std::optional<XmlErrorPlace> skipPast(std::string_view terminator, const std::string& unclosed) {
    const std::size_t end = text.find(terminator, position);
    if (end == std::string_view::npos) return problemAt(position, unclosed);
    position = end + terminator.size();
    return std::nullopt;
  }

  std::string nameAt(std::size_t start) const {
    std::size_t end = start;
    while (end < text.size() && std::string_view(" \t\r\n/>").find(text[end]) == std::string_view::npos)
      ++end;
    return std::string(text.substr(start, end - start));
  }

  // The '>' that ends the tag starting at position, skipping quoted attribute values.
  std::size_t tagEnd() const {
    char quote = 0;
    for (std::size_t i = position + 1; i < text.size(); ++i) {
      const char c = text[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        return i;
      }
    }
    return std::string_view::npos;
  }

  std::optional<XmlErrorPlace> startTag() {
    const std::string name = nameAt(position + 1);
    const std::size_t end = tagEnd();
    if (end == std::string_view::npos)
      return problemAt(position, "the tag <" + name + " is never finished (no \">\")");
    if (position <= stop && stop <= end) holding = name;
    if (text[end - 1] != '/') {
      const auto [line, column] = placeOf(position);
      open.push_back({name, line, column});
    }
    position = end + 1;
    return std::nullopt;
  }

  std::optional<XmlErrorPlace> endTag() {
    const std::string name = nameAt(position + 2);
    const std::size_t end = tagEnd();
    if (end == std::string_view::npos)
      return problemAt(position, "the end tag </" + name + " is never finished (no \">\")");
    if (!open.empty() && open.back().name == name) {
      open.pop_back();
      position = end + 1;
      return std::nullopt;
    }
    for (const OpenTag& outer : open) {
      if (outer.name == name)
        return neverClosed(open.back(), " (</" + name + "> on line " +
                                            std::to_string(placeOf(position).first) + " comes first)");
    }
    const std::string innermost =
        open.empty() ? "no element is open"
                     : "<" + open.back().name + "> of line " + std::to_string(open.back().line) + " is open";
    return problemAt(position, "</" + name + "> closes no open element (" + innermost + ")");
  }

  XmlErrorPlace problemAt(std::size_t offset, const std::string& message) const {
    const auto [line, column] = placeOf(offset);
    return {line, column, message};
  }

  std::string_view text;
  std::size_t position = 0;
  std::size_t stop = 0;
  std::vector<OpenTag> open;
  std::string holding;
};

// The byte offset of a line and column; the end of the text for 0.
std::size_t offsetOf(std::string_view text, int line, int column) {
  if (line <= 0) return text.size();
  std::size_t offset = 0;
  for (int current = 1; current < line && offset < text.size(); ++offset) {
    if (text[offset] == '\n') ++current;
  }
  return std::min(text.size(), offset + static_cast<std::size_t>(std::max(column - 1, 0)));
}

}  // namespace

XmlErrorPlace placeXmlError(const std::string& text, const TiXmlDocument& document) {
  if (text.find_first_not_of(" \t\r\n") == std::string::npos) return {1, 1, "the document is empty"};
  MarkupWalk walk(text);
  const std::size_t stop = offsetOf(text, document.ErrorRow(), document.ErrorCol());
  if (std::optional<XmlErrorPlace> problem = walk.walkTo(stop)) return *problem;
  const std::vector<OpenTag>& open = walk.openTags();
  if (walk.atEnd() && !open.empty()) return MarkupWalk::neverClosed(open.back(), "");
  const auto [line, column] = walk.placeOf(stop);
  std::string message = document.ErrorDesc();
  if (!walk.holdingTag().empty()) {
    message += " (in the tag <" + walk.holdingTag() + ">)";
  } else if (!open.empty()) {
    message += " (inside <" + open.back().name + "> of line " + std::to_string(open.back().line) + ")";
  }
  return {line, column, message};
}

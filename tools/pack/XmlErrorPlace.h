// Placing an XML error where a designer can mend it.
#pragma once

#include <string>

class TiXmlDocument;

struct XmlErrorPlace {
  int line = 0;
  int column = 0;
  // What is wrong there, in the description's own terms.
  std::string message;
};

// The parser notices some mistakes only lines later (an element left open is
// found at its parent's end tag, an unclosed comment at the end of the text).
// Walks the markup of text up to where document (parsed from text with a tab
// size of 1) stopped, and places the error at the construct that holds it: an
// element never closed, an end tag that closes nothing, an unfinished tag or
// comment. Where the walk finds none of these, the parser's own place and
// description stand, naming the element that was open there.
XmlErrorPlace placeXmlError(const std::string& text, const TiXmlDocument& document);

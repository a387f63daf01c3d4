// A control that shows its current entry and offers all entries in a popup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/CParamDisplay.h"

struct PopupMenuRequest;

// Its value is the index of the current entry. Entries are plain texts, but
// when the popup is built "-" is a separator and texts beginning "-T", "-G"
// or "-M" are shown without those two characters and cannot be chosen.
// GUI thread only.
class COptionMenu : public CParamDisplay {
 public:
  static constexpr std::int32_t maxEntries = 1024;
  static constexpr std::size_t maxEntryLength = 255;

  COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background = nullptr,
              std::int32_t style = 0);

  // Appends (position -1) or inserts an entry, cut to 255 characters; false
  // when the menu is full. The first entry becomes current when there is none.
  bool addEntry(const char* text, std::int32_t position = -1);
  std::int32_t getNbEntries() const { return static_cast<std::int32_t>(entries.size()); }
  // The entry's text, or nullptr outside the entries.
  const char* getEntry(std::int32_t index) const;

  // Makes an entry current (separators excluded); false outside the entries.
  bool setCurrent(std::int32_t index);
  std::int32_t getCurrent() const { return currentIndex; }
  // Sets the current entry to trunc(value); ignored outside the entries.
  void setValue(float newValue) override;
  // The entry chosen in the last popup, -1 for none.
  std::int32_t getLastResult() const { return lastResult; }

  // Shows the current entry's text, or only the background without one.
  void draw(CDrawContext* context) override;
  // Opens the popup below the menu and takes the chosen entry.
  void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons) override;

 private:
  PopupMenuRequest popupRequest(std::int32_t buttons);
  void takeChoice(CDrawContext* context, std::int32_t chosen);

  std::vector<std::string> entries;
  std::int32_t currentIndex = -1;
  std::int32_t lastButton = 0;
  std::int32_t lastResult = -1;
};

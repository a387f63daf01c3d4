#include "gui/COptionMenu.h"

#include <algorithm>
#include <memory>

#include "gui/CControlListener.h"
#include "gui/CFrame.h"
#include "gui/MouseButtons.h"
#include "gui/PopupMenuRequest.h"

namespace {

const char* const separatorText = "-";

PopupMenuItem popupItem(const std::string& entry) {
  if (entry == separatorText) return {"", true, false, false};
  bool marked =
      entry.size() >= 2 && entry[0] == '-' && (entry[1] == 'T' || entry[1] == 'G' || entry[1] == 'M');
  if (marked) return {entry.substr(2), false, false, entry[1] == 'T'};
  return {entry, false, true, false};
}

}  // namespace

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background,
                         std::int32_t style)
    : CParamDisplay(size, background, style) {
  this->listener = listener;
  this->tag = tag;
}

bool COptionMenu::addEntry(const char* text, std::int32_t position) {
  if (getNbEntries() >= maxEntries) return false;
  std::string entry(text ? text : "");
  if (entry.size() > maxEntryLength) entry.resize(maxEntryLength);
  if (position >= 0) {
    std::int32_t at = std::min(position, getNbEntries());
    entries.insert(entries.begin() + at, std::move(entry));
    if (currentIndex >= at) ++currentIndex;
  } else {
    entries.push_back(std::move(entry));
  }
  if (currentIndex < 0) currentIndex = 0;
  return true;
}

const char* COptionMenu::getEntry(std::int32_t index) const {
  if (index < 0 || index >= getNbEntries()) return nullptr;
  return entries[static_cast<std::size_t>(index)].c_str();
}

bool COptionMenu::setCurrent(std::int32_t index) {
  if (index < 0 || index >= getNbEntries() || entries[static_cast<std::size_t>(index)] == separatorText)
    return false;
  currentIndex = index;
  value = static_cast<float>(index);
  setDirty(true);
  return true;
}

void COptionMenu::setValue(float newValue) {
  // Compared before it is converted: converting NaN or a value beyond the
  // integers' range is undefined.
  if (!(newValue > -1.0f && newValue < static_cast<float>(getNbEntries()))) return;
  currentIndex = static_cast<std::int32_t>(newValue);
  value = newValue;
  setDirty(true);
}

void COptionMenu::draw(CDrawContext* context) { drawText(context, getEntry(currentIndex)); }

void COptionMenu::mouse(CDrawContext* context, CPoint&, std::int32_t buttons) {
  if (!mouseEnabled || !parentFrame || !context) return;
  lastButton = buttons;
  if (listenerTookModifierClick(context, buttons)) return;
  if (!(buttons & (kLButton | kRButton))) return;
  beginEdit();
  lastResult = parentFrame->getWindow().trackPopup(popupRequest(buttons));
  if (lastResult >= 0 && lastResult < getNbEntries()) takeChoice(context, lastResult);
  parentFrame->setFocusView(nullptr);
  endEdit();
}

PopupMenuRequest COptionMenu::popupRequest(std::int32_t buttons) {
  PopupMenuRequest request;
  for (const std::string& entry : entries) request.items.push_back(popupItem(entry));
  CPoint origin = parentFrame->getWindow().getScreenOrigin();
  request.screenPosition = origin.offsetBy(viewSize.left, viewSize.bottom);
  request.currentIndex = currentIndex;
  request.secondaryButton = (buttons & kRButton) && !(buttons & kLButton);
  return request;
}

void COptionMenu::takeChoice(CDrawContext* context, std::int32_t chosen) {
  setValue(static_cast<float>(chosen));
  std::unique_ptr<CDrawContext> own;
  if (!context) {
    own = parentFrame->createDrawContext();
    context = own.get();
  }
  notifyChanged(context);
}

#include "gui/win32/GdiPopupMenu.h"

#include <string>

namespace {

// '&' marks a mnemonic in menu texts; doubled, it shows as itself.
std::string menuText(const std::string& text) {
  std::string escaped;
  for (char character : text) {
    escaped += character;
    if (character == '&') escaped += '&';
  }
  return escaped;
}

UINT itemFlags(const PopupMenuItem& item) {
  if (item.separator) return MF_SEPARATOR;
  if (item.title) return MF_STRING | MF_DISABLED;
  if (!item.enabled) return MF_STRING | MF_GRAYED;
  return MF_STRING;
}

}  // namespace

HMENU buildGdiPopupMenu(const PopupMenuRequest& request) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  UINT_PTR commandId = 1;
  for (const PopupMenuItem& item : request.items) {
    std::string text = menuText(item.text);
    AppendMenuA(menu, itemFlags(item), commandId++, item.separator ? nullptr : text.c_str());
  }
  return menu;
}

std::int32_t trackGdiPopupMenu(HWND owner, const PopupMenuRequest& request) {
  HMENU menu = buildGdiPopupMenu(request);
  if (!menu) return -1;
  UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY |
               (request.secondaryButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
  BOOL command =
      TrackPopupMenu(menu, flags, request.screenPosition.x, request.screenPosition.y, 0, owner, nullptr);
  DestroyMenu(menu);
  auto count = static_cast<BOOL>(request.items.size());
  return command >= 1 && command <= count ? command - 1 : -1;
}

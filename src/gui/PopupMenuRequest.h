// What a backend needs to show an option menu's popup.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/CPoint.h"

struct PopupMenuItem {
  std::string text;  // without a marking prefix
  bool separator = false;
  bool enabled = true;
  bool title = false;  // disabled, but shown as a title rather than greyed
};

struct PopupMenuRequest {
  std::vector<PopupMenuItem> items;  // item i answers i when chosen
  CPoint screenPosition;             // top-left corner of the popup
  std::int32_t currentIndex = -1;
  bool secondaryButton = false;  // track the secondary button instead of the primary
};

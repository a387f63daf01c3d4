#include "gui/win32/GdiKeyTranslation.h"

namespace {

struct KeyMapping {
  WPARAM windowsKey;
  VstVirtualKey virtualKey;
};

constexpr KeyMapping keyMappings[] = {
    {VK_BACK, VKEY_BACK},
    {VK_TAB, VKEY_TAB},
    {VK_CLEAR, VKEY_CLEAR},
    {VK_RETURN, VKEY_RETURN},
    {VK_PAUSE, VKEY_PAUSE},
    {VK_ESCAPE, VKEY_ESCAPE},
    {VK_SPACE, VKEY_SPACE},
    {VK_NEXT, VKEY_NEXT},
    {VK_END, VKEY_END},
    {VK_HOME, VKEY_HOME},
    {VK_LEFT, VKEY_LEFT},
    {VK_UP, VKEY_UP},
    {VK_RIGHT, VKEY_RIGHT},
    {VK_DOWN, VKEY_DOWN},
    {VK_PRIOR, VKEY_PAGEUP},
    {VK_SELECT, VKEY_SELECT},
    {VK_PRINT, VKEY_PRINT},
    {VK_SNAPSHOT, VKEY_SNAPSHOT},
    {VK_INSERT, VKEY_INSERT},
    {VK_DELETE, VKEY_DELETE},
    {VK_HELP, VKEY_HELP},
    {VK_NUMPAD0, VKEY_NUMPAD0},
    {VK_NUMPAD1, VKEY_NUMPAD1},
    {VK_NUMPAD2, VKEY_NUMPAD2},
    {VK_NUMPAD3, VKEY_NUMPAD3},
    {VK_NUMPAD4, VKEY_NUMPAD4},
    {VK_NUMPAD5, VKEY_NUMPAD5},
    {VK_NUMPAD6, VKEY_NUMPAD6},
    {VK_NUMPAD7, VKEY_NUMPAD7},
    {VK_NUMPAD8, VKEY_NUMPAD8},
    {VK_NUMPAD9, VKEY_NUMPAD9},
    {VK_MULTIPLY, VKEY_MULTIPLY},
    {VK_ADD, VKEY_ADD},
    {VK_SEPARATOR, VKEY_SEPARATOR},
    {VK_SUBTRACT, VKEY_SUBTRACT},
    {VK_DECIMAL, VKEY_DECIMAL},
    {VK_DIVIDE, VKEY_DIVIDE},
    {VK_F1, VKEY_F1},
    {VK_F2, VKEY_F2},
    {VK_F3, VKEY_F3},
    {VK_F4, VKEY_F4},
    {VK_F5, VKEY_F5},
    {VK_F6, VKEY_F6},
    {VK_F7, VKEY_F7},
    {VK_F8, VKEY_F8},
    {VK_F9, VKEY_F9},
    {VK_F10, VKEY_F10},
    {VK_F11, VKEY_F11},
    {VK_F12, VKEY_F12},
    {VK_NUMLOCK, VKEY_NUMLOCK},
    {VK_SCROLL, VKEY_SCROLL},
    {VK_SHIFT, VKEY_SHIFT},
    {VK_CONTROL, VKEY_CONTROL},
    {VK_MENU, VKEY_ALT},
};

bool isDown(int key) { return GetKeyState(key) < 0; }

unsigned char modifierBits() {
  unsigned char bits = 0;
  if (isDown(VK_SHIFT)) bits |= MODIFIER_SHIFT;
  if (isDown(VK_MENU)) bits |= MODIFIER_ALTERNATE;
  if (isDown(VK_CONTROL)) bits |= MODIFIER_CONTROL;
  return bits;
}

}  // namespace

VstKeyCode translateKey(WPARAM virtualKey) {
  VstKeyCode keyCode{};
  keyCode.modifier = modifierBits();
  for (const KeyMapping& mapping : keyMappings) {
    if (mapping.windowsKey == virtualKey) {
      keyCode.virt = mapping.virtualKey;
      return keyCode;
    }
  }
  UINT character = MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR) & 0x7FFFu;
  if (character >= 'A' && character <= 'Z') character += 'a' - 'A';
  keyCode.character = static_cast<VstInt32>(character);
  return keyCode;
}

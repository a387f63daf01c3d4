#include "gui/cairo/X11KeyTranslation.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

struct KeyMapping {
  KeySym symbol;
  VstVirtualKey virtualKey;
};

constexpr KeyMapping keyMappings[] = {
    {XK_BackSpace, VKEY_BACK},
    {XK_Tab, VKEY_TAB},
    {XK_ISO_Left_Tab, VKEY_TAB},
    {XK_Clear, VKEY_CLEAR},
    {XK_Return, VKEY_RETURN},
    {XK_Pause, VKEY_PAUSE},
    {XK_Escape, VKEY_ESCAPE},
    {XK_space, VKEY_SPACE},
    {XK_Next, VKEY_NEXT},
    {XK_End, VKEY_END},
    {XK_Home, VKEY_HOME},
    {XK_Left, VKEY_LEFT},
    {XK_Up, VKEY_UP},
    {XK_Right, VKEY_RIGHT},
    {XK_Down, VKEY_DOWN},
    {XK_Prior, VKEY_PAGEUP},
    {XK_Select, VKEY_SELECT},
    {XK_Print, VKEY_PRINT},
    {XK_KP_Enter, VKEY_ENTER},
    {XK_Insert, VKEY_INSERT},
    {XK_Delete, VKEY_DELETE},
    {XK_Help, VKEY_HELP},
    {XK_KP_0, VKEY_NUMPAD0},
    {XK_KP_1, VKEY_NUMPAD1},
    {XK_KP_2, VKEY_NUMPAD2},
    {XK_KP_3, VKEY_NUMPAD3},
    {XK_KP_4, VKEY_NUMPAD4},
    {XK_KP_5, VKEY_NUMPAD5},
    {XK_KP_6, VKEY_NUMPAD6},
    {XK_KP_7, VKEY_NUMPAD7},
    {XK_KP_8, VKEY_NUMPAD8},
    {XK_KP_9, VKEY_NUMPAD9},
    {XK_KP_Multiply, VKEY_MULTIPLY},
    {XK_KP_Add, VKEY_ADD},
    {XK_KP_Separator, VKEY_SEPARATOR},
    {XK_KP_Subtract, VKEY_SUBTRACT},
    {XK_KP_Decimal, VKEY_DECIMAL},
    {XK_KP_Divide, VKEY_DIVIDE},
    {XK_F1, VKEY_F1},
    {XK_F2, VKEY_F2},
    {XK_F3, VKEY_F3},
    {XK_F4, VKEY_F4},
    {XK_F5, VKEY_F5},
    {XK_F6, VKEY_F6},
    {XK_F7, VKEY_F7},
    {XK_F8, VKEY_F8},
    {XK_F9, VKEY_F9},
    {XK_F10, VKEY_F10},
    {XK_F11, VKEY_F11},
    {XK_F12, VKEY_F12},
    {XK_Num_Lock, VKEY_NUMLOCK},
    {XK_Scroll_Lock, VKEY_SCROLL},
    {XK_Shift_L, VKEY_SHIFT},
    {XK_Shift_R, VKEY_SHIFT},
    {XK_Control_L, VKEY_CONTROL},
    {XK_Control_R, VKEY_CONTROL},
    {XK_Alt_L, VKEY_ALT},
    {XK_Alt_R, VKEY_ALT},
    {XK_KP_Equal, VKEY_EQUALS},
};

unsigned char modifierBits(unsigned int state) {
  unsigned char bits = 0;
  if (state & ShiftMask) bits |= MODIFIER_SHIFT;
  if (state & Mod1Mask) bits |= MODIFIER_ALTERNATE;
  if (state & ControlMask) bits |= MODIFIER_CONTROL;
  return bits;
}

}  // namespace

VstKeyCode translateKey(XKeyEvent& event) {
  VstKeyCode keyCode{};
  char character = 0;
  KeySym symbol = NoSymbol;
  XLookupString(&event, &character, 1, &symbol, nullptr);
  keyCode.modifier = modifierBits(event.state);
  for (const KeyMapping& mapping : keyMappings) {
    if (mapping.symbol == symbol) {
      keyCode.virt = mapping.virtualKey;
      return keyCode;
    }
  }
  keyCode.character = static_cast<unsigned char>(character);
  return keyCode;
}

#include "gui/win32/GdiWindowClass.h"

#include <cstdio>

#include "platform/win32/ModuleInstance.h"

namespace gdiWindowClass {

namespace {

char className[32];
int users = 0;

}  // namespace

const char* acquire(WNDPROC procedure) {
  if (users == 0) {
    HINSTANCE instance = platform::moduleInstance();
    std::snprintf(className, sizeof className, "Plugin%p", static_cast<void*>(instance));
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  }
  ++users;
  return className;
}

void release() {
  if (users == 0 || --users > 0) return;
  UnregisterClassA(className, platform::moduleInstance());
}

}  // namespace gdiWindowClass

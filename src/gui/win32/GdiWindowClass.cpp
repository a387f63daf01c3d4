#include "gui/win32/GdiWindowClass.h"

#include <cstdio>

namespace gdiWindowClass {

namespace {

char className[32];
int users = 0;

}  // namespace

HINSTANCE moduleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&moduleInstance), &module);
  return module;
}

const char* acquire(WNDPROC procedure) {
  if (users == 0) {
    HINSTANCE instance = moduleInstance();
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
  UnregisterClassA(className, moduleInstance());
}

}  // namespace gdiWindowClass

#include "platform/win32/ModuleInstance.h"

namespace platform {

HINSTANCE moduleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&moduleInstance), &module);
  return module;
}

}  // namespace platform

// Linked into every test executable of an AddressSanitizer build: fontconfig
// and cairo keep caches for the life of the process and never free them,
// which LeakSanitizer would otherwise report as leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\nleak:libcairo.so\n"; }

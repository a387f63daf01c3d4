// Linked into every test executable of an AddressSanitizer build. Each entry
// is a leak that is not ours to fix:
// - libfontconfig.so, libcairo.so: both keep caches for the life of the
//   process and never free them.
// - libtinyxml.so: TinyXML's parser is not exception-safe. When an allocation
//   throws during a parse (the tests make allocations fail on purpose), the
//   node it has just created is not yet in the document and is lost. A leaked
//   document of ours is still reported: it is allocated in our code.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libcairo.so\n"
         "leak:libtinyxml.so\n";
}

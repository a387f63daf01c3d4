#include "effect/HostQuirks.h"

#include <array>

#include "frame/AudioEffectX.h"

namespace {

// What Ardour answers (7.3, Debian 12): vendor "Linux Audio Systems",
// product "Ardour", vendor version 900. The version is the same in every
// release, so it cannot single out the releases that crash.
constexpr const char* kArdourVendor = "Linux Audio Systems";
constexpr const char* kArdourProduct = "Ardour";

bool isArdour(const std::string& vendor, const std::string& product) {
  return vendor == kArdourVendor || product.rfind(kArdourProduct, 0) == 0;
}

// The text a host wrote, whatever the call returns. Some hosts write more
// than the 64 characters the interface allows, so it goes to a roomy,
// cleared buffer, cut at its last byte.
std::string askText(AudioEffectX& effect, bool (AudioEffectX::*ask)(char*)) {
  std::array<char, 256> text{};
  (effect.*ask)(text.data());
  text.back() = '\0';
  return text.data();
}

}  // namespace

HostQuirks HostQuirks::askHostOf(AudioEffectX& effect) {
  return fromIdentity(askText(effect, &AudioEffectX::getHostVendorString),
                      askText(effect, &AudioEffectX::getHostProductString));
}

// Ardour runs a VST editor on a thread of its own ("LXVSTEventLoop"). When
// the editor's audioMasterBeginEdit arrives there for a parameter whose lane
// is in Touch or Latch mode, Ardour starts a touch that reads its tempo map,
// which that thread does not have, and Ardour crashes (segmentation fault in
// its tempo map). Without the bracket Ardour still takes every value sent
// with audioMasterAutomate: its controls follow and Write mode records.
HostQuirks HostQuirks::fromIdentity(const std::string& vendor, const std::string& product) {
  return HostQuirks(!isArdour(vendor, product));
}

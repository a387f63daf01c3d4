// What the effect does differently for hosts known to mishandle a request.
#pragma once

#include <string>

class AudioEffectX;

// Learnt once from the host's vendor and product strings (host opcodes 32
// and 33). Every other host gets the full protocol.
class HostQuirks {
 public:
  // host (not the audio thread): asks the effect's host who it is, once.
  static HostQuirks askHostOf(AudioEffectX& effect);
  // From the texts a host answered (empty when it answered none).
  static HostQuirks fromIdentity(const std::string& vendor, const std::string& product);

  // Whether an editor edit may be bracketed with audioMasterBeginEdit and
  // audioMasterEndEdit (43, 44). The values go with audioMasterAutomate
  // either way.
  bool sendsEditBracket() const { return editBracket; }

 private:
  explicit HostQuirks(bool sendsEditBracket) : editBracket(sendsEditBracket) {}

  bool editBracket;
};

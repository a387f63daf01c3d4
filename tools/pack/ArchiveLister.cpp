#include "pack/ArchiveLister.h"

#include <unzip.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "effect/FxpLayout.h"
#include "effect/ZipMemberReading.h"
#include "pack/AsciiCase.h"
#include "pack/FxpProgram.h"
#include "pack/PackError.h"
#include "pack/PresetText.h"
#include "pack/ProcessorCatalogue.h"

namespace {

struct ZipCloser {
  void operator()(void* handle) const { unzClose(handle); }
};
using ZipHandle = std::unique_ptr<void, ZipCloser>;

// The four characters of an identifier when they are printable, else hex.
std::string identifierText(VstInt32 id) {
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>(static_cast<std::uint32_t>(id) >> shift);
    if (c < ' ' || c > '~') {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08x", static_cast<unsigned>(id));
      return hex;
    }
    text += c;
  }
  return text + "'";
}

void noteMagic(std::ostream& out, const char* field, VstInt32 found, VstInt32 expected) {
  if (found != expected)
    out << "# " << field << " is " << identifierText(found) << ", not " << identifierText(expected) << "\n";
}

void writeProgram(std::ostream& out, const FxpProgram& program) {
  const ProcessorInfo* processor = findProcessorById(program.uniqueId);
  out << "# program \"" << program.name << "\", unique ID " << identifierText(program.uniqueId)
      << ", effect version " << program.effectVersion << ", format version " << program.formatVersion << "\n";
  noteMagic(out, "chunk magic", program.chunkMagic, fxp::kChunkMagic);
  noteMagic(out, "program magic", program.programMagic, fxp::kProgramMagic);
  if (program.values.size() != static_cast<std::size_t>(std::max(program.numParams, 0)))
    out << "# the header gives " << program.numParams << " values, " << program.values.size() << " present\n";
  if (processor && processor->numParams() != static_cast<VstInt32>(program.values.size()))
    out << "# " << processor->typeName << " has " << processor->numParams() << " parameters\n";
  if (processor)
    out << "processor " << processor->typeName << "\n";
  else
    out << "# no known processor has this unique ID\n";
  for (std::size_t i = 0; i < program.values.size(); ++i)
    out << formatParameterLine(processor, i, program.values[i]);
}

void listMember(unzFile archive, const std::string& archivePath, std::ostream& out) {
  unz_file_info info;
  char name[1024] = {};
  if (unzGetCurrentFileInfo(archive, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK)
    throw packError(archivePath, 0, "member directory cannot be read");
  std::string memberName = name;
  bool isProgram = asciiLowerCase(memberName).ends_with(".fxp");
  if (!isProgram) {
    out << "== " << memberName << " (" << info.uncompressed_size << " bytes)\n";
    return;
  }
  std::vector<char> bytes;
  if (!readCurrentZipMember(archive, bytes))
    throw packError(archivePath, 0, "member '" + memberName + "' cannot be read");
  out << "== " << memberName << "\n";
  FxpProgram program;
  if (decodeFxp(bytes, program))
    writeProgram(out, program);
  else
    out << "# " << bytes.size() << " bytes: shorter than an FXP program header\n";
}

}  // namespace

void listArchive(const std::string& archivePath, std::ostream& out) {
  ZipHandle archive(unzOpen(archivePath.c_str()));
  if (!archive) throw packError(archivePath, 0, "is not a readable ZIP archive");
  int status = unzGoToFirstFile(archive.get());
  for (; status == UNZ_OK; status = unzGoToNextFile(archive.get()))
    listMember(archive.get(), archivePath, out);
  if (status != UNZ_END_OF_LIST_OF_FILE) throw packError(archivePath, 0, "member directory cannot be read");
}

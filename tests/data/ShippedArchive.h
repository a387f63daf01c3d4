// The archive the build packed from data/, read and built as the engine does.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graph/AudioNode.h"
#include "graph/GraphBuildReport.h"

// A description of the shipped archive after its build.
struct BuiltDescription {
  std::string name;
  // Empty when the member was read, parsed and has its <torvix> root.
  std::string readError;
  std::unique_ptr<AudioNode> head;
  GraphBuildReport report;
  // Every preset the builder asked for, and those the archive did not have.
  std::vector<std::string> presetsRequested;
  std::vector<std::string> presetsMissing;
};

// Points the process-wide module directory at the shipped archive while it
// exists.
class ShippedArchive {
 public:
  ShippedArchive();
  ~ShippedArchive();
  ShippedArchive(const ShippedArchive&) = delete;
  ShippedArchive& operator=(const ShippedArchive&) = delete;

  // The directory the archive lies in, as a host reports it.
  static std::string directory();

  // Every member, in archive order.
  std::vector<std::string> memberNames() const;
  // The graph descriptions as the engine lists them: names containing
  // ".xml", in byte order.
  std::vector<std::string> descriptionNames() const;
  // What build leaves of the description.
  enum class RootAttributes { kAsShipped, kAsFirstWritten };

  // Reads, parses and builds one description with its presets from the
  // archive, under one archive session as the engine does; kAsFirstWritten
  // first removes what the sounds were given later: the root's "oversampling"
  // and "rate", the nodes added for oversampling, and the averagers' window
  // shapes (parameter 1).
  BuiltDescription build(const std::string& name,
                         RootAttributes attributes = RootAttributes::kAsShipped) const;
};

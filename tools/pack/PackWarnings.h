// What torvix-pack finds questionable but can still pack: each finding names
// a file and line. "--strict" turns them into a refusal.
#pragma once

#include <string>
#include <vector>

struct PackWarning {
  std::string file;
  int line = 0;
  std::string message;

  // "file:line: warning: message".
  std::string text() const;
};

class PackWarnings {
 public:
  void add(const std::string& file, int line, const std::string& message) {
    found.push_back({file, line, message});
  }

  // Orders the warnings by file, then line; those of one place keep their order.
  void sortByPlace();

  const std::vector<PackWarning>& all() const { return found; }
  bool empty() const { return found.empty(); }

 private:
  std::vector<PackWarning> found;
};

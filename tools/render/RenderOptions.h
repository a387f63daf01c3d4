// The command line of torvix-render.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/SampleEncoding.h"
#include "render/TailRule.h"

enum class RenderMode { render, batch, list, demo, snapshot, analyse, help };

// A parameter as the user named it, resolved against the module later.
struct ParameterRequest {
  std::string name;
  float value = 0.0f;
};

struct RenderOptions {
  static constexpr int kDefaultBlockSize = 512;
  static constexpr int kMaximumBlockSize = 65536;
  static constexpr float kDefaultSampleRate = 44100.0f;
  // The rates of input files, and of generated input, that a render takes.
  static constexpr int kLowestSampleRate = 8000;
  static constexpr int kHighestSampleRate = 384000;
  static constexpr double kLongestTailLimit = 3600.0;

  RenderMode mode = RenderMode::render;
  std::string inputPath;
  std::string outputPath;
  // Batch mode: every input is rendered into outputDirectory.
  std::vector<std::string> inputPaths;
  std::string outputDirectory;
  std::string demoDirectory;
  std::string snapshotPath;
  std::string analysisPath;
  // Empty: the module beside the executable.
  std::string modulePath;
  // Empty: the archive beside the module.
  std::string archivePath;
  std::vector<ParameterRequest> parameters;
  // A description's name (with or without ".xml") or its index; "all" in
  // batch mode and the demo.
  std::optional<std::string> preset;
  int blockSize = kDefaultBlockSize;
  // Only for generated input; files keep their own rate.
  std::optional<float> sampleRate;
  // Empty: float for WAV, 24-bit for FLAC.
  std::optional<SampleEncoding> encoding;
  // Seconds the tail may last at most; it ends sooner once the sound decays.
  double longestTail = TailRule::kDefaultLongestSeconds;

  // --preset all: every description in turn.
  bool everyPreset() const;

  // "8000 to 384000 Hz".
  static std::string sampleRateRangeText();
};

// Reads the arguments after the program name. Throws UsageError with a
// one-line message for anything it cannot use.
RenderOptions parseRenderOptions(const std::vector<std::string>& arguments);

// The --help text.
std::string renderUsage();

// The engine behind the main effect: input filters, processing graph and
// output gain, and the choice of graph.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "effect/ArchiveDescriptions.h"
#include "effect/PreparedGraph.h"
#include "frame/AudioEffectX.h"
#include "graph/BufferBank.h"
#include "processors/PassWavefront.h"
#include "processors/RecentSamples.h"
#include "processors/WavefrontSeries.h"
#include "processors/ZrIIRFilter.h"

// Each block runs through the bass filter (input to bank entry 1), the
// lo-mid filter (entry 1 to entry 0), the graph of the selected description
// (entry 0 to entry 1) and the output factor. A graph whose description asks
// for oversampling runs between an upsampler after the lo-mid filter and a
// decimator before the output factor, at that multiple of the host's rate,
// in pieces whose samples at that rate fit the bank's buffers. The input filters run at the
// host's rate, designed for the response they have at the rate the graph's description names
// (at the host's rate when it names none). The engine is an effect of its
// own, created with the internal host callback and never handed to the host.
// Locking is left to the platform class: one lock serialises each block,
// each change of the first three user parameters and every graph swap; a
// graph is built outside it.
class ZrVelkoranGeneric : public AudioEffectX {
 public:
  static constexpr VstInt32 kPreGain = 0;
  static constexpr VstInt32 kPostGain = 1;
  static constexpr VstInt32 kPreBass = 2;
  static constexpr VstInt32 kPreset = 3;
  // The longest "Preset" display: a description name cut to the published
  // program-name length.
  static constexpr VstInt32 kPresetDisplayLength = kVstMaxProgNameLen - 1;

  ZrVelkoranGeneric();
  ~ZrVelkoranGeneric() override;

  // audio: one block; blocks longer than the bank's buffers run in pieces.
  // A block whose output is not finite comes out silent and clears the
  // state carried between blocks (filters, processors, control nodes).
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  VstPlugCategory getPlugCategory() override;

  // host or GUI, with the engine lock held by the caller: applies a user
  // parameter. For the first three a value that is not finite changes
  // nothing and others are held to 0..1. "Preset" is selectDescription, whose
  // build then holds the lock: callers that need no lock call that instead.
  virtual void setUserParameter(VstInt32 index, float value);
  // host or GUI, without the engine lock: the "Preset" change to value (its
  // integer part; nothing for a value outside the list). Builds without the
  // engine lock, which the audio thread then waits for only for the swap;
  // the replaced graph is destroyed here. Of changes that race each other
  // the one asked for last plays.
  void selectDescription(float value);
  // Any thread, no lock: the values, displays and names of the parameters.
  virtual float getUserParameter(VstInt32 index);
  virtual void getUserParameterDisplay(VstInt32 index, char* text);
  virtual void getUserParameterName(VstInt32 index, char* text);
  // Any thread: the engine lock, re-entrant for the thread that holds it.
  virtual void lock() = 0;
  virtual void unlock() = 0;
  // The engine lock held for a scope, so no early return or exception can
  // leave it held.
  using EngineLock = std::lock_guard<ZrVelkoranGeneric>;

  // host: passes a host request to every processor of the current graph and
  // to both input filters, under the engine lock; the answers are ignored.
  void forwardToProcessors(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

  // host: replaces the graph with the one of description n (prepareGraph,
  // then installGraph, unless a change asked for later has been installed
  // meanwhile), destroying the replaced graph on this thread. False, with
  // graph and preset index unchanged, when n is outside the list or the
  // description is missing, malformed or refused by the builder, or when
  // memory runs out while it is read, parsed or built.
  bool loadGraph(VstInt32 n);

  // Any thread but audio, without the engine lock: builds description n for
  // the sample rate last forwarded, with its run plan (wavefronts of at most
  // lanes lanes; every width gives the same bits). Null (traced) in the cases
  // where loadGraph gives false. May allocate and read the archive.
  std::unique_ptr<PreparedGraph> prepareGraph(VstInt32 n, VstInt32 lanes = PassWavefront::laneCapacity());
  // Any thread, audio included: swaps prepared in under the engine lock,
  // which it holds only for the swap, and returns the graph it replaces
  // (null when there was none); the caller destroys that one, off the audio
  // thread. The input filters then follow the rate the new graph names, and the new graph's
  // samplers take over the stream that plays (both in place). Allocates and frees nothing.
  std::unique_ptr<PreparedGraph> installGraph(std::unique_ptr<PreparedGraph> prepared);

  // The names of the archive's graph descriptions, sorted; fixed after
  // construction.
  const std::vector<std::string>& descriptions() const { return descriptionNames; }

  // Any thread with the engine lock, for inspection: the current graph's head (null
  // without one) and the multiple of the host's rate it runs at.
  const AudioNode* graphHead() const { return graph ? graph->head.get() : nullptr; }
  int graphOversampling() const { return graph ? graph->timing.oversampling : 1; }

  // The input filters' workers, for inspection.
  const IIRCascade& bassCascade() const { return bassFilter.cascade(); }
  const IIRCascade& loMidCascade() const { return loMidFilter.cascade(); }

 protected:
  // Steps of construction that need the platform lock; the platform class
  // calls it once its lock exists.
  void initialise();

 private:
  void allocateBank();
  void listDescriptions();
  void loadFilterPresets();
  // The input filters as the stages of a series: bass from the block's input into bank
  // entry 1, lo-mid from there into entry 0.
  std::array<WavefrontSeries::Stage, 2> inputFilterStages();
  void processChunk(float* input, float* const* outputs, VstInt32 channels, VstInt32 sampleFrames);
  void runOversampled(PreparedGraph& prepared, const float* input, VstInt32 sampleFrames);
  void writeOutput(float* output, const float* source, VstInt32 sampleFrames) const;
  static void silence(float* const* outputs, VstInt32 channels, VstInt32 sampleFrames);
  void recoverFromFault(float* const* outputs, VstInt32 channels, VstInt32 sampleFrames);
  static void clearGraphState(PreparedGraph& prepared);
  void setPreBass(float value);
  DescriptionBuild buildDescription(const std::string& name);
  void rememberSampleRate(VstInt32 opcode, float opt);
  std::unique_ptr<PreparedGraph> installRequested(std::unique_ptr<PreparedGraph> prepared,
                                                  std::uint64_t request);
  static void tellSampleRate(PreparedGraph& prepared, float rate);
  void followGraphRate();
  void takeOverStream(PreparedGraph& prepared);
  void noteSilence();

  // Whether the lo-mid post gain is 0 (pre gain 0). The audio thread reads
  // it without the lock to return silence at once.
  std::atomic<bool> silenced{false};
  // Written under the engine lock, read without it.
  std::atomic<VstInt32> presetIndex{0};
  // The host's sample rate as last forwarded (under the engine lock), which
  // graphs are built for without it.
  std::atomic<float> hostSampleRate{44100.0f};
  // "Preset" changes asked for, and the latest of them installed (under the
  // engine lock).
  std::atomic<std::uint64_t> graphRequests{0};
  std::uint64_t installedRequest = 0;
  float preGain = 0.5f;
  float postGain = 0.5f;
  float preBass = 0.5f;
  std::unique_ptr<PreparedGraph> graph;
  VstInt32 graphSerial = 0;
  BufferBank bufferBank;
  ZrIIRFilter bassFilter;
  ZrIIRFilter loMidFilter;
  std::vector<std::string> descriptionNames;
  VstInt32 bufferLength = BufferBank::kBufferLength;
  std::vector<std::vector<float>> bankSamples;
  std::vector<float*> bankChannels;
  // Host-rate samples around an oversampled graph: the input filters' output, then the
  // graph's output brought back to the host's rate.
  std::vector<float> hostRateSamples;
  // The input filters' last output, which a graph at a raised rate plays first when it is
  // swapped in mid-stream.
  RecentSamples recentInput;
  // Texts that forwarded requests may write, so processors never write into
  // a buffer the host handed to the main effect.
  char forwardScratch[256] = {};
};

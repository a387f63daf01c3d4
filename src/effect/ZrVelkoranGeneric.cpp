#include "effect/ZrVelkoranGeneric.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

#include "effect/ArchiveDescriptions.h"
#include "effect/ArchiveSession.h"
#include "effect/FiniteSignal.h"
#include "effect/GraphBuiltHook.h"
#include "effect/InternalHost.h"
#include "effect/PresetReader.h"
#include "frame/TextCopy.h"
#include "frame/TraceLog.h"
#include "graph/GraphState.h"
#include "platform/DenormalGuard.h"
#include "processors/Float4.h"
#include "processors/ZrClipper.h"

namespace {

constexpr const char* kParameterNames[] = {"Pre gain", "Post gain", "Pre bass"};

// Requests whose pointer is a text the effect writes for the host.
bool writesText(VstInt32 opcode) {
  switch (opcode) {
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effShellGetNextPlugin:
      return true;
    default:
      return false;
  }
}

// The description index that a "Preset" value selects, or -1 for a value
// outside the list (negative, too large, not a number or infinite).
VstInt32 descriptionIndex(float value, std::size_t count) {
  if (!std::isfinite(value)) return -1;
  const float whole = std::trunc(value);
  if (whole < 0.0f || whole >= static_cast<float>(count)) return -1;
  return static_cast<VstInt32>(whole);
}

// Above the host's rate the clippers' corners are smoothed by their antiderivative too, so
// that little of what they add lies beyond the raised rate's band to fold back.
void useAntiderivativeClipping(AudioNode& head) {
  for (AudioNode* node = &head; node; node = node->next.get()) {
    if (auto* clipper = dynamic_cast<ZrClipper*>(node->effect.get())) clipper->setAntiderivative(true);
  }
}

bool tellsSampleRate(VstInt32 opcode) {
  return opcode == effSetSampleRate || opcode == effSetBlockSizeAndSampleRate;
}

void formatValue(float value, char* text) { std::snprintf(text, kVstMaxParamStrLen + 1, "%f", value); }

}  // namespace

ZrVelkoranGeneric::ZrVelkoranGeneric()
    : AudioEffectX(internalHostCallback, 1, 4),
      bassFilter(internalHostCallback),
      loMidFilter(internalHostCallback) {}

ZrVelkoranGeneric::~ZrVelkoranGeneric() { traceLog("terminating...\n\n"); }

void ZrVelkoranGeneric::initialise() {
  allocateBank();
  listDescriptions();
  loadGraph(0);
  loadFilterPresets();
  setUserParameter(kPreGain, 0.5f);
}

void ZrVelkoranGeneric::allocateBank() {
  bankSamples.assign(BufferBank::kEntryCount, std::vector<float>(static_cast<std::size_t>(bufferLength)));
  bankChannels.resize(BufferBank::kEntryCount);
  hostRateSamples.assign(static_cast<std::size_t>(bufferLength), 0.0f);
  for (int entry = 0; entry < BufferBank::kEntryCount; ++entry) {
    bankChannels[entry] = bankSamples[entry].data();
    bufferBank.entries[entry] = &bankChannels[entry];
  }
}

void ZrVelkoranGeneric::listDescriptions() {
  ArchiveSession session;
  descriptionNames = listArchiveDescriptions();
}

void ZrVelkoranGeneric::loadFilterPresets() {
  ArchiveSession session;
  readPreset(&bassFilter, "bass.fxp");
  readPreset(&loMidFilter, "lo_mid.fxp");
  noteSilence();
}

void ZrVelkoranGeneric::noteSilence() {
  silenced.store(loMidFilter.cascade().postGain() == 0.0f, std::memory_order_relaxed);
}

VstPlugCategory ZrVelkoranGeneric::getPlugCategory() { return kPlugCategEffect; }

void ZrVelkoranGeneric::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  const platform::DenormalGuard flushDenormals;
  const VstInt32 channels = isOutputConnected(1) ? 2 : 1;
  if (silenced.load(std::memory_order_relaxed)) {
    silence(outputs, channels, sampleFrames);
    return;
  }
  const EngineLock guard(*this);
  // A bad input sample is caught before a delay line can hide it from this
  // block's output; one that arises inside shows in the output. Both
  // channels carry the same samples.
  if (allFinite(inputs[0], sampleFrames)) {
    const VstInt32 chunk = graph ? graph->chunkFrames : bufferLength;
    for (VstInt32 done = 0; done < sampleFrames; done += chunk) {
      const VstInt32 length = std::min(chunk, sampleFrames - done);
      float* pieceOutputs[2] = {outputs[0] + done, channels > 1 ? outputs[1] + done : nullptr};
      processChunk(inputs[0] + done, pieceOutputs, channels, length);
    }
    if (allFinite(outputs[0], sampleFrames)) return;
  }
  recoverFromFault(outputs, channels, sampleFrames);
}

void ZrVelkoranGeneric::silence(float* const* outputs, VstInt32 channels, VstInt32 sampleFrames) {
  for (VstInt32 channel = 0; channel < channels; ++channel) {
    std::fill(outputs[channel], outputs[channel] + std::max(sampleFrames, 0), 0.0f);
  }
}

// A NaN or infinity in the input (an upstream plug-in's fault) or one that
// arose inside would stay in every history for good. The block is silenced
// and the next one starts from a clean state.
void ZrVelkoranGeneric::recoverFromFault(float* const* outputs, VstInt32 channels, VstInt32 sampleFrames) {
  silence(outputs, channels, sampleFrames);
  bassFilter.clearSignalState();
  loMidFilter.clearSignalState();
  recentInput.clear();
  if (graph) clearGraphState(*graph);
}

void ZrVelkoranGeneric::clearGraphState(PreparedGraph& prepared) {
  ::clearGraphState(*prepared.head);
  if (prepared.oversampler) prepared.oversampler->clear();
}

// The two input filters run as one series (their processReplacing is their cascade), the
// start of the graph's first one where it can.
std::array<WavefrontSeries::Stage, 2> ZrVelkoranGeneric::inputFilterStages() {
  return {WavefrontSeries::equaliser(bassFilter.cascade(), bufferBank.channel(BufferBank::kGraphOutput)),
          WavefrontSeries::equaliser(loMidFilter.cascade(), bufferBank.channel(BufferBank::kGraphInput))};
}

void ZrVelkoranGeneric::processChunk(float* input, float* const* outputs, VstInt32 channels,
                                     VstInt32 sampleFrames) {
  traceLog("fxtree:%d;", graphSerial);
  const float* result = bufferBank.channel(BufferBank::kGraphOutput);
  if (graph && graph->oversampler) {
    runOversampled(*graph, input, sampleFrames);
    result = hostRateSamples.data();
  } else if (graph) {
    graph->plan.run(sampleFrames, input);
    recentInput.append(bufferBank.channel(BufferBank::kGraphInput), sampleFrames);
  } else {
    const std::array<WavefrontSeries::Stage, 2> inputFilters = inputFilterStages();
    WavefrontSeries::run(inputFilters.data(), 2, input, sampleFrames, PassWavefront::laneCapacity());
    recentInput.append(bufferBank.channel(BufferBank::kGraphInput), sampleFrames);
  }
  for (VstInt32 channel = 0; channel < channels; ++channel)
    writeOutput(outputs[channel], result, sampleFrames);
}

// The input filters at the host's rate (bass into bank entry 1, lo-mid into the host-rate
// buffer), raised to the graph's rate into entry 0; the graph's output in entry 1 brought
// back to the host's rate in the host-rate buffer.
void ZrVelkoranGeneric::runOversampled(PreparedGraph& prepared, const float* input, VstInt32 sampleFrames) {
  const std::array<WavefrontSeries::Stage, 2> inputFilters = {
      WavefrontSeries::equaliser(bassFilter.cascade(), bufferBank.channel(BufferBank::kGraphOutput)),
      WavefrontSeries::equaliser(loMidFilter.cascade(), hostRateSamples.data())};
  WavefrontSeries::run(inputFilters.data(), 2, input, sampleFrames, PassWavefront::laneCapacity());
  recentInput.append(hostRateSamples.data(), sampleFrames);
  Oversampler& sampler = *prepared.oversampler;
  sampler.upsample(hostRateSamples.data(), bufferBank.channel(BufferBank::kGraphInput), sampleFrames);
  prepared.plan.run(sampleFrames * sampler.factor());
  sampler.downsample(bufferBank.channel(BufferBank::kGraphOutput), hostRateSamples.data(), sampleFrames);
}

void ZrVelkoranGeneric::writeOutput(float* output, const float* source, VstInt32 sampleFrames) const {
  const float power = std::pow(9.0f, postGain);
  const float factor = (power - 1.0f) / 9.0f;
  forEachSample(sampleFrames, [&]<typename Samples>(VstInt32 i) {
    storeSamples(output + i, splat<Samples>(factor) * loadSamples<Samples>(source + i));
  });
}

void ZrVelkoranGeneric::setUserParameter(VstInt32 index, float value) {
  if (index >= kPreGain && index <= kPreBass) {
    // Hosts send what automation glitches and damaged sessions hold; one
    // such value would poison every filter history for good.
    if (!std::isfinite(value)) return;
    value = std::clamp(value, 0.0f, 1.0f);
  }
  switch (index) {
    case kPreGain: {
      preGain = value;
      const float exponential = std::exp(value);
      loMidFilter.cascade().setPostGain((exponential - 1.0f) * 2.0f);
      noteSilence();
      break;
    }
    case kPostGain:
      postGain = value;
      break;
    case kPreBass:
      setPreBass(value);
      break;
    case kPreset:
      selectDescription(value);
      break;
    default:
      break;
  }
}

void ZrVelkoranGeneric::selectDescription(float value) {
  if (const VstInt32 n = descriptionIndex(value, descriptionNames.size()); n >= 0) loadGraph(n);
}

void ZrVelkoranGeneric::setPreBass(float value) {
  const float share = value * 0.25f;
  IIRCascade& bass = bassFilter.cascade();
  bass.setK(share + 0.375f);
  bass.designFilter(bass.frequency());
  IIRCascade& loMid = loMidFilter.cascade();
  loMid.setK(0.75f - 2.0f * share);
  loMid.designFilter(loMid.frequency());
  preBass = value;
}

float ZrVelkoranGeneric::getUserParameter(VstInt32 index) {
  switch (index) {
    case kPreGain:
      return preGain;
    case kPostGain:
      return postGain;
    case kPreBass:
      return preBass;
    case kPreset:
      return static_cast<float>(presetIndex.load());
    default:
      return 0.0f;
  }
}

void ZrVelkoranGeneric::getUserParameterDisplay(VstInt32 index, char* text) {
  switch (index) {
    case kPreGain:
      formatValue(loMidFilter.cascade().postGain(), text);
      break;
    case kPostGain:
      formatValue(postGain, text);
      break;
    case kPreBass:
      formatValue(loMidFilter.cascade().k(), text);
      break;
    case kPreset: {
      const VstInt32 shown = presetIndex.load();
      const bool listed = shown >= 0 && static_cast<std::size_t>(shown) < descriptionNames.size();
      copyText(text, listed ? descriptionNames[shown].c_str() : "", kPresetDisplayLength + 1);
      break;
    }
    default:
      break;
  }
}

void ZrVelkoranGeneric::getUserParameterName(VstInt32 index, char* text) {
  if (index >= 0 && index <= kPreBass) copyText(text, kParameterNames[index], kVstMaxNameLen);
}

void ZrVelkoranGeneric::forwardToProcessors(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                            float opt) {
  const EngineLock guard(*this);
  void* forwardedPtr = writesText(opcode) ? forwardScratch : ptr;
  if (graph) {
    const float graphOpt =
        tellsSampleRate(opcode) ? opt * static_cast<float>(graph->timing.oversampling) : opt;
    for (AudioNode* node = graph->head.get(); node; node = node->next.get()) {
      node->dispatchToEffect(opcode, index, value, forwardedPtr, graphOpt);
    }
    if (opcode == effMainsChanged && value != 0 && graph->oversampler) graph->oversampler->clear();
  }
  bassFilter.dispatcher(opcode, index, value, forwardedPtr, opt);
  loMidFilter.dispatcher(opcode, index, value, forwardedPtr, opt);
  rememberSampleRate(opcode, opt);
}

// A graph built later must run at the host's rate, not at the default.
void ZrVelkoranGeneric::rememberSampleRate(VstInt32 opcode, float opt) {
  if (tellsSampleRate(opcode)) hostSampleRate.store(opt);
}

bool ZrVelkoranGeneric::loadGraph(VstInt32 n) {
  const std::uint64_t request = ++graphRequests;
  std::unique_ptr<PreparedGraph> prepared = prepareGraph(n);
  if (!prepared) return false;
  // Destroyed here, on this thread: the replaced graph, or this one when a later change won.
  const std::unique_ptr<PreparedGraph> unused = installRequested(std::move(prepared), request);
  return true;
}

// A change asked for earlier than the one playing gives way to it, so the last one asked for
// plays whichever build ends first. A sample rate forwarded while the graph was built has
// reached only the old one: the new one hears it now.
std::unique_ptr<PreparedGraph> ZrVelkoranGeneric::installRequested(std::unique_ptr<PreparedGraph> prepared,
                                                                   std::uint64_t request) {
  const EngineLock guard(*this);
  if (request < installedRequest) return prepared;
  installedRequest = request;
  if (const float rate = hostSampleRate.load(); prepared->sampleRate != rate) tellSampleRate(*prepared, rate);
  return installGraph(std::move(prepared));
}

// The graph's nodes run at the graph's rate.
void ZrVelkoranGeneric::tellSampleRate(PreparedGraph& prepared, float rate) {
  const float graphRate = rate * static_cast<float>(prepared.timing.oversampling);
  for (AudioNode* node = prepared.head.get(); node; node = node->next.get()) {
    node->dispatchToEffect(effSetSampleRate, 0, 0, nullptr, graphRate);
  }
  prepared.sampleRate = rate;
}

std::unique_ptr<PreparedGraph> ZrVelkoranGeneric::prepareGraph(VstInt32 n, VstInt32 lanes) {
  if (n < 0 || static_cast<std::size_t>(n) >= descriptionNames.size()) return nullptr;
  const std::string& name = descriptionNames[n];
  traceLog("loading file:%s\n", name.c_str());
  try {
    DescriptionBuild built = buildDescription(name);
    if (!built.head) return nullptr;
    // With no node after its input a graph writes nothing at the raised rate that the
    // decimator could read: it plays as at factor 1.
    if (!built.head->next) built.timing.oversampling = 1;
    const int factor = built.timing.oversampling;
    if (factor > 1) useAntiderivativeClipping(*built.head);
    // An oversampled graph cannot continue the input filters' series: they run at the host's rate.
    const std::array<WavefrontSeries::Stage, 2> inputFilters = inputFilterStages();
    const RunPlan::InputStages input{factor == 1 ? inputFilters.data() : nullptr, factor == 1 ? 2 : 0};
    RunPlan plan(*built.head, bufferBank, input, lanes);
    auto prepared = std::make_unique<PreparedGraph>(PreparedGraph{
        std::move(built.head), n, std::move(plan), built.timing, 0.0f, nullptr, bufferLength / factor});
    if (factor > 1) prepared->oversampler = std::make_unique<Oversampler>(factor, prepared->chunkFrames);
    tellSampleRate(*prepared, hostSampleRate.load());
    noteGraphBuilt(name);
    traceLog("loaded file:%s\n", name.c_str());
    return prepared;
  } catch (const std::exception& failure) {
    // Memory ran out while reading, parsing or building: the old graph plays on.
    traceLog("can't load %s: %s\n", name.c_str(), failure.what());
    return nullptr;
  }
}

DescriptionBuild ZrVelkoranGeneric::buildDescription(const std::string& name) {
  ArchiveSession session;
  DescriptionBuild built = buildArchiveDescription(name, internalHostCallback);
  if (!built.head) traceLog("%s not loaded: %s\n", name.c_str(), built.refusal.c_str());
  return built;
}

std::unique_ptr<PreparedGraph> ZrVelkoranGeneric::installGraph(std::unique_ptr<PreparedGraph> prepared) {
  const EngineLock guard(*this);
  std::swap(graph, prepared);
  if (graph) presetIndex = graph->presetIndex;
  ++graphSerial;
  followGraphRate();
  if (graph && graph->oversampler) takeOverStream(*graph);
  return prepared;
}

// A graph swapped in mid-stream at the host's rate starts from silence. One at a raised rate
// would add a gap of its own, its samplers rising from silence through their delay, and its
// first milliseconds there stray further from its settled sound than the same graph's at the
// host's rate. It plays what the input filters gave last first, output unheard, so that its
// samplers and its own state go on as if it had run all along. Where the stream was silent it
// starts as a fresh engine's. Bounded work (the kept samples), in place, under the lock.
void ZrVelkoranGeneric::takeOverStream(PreparedGraph& prepared) {
  if (recentInput.silent()) return;
  Oversampler& sampler = *prepared.oversampler;
  recentInput.visit([&](const float* samples, VstInt32 count) {
    for (VstInt32 done = 0; done < count; done += sampler.maxFrames()) {
      const VstInt32 piece = std::min(sampler.maxFrames(), count - done);
      sampler.upsample(samples + done, bufferBank.channel(BufferBank::kGraphInput), piece);
      prepared.plan.run(piece * sampler.factor());
      sampler.downsample(bufferBank.channel(BufferBank::kGraphOutput), hostRateSamples.data(), piece);
    }
  });
}

// The input filters have the response at the rate the graph names, as its own equalisers do,
// whatever the host's rate; without a named rate they are designed at the host's, as always.
// Their designs at the host's rate, and their histories, carry on where that rate is the same.
void ZrVelkoranGeneric::followGraphRate() {
  const TimeScale scale(1, graph ? graph->timing.referenceRate : 0.0f);
  bassFilter.cascade().retime(scale);
  loMidFilter.cascade().retime(scale);
}

// The base of every node of a processing graph.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/AudioEffect.h"
#include "graph/BufferBank.h"
#include "graph/ParamBinding.h"

// A node reads its inputs' buffers and its parameters' sources, and writes its own buffer
// (or offers control values). Nodes are linked into the evaluation chain through next,
// which each node owns; input, input2 and binding sources only refer to other members of
// the same chain. Threads: "audio" operations run on the host's processing thread inside
// the engine's lock and must not allocate, block or do I/O; "build" is the thread that
// builds the graph.
class AudioNode {
 public:
  enum Kind : VstInt32 { kControl = 1, kEffect = 2, kMixer = 3 };
  static constexpr VstInt32 kNoBuffer = -1;

  explicit AudioNode(Kind kind);
  // Releases the rest of the chain node by node, so a long chain does not nest one
  // destructor call per node; then the processor.
  virtual ~AudioNode();
  AudioNode(const AudioNode&) = delete;
  AudioNode& operator=(const AudioNode&) = delete;

  // audio: processes one block; the base does nothing.
  virtual void processBlock(const BufferBank& bank, VstInt32 sampleFrames);
  // audio (and build): parameter index from the first binding that sets it, fallback when
  // none does.
  virtual float getParam(VstInt32 index, float fallback);
  // audio: a control value offered to other nodes' bindings; 0 for the base.
  virtual float getValue(VstInt32 which);
  // audio: forgets the signal carried between blocks; the base clears its
  // processor's (AudioEffect::clearSignalState). Allocates nothing.
  virtual void clearState();

  // The bank entry this node reads: its input's output, or the graph input without one.
  VstInt32 inputEntry() const { return input ? input->outBuf : BufferBank::kGraphInput; }

  // The first binding that sets parameter index, or nullptr.
  const ParamBinding* bindingFor(VstInt32 index) const;

  // host: passes a dispatcher request on to the processor, if there is one; a new sample
  // rate also reaches sampleRateChanged. Always 0.
  VstIntPtr dispatchToEffect(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
  // host, not real-time (also while a graph is prepared): the rate the graph now runs at; the
  // base ignores it. Allocates nothing.
  virtual void sampleRateChanged(float rate);

  std::vector<ParamBinding> params;
  // fx nodes: the processor type code the node was created with; not consulted afterwards.
  VstInt32 fxType = 0;
  std::unique_ptr<AudioEffect> effect;
  const Kind kind;
  // fx nodes: the id they were declared under; empty otherwise.
  std::string name;
  AudioNode* input = nullptr;
  // Bank entry of this node's output; kNoBuffer for none. While a graph is built, 0 also
  // marks a node that has no buffer yet.
  VstInt32 outBuf = 0;
  std::unique_ptr<AudioNode> next;
  // Placed in the evaluation chain (or not to be placed).
  bool ordered = false;
};

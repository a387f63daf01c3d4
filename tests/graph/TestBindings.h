// Parameter bindings as the builder makes them from <param> elements.
#pragma once

#include "graph/AudioNode.h"
#include "graph/ParamBinding.h"

// <param set="set" value="value"/>
inline void bindConstant(AudioNode& node, VstInt32 set, float value) {
  ParamBinding binding;
  binding.set = set;
  binding.value = value;
  node.params.push_back(binding);
}

// <param set="set" node="source" get="get"/>
inline void bindSource(AudioNode& node, VstInt32 set, AudioNode& source, VstInt32 get) {
  ParamBinding binding;
  binding.set = set;
  binding.source = &source;
  binding.get = get;
  node.params.push_back(binding);
}

// torvix-render --list: what a module offers.
#pragma once

#include <ostream>

#include "render/EffectModule.h"

// Prints the effect's names, its inputs, outputs and tail, each parameter
// with its value and display text, and the descriptions it lists.
void listModule(EffectModule& module, std::ostream& out);

#include "graph/GraphState.h"

void clearGraphState(AudioNode& head) {
  for (AudioNode* node = head.next.get(); node; node = node->next.get()) node->clearState();
}

// The interface through which controls report to their owner (the editor).
#pragma once

#include <cstdint>

class CControl;
class CDrawContext;

// GUI thread only.
class CControlListener {
 public:
  virtual ~CControlListener() = default;
  // A control's value has changed; context may be nullptr.
  virtual void controlChanged(CDrawContext* context, CControl* control) = 0;
  // A click with modifier keys is offered here first; nonzero means it was
  // handled and the control does nothing more.
  virtual std::int32_t modifierClicked(CDrawContext* context, CControl* control, std::int32_t buttons) {
    (void)context;
    (void)control;
    (void)buttons;
    return 0;
  }
};

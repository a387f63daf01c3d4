// A view with a value that reports changes to a listener.
#pragma once

#include <cstdint>

#include "gui/CView.h"

class CControlListener;

// The value lies between a minimum (0) and a maximum (1). A control is dirty
// while its dirty flag is set or its value differs from the last drawn one;
// setting the value alone neither notifies nor marks anything.
class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background = nullptr);

  virtual void setValue(float newValue) { value = newValue; }
  virtual float getValue() const { return value; }
  void setMin(float newMin) { minimum = newMin; }
  float getMin() const { return minimum; }
  void setMax(float newMax) { maximum = newMax; }
  float getMax() const { return maximum; }
  void setDefaultValue(float newDefault) { defaultValue = newDefault; }
  float getDefaultValue() const { return defaultValue; }
  void setWheelInc(float increment) { wheelInc = increment; }
  float getWheelInc() const { return wheelInc; }

  std::int32_t getTag() const { return tag; }
  void setListener(CControlListener* newListener) { listener = newListener; }
  CControlListener* getListener() const { return listener; }

  // Clean stores the value as the last drawn one; dirty makes them differ.
  void setDirty(bool state = true) override;
  bool isDirty() const override;

  // The edit bracket: makes this the frame's focus view and tells the
  // frame (and so the editor) that an edit of this tag begins or ends.
  void beginEdit();
  void endEdit();

 protected:
  // Keeps the value within minimum and maximum.
  void bounceValue();
  // Tells the listener, if there is one.
  void notifyChanged(CDrawContext* context);
  // Offers a click with modifier keys to the listener; true when it took it.
  bool listenerTookModifierClick(CDrawContext* context, std::int32_t buttons);

  std::int32_t tag;
  CControlListener* listener;
  float value = 0.0f;
  float oldValue = 1.0f;
  float minimum = 0.0f;
  float maximum = 1.0f;
  float defaultValue = 0.5f;
  float wheelInc = 0.1f;
};

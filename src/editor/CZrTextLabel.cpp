#include "editor/CZrTextLabel.h"

namespace {

const char* const hiddenText = "     ";

}  // namespace

void CZrTextLabel::draw(CDrawContext* context) { drawText(context, shown ? text.c_str() : hiddenText); }

#pragma once

#include <functional>

class QWidget;

namespace vexa {

// Runs `check` each time the cursor leaves `field` for another control of
// its window, whether the text changed or not. The focus that a popup (the
// field's context menu) or another window (a message box, another program)
// takes is no departure: the cursor comes back to the field.
void CheckOnLeave(QWidget* field, std::function<void()> check);

}  // namespace vexa

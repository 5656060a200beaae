#pragma once
// A press on one of the overview's thumbnails: the left button goes to that desktop, the right one
// locks it, or changes or removes its password.
#include "engine/Form1.h"

namespace velt {

// Button: 1 left, 2 right; other buttons do nothing. While the password prompt is open nothing
// happens: a switch or a second prompt must not run inside the one waiting for an answer.
void DexIcon_MouseDown(Form1& form, Form1View& view, int Index, int Button);

} // namespace velt

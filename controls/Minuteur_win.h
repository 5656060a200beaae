#pragma once
// The running system's thread timers, for Minuteur objects and whatever else fades or polls.
#include "controls/Minuteur.h"

namespace velt {

TimerPlatform& SystemTimers();

} // namespace velt

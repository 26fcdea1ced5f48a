#pragma once
// The system's millisecond tick counter and sleep.

#include <memory>

#include "platform/clock.h"

namespace platform {

std::unique_ptr<Clock> CreateNativeClock();

}  // namespace platform

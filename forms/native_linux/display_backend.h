#pragma once
// The windowed backend, where this build has one.

#include <memory>

#include "forms/backend.h"
#include "platform/clock.h"

// Null when this build has no windowed backend.
std::unique_ptr<forms::Backend> CreateDisplayBackend(platform::Clock& clock);

#pragma once
// The system services of the platform being built (see
// posix/system_services_posix.h for how Linux stands in for Windows).

#include <memory>

#include "platform/system_services.h"

namespace platform {

std::unique_ptr<SystemServices> CreateNativeSystemServices();

}  // namespace platform

#pragma once
// The real serial ports of the platform being built: the Win32 API on
// Windows, termios on Linux (COM numbers named as posix/com_names.h says).

#include <memory>

#include "platform/serial_api.h"

namespace platform {

std::unique_ptr<SerialApi> CreateNativeSerial();

}  // namespace platform

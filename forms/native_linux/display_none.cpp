#include "forms/native_linux/display_backend.h"

std::unique_ptr<forms::Backend> CreateDisplayBackend(platform::Clock& /*clock*/) {
  return nullptr;
}

#include "forms/gtk/gtk_backend.h"
#include "forms/native_linux/display_backend.h"

std::unique_ptr<forms::Backend> CreateDisplayBackend(platform::Clock& clock) {
  return forms::CreateGtkBackend(clock);
}

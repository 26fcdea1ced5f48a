#pragma once
// Everything a headless wizard runs on: virtual time shared by the user
// interface and the simulated serial ports, an in-memory port map, fake
// system services, the headless backend and the application object.
// Start() creates both forms as start-up does (FormMj, FormAPropos).

#include "about/Boiteapropos.h"
#include "forms/application.h"
#include "forms/headless/headless_backend.h"
#include "platform/memory_port_map.h"
#include "platform/services.h"
#include "platform/virtual_clock.h"
#include "simulator/simulated_serial.h"
#include "tests/support/fake_system_services.h"
#include "wizard/Tformmj.h"

namespace kst_test {

struct HeadlessWizard {
  platform::VirtualClock clock;
  sim::SimulatedSerial serial{clock};
  platform::MemoryPortMap port_map;
  FakeSystemServices system;
  platform::Services services{serial, clock, port_map, system};
  forms::HeadlessBackend backend{clock};
  forms::Application app{backend};

  // Both forms, the wizard first; returns the wizard.
  TFormMj& Start() {
    app.CreateForm(FormMj, services);
    app.CreateForm(FormAPropos, services.system);
    FormMj->Show();
    return *FormMj;
  }
};

}  // namespace kst_test

#include "app/run_program.h"

#include <exception>

#include "about/Boiteapropos.h"
#include "app/read_language_setting.h"
#include "forms/application.h"
#include "wizard/Tformmj.h"

int RunProgram(forms::Backend& backend, platform::Services& services, std::int32_t language) {
  forms::Application application(backend);
  try {
    application.SetTitle(kApplicationTitle);
    application.CreateForm(FormMj, services);
    application.CreateForm(FormAPropos, services.system);
    FormMj->SetLanguage(ReadLanguageSetting(services.system));
    FormMj->SetLanguage(language);
    application.Run();
  } catch (const std::exception& error) {
    application.ShowException(error.what());
  } catch (...) {
    application.ShowException("");
  }
  return 0;
}

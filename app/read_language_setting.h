#pragma once
// The language index kept by the maker's sibling software in its settings
// file, "<Windows directory>\ZerbiumV1.CFG", as "Langue=<index>;".

#include "platform/system_services.h"

// 0 French, 1 English as stored; 0 when there is no file or no usable value.
// Other integers are returned as found (the wizard ignores them). Throws
// platform::FileOpenError when the file exists but cannot be opened.
int ReadLanguageSetting(platform::SystemServices& system);

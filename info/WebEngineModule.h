#pragma once

#include "info/WebEngineApi.h"

#include <QString>

// The web engine's module, loaded at the first web page: a start that shows no
// page never maps Qt WebEngine's libraries (about 50 ms and 27 MiB here).
namespace WebEngineModule {

// The module's functions, loading it on the first call; null when it cannot be
// loaded, with the reason in *error.
const WebEngineApi::Functions *functions(QString *error);

} // namespace WebEngineModule

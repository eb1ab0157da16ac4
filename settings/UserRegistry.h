#pragma once

#include "settings/RegistryStore.h"

#include <QString>

#include <memory>

// The store that the window placement is kept in, chosen for the platform.
namespace UserRegistry {

// The registry on Windows, elsewhere the file at defaultFilePath(). When
// VERBARIUM_REGISTRY_FILE names a file, that file on every platform, so that tests
// never touch the user's own store.
std::unique_ptr<RegistryStore> open();
// $XDG_CONFIG_HOME/verbarium-pro/registry.ini
QString defaultFilePath();

} // namespace UserRegistry

// The window placement store: any bytes as the store file, read through the
// registry-like file and the INI form, as a window restore reads them.

#include "FuzzFiles.h"

#include "common/AppError.h"
#include "settings/RegistryFile.h"
#include "settings/WindowPlacement.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = FuzzFiles::write(QStringLiteral("store.ini"), input);
    const WindowPlacement::Options everything{WindowPlacement::Attributes::fromBits(0x1F), QStringLiteral("1"), true};
    const QString key = QStringLiteral("\\software\\Verbarium Pro\\Form1");
    try {
        RegistryFile store(path);
        if (const auto stored = WindowPlacement::readRegistry(store, RegistryStore::Root::CurrentUser, key, everything)) {
            WindowPlacement::restoredSize(QSize(800, 600), *stored);
            WindowPlacement::restoredPosition(*stored, QSize(1920, 1080), QSize(800, 600));
        }
    } catch (const AppError &) {
        // a value of the wrong type
    }
    if (const auto stored = WindowPlacement::readIniFile(path, QStringLiteral("Form1"), everything)) {
        WindowPlacement::restoredSize(QSize(800, 600), *stored);
        WindowPlacement::restoredPosition(*stored, QSize(1920, 1080), QSize(800, 600));
    }
    return 0;
}

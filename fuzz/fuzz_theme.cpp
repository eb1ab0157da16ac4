// The theme loader: any bytes as a theme's data.

#include "common/AppError.h"
#include "settings/Theme.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        Theme::fromJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const AppError &) {
    }
    return 0;
}

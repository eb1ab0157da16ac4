#include "info/WebEngineModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace WebEngineModule {

const WebEngineApi::Functions *functions(QString *error)
{
    static const WebEngineApi::Functions *loaded = nullptr;
    static QString failure;
    if (loaded || !failure.isEmpty()) {
        if (!loaded && error)
            *error = failure;
        return loaded;
    }
    // Beside the program as installed (<prefix>/bin and <prefix>/<libdir>/verbarium-pro),
    // which a build folder copies, then where it is installed.
    const QStringList folders = {
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(VERBARIUM_WEB_MODULE_RELATIVE_DIR)),
        QStringLiteral(VERBARIUM_WEB_MODULE_INSTALL_DIR)};
    QStringList reasons;
    for (const QString &folder : folders) {
        QLibrary library(QDir(folder).filePath(QStringLiteral("libverbarium-web")));
        using Entry = const WebEngineApi::Functions *(*)();
        const auto entry = reinterpret_cast<Entry>(library.resolve(WebEngineApi::EntryPoint));
        if (!entry) {
            reasons.append(library.errorString());
            continue;
        }
        const WebEngineApi::Functions *found = entry();
        if (found && found->version == WebEngineApi::Version) {
            loaded = found; // stays loaded: the library is never unloaded
            return loaded;
        }
        reasons.append(QStringLiteral("%1 is of another version of the program").arg(library.fileName()));
    }
    failure = reasons.join(QStringLiteral("; "));
    if (error)
        *error = failure;
    return nullptr;
}

} // namespace WebEngineModule

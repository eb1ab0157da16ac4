#include "info/SiteAddress.h"

#include "Version.h"

namespace SiteAddress {

namespace {
QString &overridden()
{
    static QString value;
    return value;
}
} // namespace

QString baseUrl()
{
    return overridden().isEmpty() ? QString::fromUtf8(Version::SiteBaseUrl) : overridden();
}

QString page(const QString &path)
{
    return baseUrl() + path;
}

void setBaseUrlForTesting(const QString &url)
{
    overridden() = url;
}

} // namespace SiteAddress

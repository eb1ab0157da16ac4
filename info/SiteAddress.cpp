#include "info/SiteAddress.h"

#include "Version.h"

#include <QUrl>

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

bool isReservedNeverResolving(const QUrl &address)
{
    QString host = address.host().toLower();
    if (host.endsWith(u'.'))
        host.chop(1); // the root of the name tree, as in "example."
    if (host.isEmpty())
        return false;
    // The reserved name itself or any name under it.
    const auto under = [&host](QStringView reserved) {
        return host == reserved || (host.endsWith(reserved) && host.at(host.size() - reserved.size() - 1) == u'.');
    };
    for (const QStringView reserved : {u"example", u"invalid", u"test", u"example.com", u"example.net", u"example.org"}) {
        if (under(reserved))
            return true;
    }
    return false;
}

bool pagesCanLoad()
{
    return !isReservedNeverResolving(QUrl(baseUrl()));
}

void setBaseUrlForTesting(const QString &url)
{
    overridden() = url;
}

} // namespace SiteAddress

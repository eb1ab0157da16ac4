#include "info/LinkOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
std::unique_ptr<LinkOpener> &current()
{
    static std::unique_ptr<LinkOpener> opener;
    return opener;
}
} // namespace

bool LinkOpener::isWebAddress(const QString &address)
{
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == u"http" || scheme == u"https");
}

bool LinkOpener::openLink(const QString &address)
{
    if (!isWebAddress(address))
        return false;
    open(address);
    return true;
}

LinkOpener &LinkOpener::instance()
{
    if (!current())
        current() = std::make_unique<DesktopLinkOpener>();
    return *current();
}

void LinkOpener::setInstance(std::unique_ptr<LinkOpener> opener)
{
    current() = std::move(opener);
}

void DesktopLinkOpener::open(const QString &address)
{
    // Read as isWebAddress read it: a web page gives its links decoded ("a%20b" as
    // "a b"), which a strict reading refuses, and the link would open nothing. The
    // browser reports its own failures; there is nothing for us to add.
    QDesktopServices::openUrl(QUrl(address));
}

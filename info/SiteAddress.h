#pragma once

#include <QString>

class QUrl;

// Every web address of the program is the site's base address followed by a fixed path.
namespace SiteAddress {

// The base address set at build time (VERBARIUM_SITE_BASE_URL).
QString baseUrl();
QString page(const QString &path);

// Whether the address's host is under a name reserved never to resolve (the
// top-level names "example", "invalid" and "test", and example.com, .net and
// .org): no page there can ever be shown, so no web engine need start for it.
bool isReservedNeverResolving(const QUrl &address);
// Whether the site's pages can ever be shown: the base address is not reserved.
bool pagesCanLoad();

// Tests serve the pages themselves; an empty value goes back to the built-in one.
void setBaseUrlForTesting(const QString &baseUrl);

inline constexpr char InfoPage[] = "/FAQ/index.html";
inline constexpr char MainHelpPage[] = "/FAQ/mainhelp.html";
inline constexpr char MainAboutPage[] = "/FAQ/mainabout.html";
inline constexpr char MainContactPage[] = "/FAQ/maincontact.html";
inline constexpr char MainSettingsPage[] = "/FAQ/mainsettings.html";
inline constexpr char HelpPage[] = "/FAQ/help.html";
inline constexpr char AboutPage[] = "/FAQ/about.html";
inline constexpr char ContactPage[] = "/FAQ/contact.html";

} // namespace SiteAddress

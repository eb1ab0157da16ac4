#pragma once

#include <QString>

#include <memory>

// Opens web addresses in the user's default browser. Only http and https
// addresses are ever handed over; anything else is refused.
class LinkOpener
{
public:
    virtual ~LinkOpener() = default;

    // Opens the address when it is http or https; returns whether it was handed over.
    bool openLink(const QString &address);

    static bool isWebAddress(const QString &address);

    static LinkOpener &instance();
    static void setInstance(std::unique_ptr<LinkOpener> opener);

protected:
    virtual void open(const QString &address) = 0;
};

class DesktopLinkOpener : public LinkOpener
{
protected:
    void open(const QString &address) override;
};

#pragma once

// Stand-ins for the network, the default browser and the message boxes, so that
// widget tests stay on this machine and can see what the program did.

#include "widgets/Dialogs.h"
#include "info/Connectivity.h"
#include "info/LinkOpener.h"
#include "info/SiteAddress.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace GuiTestDoubles {

// Windows built by the tests save their placement and Settings file when they go:
// never into the user's own files, also when a test runs outside ctest. As under
// ctest, no placement carries over from one test window to the next: a window
// one test left at another width would come back at it in the next.
inline const struct StoredSettingsAside {
    StoredSettingsAside()
    {
        static QTemporaryDir folder;
        if (qEnvironmentVariableIsEmpty("VERBARIUM_REGISTRY_FILE"))
            qputenv("VERBARIUM_REGISTRY_FILE", "/dev/null/registry.ini");
        if (qEnvironmentVariableIsEmpty("VERBARIUM_SETTINGS_FILE"))
            qputenv("VERBARIUM_SETTINGS_FILE", folder.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    }
} storedSettingsAside;

// The network as the program sees it: offline unless the test switches it,
// every question counted.
class StubConnectivity : public Connectivity
{
public:
    struct Network {
        bool online = false;
        int asks = 0;
    };
    // Shared: the program owns the stub, the test keeps switching and counting.
    std::shared_ptr<Network> network = std::make_shared<Network>();

    bool isOnline() override
    {
        ++network->asks;
        return network->online;
    }
};

// Puts a stub in for the program to ask; returns its switch and counter.
inline std::shared_ptr<StubConnectivity::Network> installStubConnectivity()
{
    auto stub = std::make_unique<StubConnectivity>();
    std::shared_ptr<StubConnectivity::Network> network = stub->network;
    Connectivity::setInstance(std::move(stub));
    return network;
}

// Notes the addresses instead of starting a browser.
class RecordingLinkOpener : public LinkOpener
{
public:
    std::shared_ptr<QStringList> opened = std::make_shared<QStringList>();

protected:
    void open(const QString &address) override { opened->append(address); }
};

// Puts a recorder in for the program's links; returns the addresses it gets.
inline std::shared_ptr<QStringList> installRecordingLinkOpener()
{
    auto opener = std::make_unique<RecordingLinkOpener>();
    std::shared_ptr<QStringList> opened = opener->opened;
    LinkOpener::setInstance(std::move(opener));
    return opened;
}

// A message the program would have shown in a box.
struct Message {
    Dialogs::MessageKind kind;
    QString text;
    bool operator==(const Message &) const = default;
};

// Messages go into the list instead of on screen; the list must outlive the recorder.
inline void recordMessagesInto(QList<Message> &messages)
{
    Dialogs::setMessageRecorder([&messages](Dialogs::MessageKind kind, const QString &text) {
        messages.append({kind, text});
    });
}

// Nothing listens there: the main window's pages never leave the machine.
inline void keepPagesOnThisMachine()
{
    SiteAddress::setBaseUrlForTesting(QStringLiteral("http://127.0.0.1:9"));
}

} // namespace GuiTestDoubles

#pragma once

#include <future>
#include <memory>

// Whether the machine has a usable network connection, asked afresh every time.
class Connectivity
{
public:
    virtual ~Connectivity() = default;
    virtual bool isOnline() = 0;
    // Called as the main window starts to be built: what the first answer needs can
    // get ready meanwhile.
    virtual void prepare() {}

    // The one the program asks; tests put in their own.
    static Connectivity &instance();
    static void setInstance(std::unique_ptr<Connectivity> connectivity);
};

// Whether the machine reports a network connection, asked afresh at every call.
bool CheckInternetConnection();

// The system's answer: NetworkManager's reachability where Qt's backend for it
// loads, else a network interface that is up, not loopback, and has a route.
class SystemConnectivity : public Connectivity
{
public:
    ~SystemConnectivity() override;
    bool isOnline() override;
    // Reads Qt's reachability backends into memory on another thread: loading
    // them takes a few milliseconds, which the first question then need not wait for.
    void prepare() override;
    static bool hasRoutedInterface();

private:
    bool m_preparing = false; // once is enough: the backends stay loaded
    std::future<void> m_prepared;
};

#pragma once

#include <memory>

// Whether the machine has a usable network connection, asked afresh every time.
class Connectivity
{
public:
    virtual ~Connectivity() = default;
    virtual bool isOnline() = 0;

    // The one the program asks; tests put in their own.
    static Connectivity &instance();
    static void setInstance(std::unique_ptr<Connectivity> connectivity);
};

// The system's answer: NetworkManager's reachability where Qt's backend for it
// loads, else a network interface that is up, not loopback, and has a route.
class SystemConnectivity : public Connectivity
{
public:
    bool isOnline() override;
    static bool hasRoutedInterface();
};

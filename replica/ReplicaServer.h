#pragma once

#include "replica/ReplicaContext.h"

#include <httplib.h>

#include <atomic>
#include <string>

namespace mirel::replica {

struct ReplicaOptions
{
    bool relayBusy = false; // the Baidu relay answers with its busy page
    bool logRequests = false;
};

// One loopback HTTP server that answers every outside address of the program by path
// and method. Listens on 127.0.0.1 only.
class ReplicaServer
{
public:
    explicit ReplicaServer(ReplicaOptions options = {});
    ReplicaServer(const ReplicaServer &) = delete;
    ReplicaServer &operator=(const ReplicaServer &) = delete;

    // Binds 127.0.0.1:port, any free port for 0. Returns the port, or -1 on failure.
    int bind(int port);
    // Serves until stop() is called; returns false when not bound.
    bool serve();
    // Ends serve(), from any thread, also one that calls before serve() has begun.
    void stop();
    bool isRunning() const { return m_server.is_running(); }

    int port() const { return m_port; }
    const std::string &baseAddress() const { return m_ctx.base; }

private:
    ReplicaOptions m_options;
    ReplicaContext m_ctx;
    httplib::Server m_server;
    int m_port = -1;
    std::atomic<bool> m_serving = false;
    std::atomic<bool> m_stopRequested = false;
};

} // namespace mirel::replica

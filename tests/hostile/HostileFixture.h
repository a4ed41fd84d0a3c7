// A client and a scripted loopback peer that misbehaves; after each case the same client
// must still fetch a page.
#pragma once

#include "net/HttpClient.h"
#include "util/Errors.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <functional>

namespace mirel::test {

inline const QByteArray kOk = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

class HostilePeer : public testing::Test
{
protected:
    HostilePeer()
    {
        client.ConnectTimeoutMs = 2000;
        client.ReadTimeoutMs = 2000;
    }

    // The next request on the same client works (once the peer is done misbehaving).
    void TearDown() override
    {
        client.ReadTimeoutMs = 5000;
        server.reply(kOk);
        EXPECT_EQ(client.Get(server.baseUrl() + "/next"), "ok");
    }

    QByteArray url(const QByteArray &path = "/") const { return server.baseUrl() + path; }

    ScriptedServer server;
    THttpClient client;
};

// What a call raised: the error's message, or "<no error>".
struct Outcome
{
    QString message;
    double seconds = 0;
};

inline Outcome run(const std::function<void()> &call)
{
    const auto start = std::chrono::steady_clock::now();
    Outcome out{QStringLiteral("<no error>")};
    try {
        call();
    } catch (const Exception &e) {
        out.message = e.message();
    }
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return out;
}

// The process's peak resident size so far, in MiB.
inline long peakRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace mirel::test

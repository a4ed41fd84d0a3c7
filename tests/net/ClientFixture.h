#pragma once

#include "net/HttpClient.h"

#include "ScriptedServer.h"

#include <gtest/gtest.h>

namespace mirel::test {

// A client and the scripted loopback server it talks to, with time-limits short enough
// for a test.
class ClientFixture : public testing::Test
{
protected:
    ClientFixture()
    {
        client.ConnectTimeoutMs = 5000;
        client.ReadTimeoutMs = 5000;
    }
    QByteArray url(const QByteArray &path) const { return server.baseUrl() + path; }

    ScriptedServer server;
    THttpClient client;
};

} // namespace mirel::test

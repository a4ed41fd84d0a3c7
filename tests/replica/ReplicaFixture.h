#pragma once

#include "replica/ReplicaServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

// A replica on a free loopback port, served from a thread of the test.
class ReplicaFixture : public ::testing::Test
{
protected:
    void SetUp() override { start({}); }
    void TearDown() override { shutDown(); }

    void start(mirel::replica::ReplicaOptions options);
    void shutDown();

    httplib::Result get(const std::string &target, const httplib::Headers &headers = {}) const;
    httplib::Result
    post(const std::string &path, const std::string &body, const httplib::Headers &headers = {},
         const std::string &contentType = "application/x-www-form-urlencoded") const;

    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    int port() const { return m_port; }

private:
    std::unique_ptr<mirel::replica::ReplicaServer> m_server;
    std::thread m_thread;
    int m_port = -1;
};

// Percent-encodes a form value the way the program does: bytes 0x21 to 0x7F stay, except
// * # % < > [ ] & = +; everything else becomes %XX.
std::string formValue(std::string_view bytes);

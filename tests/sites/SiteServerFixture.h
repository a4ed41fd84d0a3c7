#pragma once

#include "sites/server/SiteServer.h"
#include "translation/EngineRequest.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

// A local site server on a free loopback port, served from a thread of the test.
class SiteServerFixture : public ::testing::Test
{
protected:
    void SetUp() override { start({}); }
    void TearDown() override { shutDown(); }

    // Waits (up to 5 s) for the services' lists, unless told not to.
    void start(mirel::siteserver::SiteOptions options, bool waitForLists = true);
    void shutDown();

    httplib::Result get(const std::string &target, const httplib::Headers &headers = {}) const;
    httplib::Result
    post(const std::string &path, const std::string &body, const httplib::Headers &headers = {},
         const std::string &contentType = "application/x-www-form-urlencoded") const;

    // Posts an engine request of the program: its fields encoded as the program encodes
    // them, its Referer and Content-Type.
    httplib::Result sendAsProgram(const mirel::EngineRequest &request) const;

    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    int port() const { return m_port; }
    const mirel::siteserver::TranslationGateway &gateway() const { return *m_server->gateway(); }

private:
    std::unique_ptr<mirel::siteserver::SiteServer> m_server;
    std::thread m_thread;
    int m_port = -1;
};

// Percent-encodes a form value the way the program does: bytes 0x21 to 0x7F stay, except
// * # % < > [ ] & = +; everything else becomes %XX.
std::string formValue(std::string_view bytes);

// Turns off the keyless online services that a test leaves unset: no test text leaves the
// machine, and a test has only the services it sets up.
void keepKeylessLocal(mirel::siteserver::SitesSettings &settings);

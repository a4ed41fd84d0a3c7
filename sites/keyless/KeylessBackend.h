#pragma once

#include "sites/gateway/TranslationBackend.h"
#include "sites/gateway/WarmConnection.h"
#include "sites/http/RequestPacer.h"
#include "sites/http/ServiceEndpoint.h"

#include <optional>
#include <string>
#include <string_view>

namespace mirel::siteserver {

// What the keyless services share: their name, connections to the endpoint, the piece
// limit and the pacer; each adds its pairs and its request and answer.
class KeylessBackend : public TranslationBackend
{
public:
    std::string name() const override { return std::string(m_name); }
    std::optional<Translation> warm(Clock::time_point deadline) const override
    {
        return warmConnection(m_connections, m_name, deadline);
    }
    void stop() override { m_connections.close(); }

protected:
    KeylessBackend(std::string_view name, ServiceEndpoint endpoint, size_t pieceLimit,
                   std::chrono::milliseconds pace)
        : m_connections(std::move(endpoint.service)), m_path(std::move(endpoint.path)),
          m_pieceLimit(pieceLimit), m_pacer(pace), m_name(name)
    {
    }

    HttpConnections m_connections;
    const std::string m_path;
    const size_t m_pieceLimit;
    mutable RequestPacer m_pacer;

private:
    std::string_view m_name; // a literal
};

} // namespace mirel::siteserver

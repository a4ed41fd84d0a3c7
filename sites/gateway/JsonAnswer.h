#pragma once

#include "sites/gateway/Translation.h"
#include "sites/http/BoundedHttp.h"

#include <QJsonDocument>

#include <optional>

namespace mirel::siteserver {

// The JSON document of a backend's answer, or the failure to report: an answer that
// did not come is 503, one that came malformed is 502.
struct JsonAnswer
{
    std::optional<QJsonDocument> document;
    std::optional<Translation> failure;
};

JsonAnswer readJsonAnswer(const HttpReply &reply, std::string_view backend);

} // namespace mirel::siteserver

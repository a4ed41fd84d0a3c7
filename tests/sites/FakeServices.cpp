#include "FakeServices.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <chrono>

namespace {

std::string jsonString(const std::string &text)
{
    const QJsonObject wrapper{{QStringLiteral("t"), QString::fromStdString(text)}};
    const std::string doc = QJsonDocument(wrapper).toJson(QJsonDocument::Compact).toStdString();
    return doc.substr(5, doc.size() - 6); // {"t":…}
}

} // namespace

FakeService::FakeService(Kind kind, std::string languageList) : m_kind(kind)
{
    const std::string listPath = kind == Kind::Apy ? "/listPairs" : "/languages";
    m_server.Get(listPath, [this, list = std::move(languageList)](const httplib::Request &,
                                                                  httplib::Response &res) {
        const std::lock_guard lock(m_mutex);
        if (!m_listReady)
            res.status = 503;
        else
            res.set_content(list, "application/json");
    });
    m_server.Post("/translate", [this](const httplib::Request &req, httplib::Response &res) {
        translate(req, res);
    });
    // A kept connection holds a worker (and the stop) for this long when idle.
    m_server.set_keep_alive_timeout(1);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
}

FakeService::~FakeService()
{
    m_server.stop();
    m_thread.join();
}

void FakeService::answer(std::string text, FakeMode mode)
{
    const std::lock_guard lock(m_mutex);
    m_text = std::move(text);
    m_mode = mode;
}

void FakeService::failPair(std::string langpair)
{
    const std::lock_guard lock(m_mutex);
    m_failingPair = std::move(langpair);
}

void FakeService::listReady(bool ready)
{
    const std::lock_guard lock(m_mutex);
    m_listReady = ready;
}

std::vector<httplib::Params> FakeService::translations() const
{
    const std::lock_guard lock(m_mutex);
    return m_seen;
}

void FakeService::translate(const httplib::Request &req, httplib::Response &res)
{
    httplib::Params fields = req.params;
    if (m_kind == Kind::LibreTranslate) {
        const QJsonObject body =
            QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
        for (auto it = body.begin(); it != body.end(); ++it)
            fields.emplace(it.key().toStdString(), it.value().toString().toStdString());
    }
    std::string text;
    FakeMode mode;
    {
        const std::lock_guard lock(m_mutex);
        m_seen.push_back(fields);
        text = m_text;
        mode = m_mode;
        if (!m_failingPair.empty() && req.get_param_value("langpair") == m_failingPair) {
            res.status = 503;
            return res.set_content(R"({"status": "error", "code": 503, "message": )"
                                   R"("Service Unavailable", "explanation": "internal error"})",
                                   "application/json");
        }
    }
    const std::string body = m_kind == Kind::Apy
                                 ? R"({"responseData": {"translatedText": )" + jsonString(text) +
                                       R"(}, "responseDetails": null, "responseStatus": 200})"
                                 : R"({"translatedText": )" + jsonString(text) + "}";
    switch (mode) {
    case FakeMode::Normal:
        return res.set_content(body, "application/json");
    case FakeMode::ServerError:
        res.status = 500;
        return res.set_content("<html>Internal Server Error</html>", "text/html");
    case FakeMode::MalformedJson:
        return res.set_content("{\"responseData\": {\"translatedText\": ", "application/json");
    case FakeMode::Oversized:
        return res.set_content(std::string(5 * 1024 * 1024, ' ') + body, "application/json");
    case FakeMode::Slow:
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        return res.set_content(body, "application/json");
    case FakeMode::Trickle:
        res.set_chunked_content_provider(
            "application/json", [body](size_t offset, httplib::DataSink &sink) {
                if (offset >= body.size()) {
                    sink.done();
                    return true;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return sink.write(body.data() + offset, 1);
            });
        return;
    }
}

std::string apyPairList(const std::vector<std::pair<std::string, std::string>> &pairs)
{
    std::string list = R"({"responseData": [)";
    for (size_t i = 0; i < pairs.size(); ++i)
        list += (i ? ", " : "") + std::string(R"({"sourceLanguage": ")") + pairs[i].first +
                R"(", "targetLanguage": ")" + pairs[i].second + "\"}";
    return list + R"(], "responseDetails": null, "responseStatus": 200})";
}

std::string
libreLanguages(const std::vector<std::pair<std::string, std::vector<std::string>>> &list)
{
    std::string json = "[";
    for (size_t i = 0; i < list.size(); ++i) {
        json += (i ? ", " : "") + std::string(R"({"code": ")") + list[i].first +
                R"(", "name": "x", "targets": [)";
        for (size_t t = 0; t < list[i].second.size(); ++t)
            json += (t ? ", \"" : "\"") + list[i].second[t] + "\"";
        json += "]}";
    }
    return json + "]";
}

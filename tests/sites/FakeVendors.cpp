#include "FakeVendors.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace {

std::string field(const httplib::Params &fields, const std::string &name)
{
    const auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

std::string hexHash(const std::string &text, QCryptographicHash::Algorithm algorithm)
{
    return QCryptographicHash::hash(QByteArray::fromStdString(text), algorithm)
        .toHex()
        .toStdString();
}

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

std::string json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

// Youdao's signature input as its documentation writes it: q when at most 20 characters,
// else its first 10, its length and its last 10.
std::string youdaoInput(const std::string &text)
{
    const QString s = q(text);
    if (s.size() <= 20)
        return text;
    return (s.left(10) + QString::number(s.size()) + s.right(10)).toStdString();
}

} // namespace

FakeVendor::FakeVendor(Kind kind, std::string id, std::string secret)
    : m_kind(kind), m_id(std::move(id)), m_secret(std::move(secret)),
      m_translate([](const std::string &text) { return "<" + text + ">"; })
{
    const char *path = kind == Kind::Baidu    ? "/api/trans/vip/translate"
                       : kind == Kind::Youdao ? "/api"
                                              : "/language/translate/v2";
    m_server.Post(
        path, [this](const httplib::Request &req, httplib::Response &res) { handle(req, res); });
    m_server.set_keep_alive_timeout(1);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // The server only stops once it listens: a test that asks nothing must still end.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_server.is_running() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FakeVendor::~FakeVendor()
{
    m_server.stop();
    m_thread.join();
}

std::string FakeVendor::address() const
{
    const char *path = m_kind == Kind::Baidu    ? "/api/trans/vip/translate"
                       : m_kind == Kind::Youdao ? "/api"
                                                : "/language/translate/v2";
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void FakeVendor::translateWith(Translate translate)
{
    const std::lock_guard lock(m_mutex);
    m_translate = std::move(translate);
}

void FakeVendor::refuse(std::string code, int times)
{
    const std::lock_guard lock(m_mutex);
    m_refusal = std::move(code);
    m_refusals = times;
}

std::vector<FakeVendor::Request> FakeVendor::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void FakeVendor::handle(const httplib::Request &req, httplib::Response &res)
{
    httplib::Params fields = req.params; // the form body and the query
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back({fields, std::chrono::steady_clock::now()});
    }
    int status = 200;
    const std::string body = answer(fields, status);
    res.status = status;
    res.set_content(body, "application/json; charset=utf-8");
}

std::string FakeVendor::answer(const httplib::Params &fields, int &status) const
{
    Translate translate;
    std::string refusal;
    {
        const std::lock_guard lock(m_mutex);
        translate = m_translate;
        refusal = m_refusal;
        if (m_refusals > 0 && --m_refusals == 0)
            m_refusal.clear();
    }
    const std::string text = field(fields, "q");
    switch (m_kind) {
    case Kind::Baidu: {
        const auto error = [](const char *code, const char *message) {
            return json({{"error_code", code}, {"error_msg", message}});
        };
        if (field(fields, "appid") != m_id)
            return error("52003", "UNAUTHORIZED USER");
        const std::string sign =
            hexHash(m_id + text + field(fields, "salt") + m_secret, QCryptographicHash::Md5);
        if (field(fields, "sign") != sign)
            return error("54001", "Invalid Sign");
        if (!refusal.empty())
            return error(refusal.c_str(), "refused");
        // One result per line; empty lines give none.
        QJsonArray results;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            if (!line.empty())
                results.append(QJsonObject{{"src", q(line)}, {"dst", q(translate(line))}});
            start = end + 1;
        }
        return json({{"from", q(field(fields, "from"))},
                     {"to", q(field(fields, "to"))},
                     {"trans_result", results}});
    }
    case Kind::Youdao: {
        const auto error = [](const char *code) { return json({{"errorCode", code}}); };
        if (field(fields, "appKey") != m_id)
            return error("108");
        if (field(fields, "signType") != "v3" || field(fields, "curtime").empty())
            return error("101");
        const std::string sign = hexHash(m_id + youdaoInput(text) + field(fields, "salt") +
                                             field(fields, "curtime") + m_secret,
                                         QCryptographicHash::Sha256);
        if (field(fields, "sign") != sign)
            return error("202");
        if (!refusal.empty())
            return error(refusal.c_str());
        return json({{"errorCode", "0"},
                     {"query", q(text)},
                     {"translation", QJsonArray{q(translate(text))}},
                     {"l", q(field(fields, "from") + "2" + field(fields, "to"))}});
    }
    case Kind::Google: {
        const auto error = [&status](int code, const std::string &message) {
            status = code;
            return json({{"error", QJsonObject{{"code", code}, {"message", q(message)}}}});
        };
        if (field(fields, "key") != m_secret)
            return error(400, "API key not valid. Please pass a valid API key.");
        if (field(fields, "format") != "text" || field(fields, "target").empty())
            return error(400, "Invalid Value");
        if (!refusal.empty())
            return error(std::stoi(refusal), "Quota exceeded for key " + m_secret);
        return json(
            {{"data",
              QJsonObject{{"translations",
                           QJsonArray{QJsonObject{{"translatedText", q(translate(text))}}}}}}});
    }
    }
    return {};
}

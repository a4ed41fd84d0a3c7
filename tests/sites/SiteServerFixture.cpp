#include "SiteServerFixture.h"

void SiteServerFixture::start(mirel::siteserver::SiteOptions options, bool waitForLists)
{
    shutDown();
    keepKeylessLocal(options.services);
    m_server = std::make_unique<mirel::siteserver::SiteServer>(options);
    // The services' lists are read in the background; most tests want them read.
    if (waitForLists)
        m_server->gateway()->waitListsKnown(mirel::siteserver::Clock::now() +
                                           std::chrono::seconds(5));
    m_port = m_server->bind(0);
    ASSERT_GT(m_port, 0);
    m_thread = std::thread([server = m_server.get()] { server->serve(); });
}

void SiteServerFixture::shutDown()
{
    if (!m_server)
        return;
    m_server->stop();
    m_thread.join();
    m_server.reset();
}

httplib::Result SiteServerFixture::get(const std::string &target,
                                       const httplib::Headers &headers) const
{
    httplib::Client client("127.0.0.1", m_port);
    client.set_url_encode(false); // the program sends the address byte for byte
    return client.Get(target, headers);
}

httplib::Result SiteServerFixture::post(const std::string &path, const std::string &body,
                                        const httplib::Headers &headers,
                                        const std::string &contentType) const
{
    httplib::Client client("127.0.0.1", m_port);
    client.set_url_encode(false);
    client.set_read_timeout(30, 0); // above the 20 s a translation may take
    return client.Post(path, headers, body, contentType);
}

httplib::Result SiteServerFixture::sendAsProgram(const mirel::EngineRequest &request) const
{
    std::string body;
    for (const QByteArray &line : request.fields) {
        const qsizetype eq = line.indexOf('=');
        if (!body.empty())
            body += '&';
        body += line.left(eq + 1).toStdString();
        body += formValue(line.mid(eq + 1).toStdString());
    }
    const std::string url = request.url.toStdString();
    const std::string path = url.substr(url.find('/', url.find("://") + 3));
    return post(path, body, {{"Referer", request.headers.referer.value_or("").toStdString()}},
                request.headers.contentType.value_or("").toStdString());
}

std::string formValue(std::string_view bytes)
{
    constexpr std::string_view special = "*#%<>[]&=+";
    constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x21 && c <= 0x7F && special.find(ch) == std::string_view::npos) {
            out += ch;
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

void keepKeylessLocal(mirel::siteserver::SitesSettings &settings)
{
    for (const char *setting : {"google-web-url", "edge-url", "volcengine-web-url"})
        if (!settings.get(setting))
            settings.set(setting, "off");
}

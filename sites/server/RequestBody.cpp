#include "sites/server/RequestBody.h"

#include <charconv>

namespace mirel::siteserver {

namespace {

using Clock = std::chrono::steady_clock;

// Reads and drops what the peer still sends, within the drain bounds.
void drain(const httplib::ContentReader &reader, size_t alreadyRead)
{
    const auto until = Clock::now() + DrainTime;
    size_t total = alreadyRead;
    reader([&](const char *, size_t length) {
        total += length;
        return total <= MaxDrainedBody && Clock::now() < until;
    });
}

} // namespace

RequestBody readRequestBody(const httplib::Request &req, const httplib::ContentReader &reader,
                            size_t limit)
{
    RequestBody body;
    if (req.has_header("Content-Length")) {
        const std::string text = req.get_header_value("Content-Length");
        unsigned long long length = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
        if (error == std::errc::result_out_of_range || (error == std::errc() && length > limit)) {
            if (error == std::errc() && length <= MaxDrainedBody)
                drain(reader, 0);
            body.outcome = RequestBody::Outcome::TooLarge;
            return body;
        }
        if (error != std::errc() || end != text.data() + text.size()) {
            body.outcome = RequestBody::Outcome::Broken;
            return body;
        }
    }
    bool tooLarge = false;
    size_t dropped = 0;
    const auto until = Clock::now() + DrainTime;
    const bool read = reader([&](const char *data, size_t length) {
        if (!tooLarge && body.bytes.size() + length <= limit) {
            body.bytes.append(data, length);
            return true;
        }
        if (!tooLarge) {
            tooLarge = true;
            dropped = body.bytes.size();
            body.bytes = std::string();
        }
        dropped += length;
        return dropped <= MaxDrainedBody && Clock::now() < until;
    });
    if (tooLarge)
        body.outcome = RequestBody::Outcome::TooLarge;
    else if (!read)
        body.outcome = RequestBody::Outcome::Broken;
    if (body.outcome != RequestBody::Outcome::Read)
        body.bytes.clear();
    return body;
}

void refuseAndClose(httplib::Response &res, int status, const std::string &reason)
{
    res.status = status;
    res.set_header("Connection", "close");
    // The library closes a connection whose answer could not be written whole: the
    // reason is written, then the writer reports a failure.
    const auto text = std::make_shared<std::string>(reason + "\n");
    res.set_content_provider(text->size(), "text/plain; charset=utf-8",
                             [text](size_t offset, size_t, httplib::DataSink &sink) {
                                 sink.write(text->data() + offset, text->size() - offset);
                                 return false;
                             });
}

} // namespace mirel::siteserver

// Every online service over its recorded answers (see ServiceCatalog.h): each row of its
// cases.tsv, the request it must send, and the ways a transport fails.
#include "ReplayServer.h"
#include "ServiceCatalog.h"

#include "sites/http/BoundedHttp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace mirel::siteserver;
using namespace std::chrono_literals;
using Delivery = ReplayServer::Delivery;

namespace {

const std::filesystem::path kServices =
    std::filesystem::path(MIREL_SOURCE_DIR) / "tests" / "data" / "services";

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> split(const std::string &text, char at)
{
    std::vector<std::string> out;
    std::string::size_type start = 0;
    for (auto end = text.find(at); end != std::string::npos; end = text.find(at, start)) {
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    out.push_back(text.substr(start));
    return out;
}

std::string unescaped(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\'))
            out += text[++i] == 'n' ? '\n' : '\\';
        else
            out += text[i];
    }
    return out;
}

// Whether text is pattern, where each {{ANY}} stands for a run of characters without
// '&', '"' or a line end.
bool matches(std::string_view pattern, std::string_view text)
{
    const size_t any = pattern.find("{{ANY}}");
    if (any == std::string_view::npos)
        return pattern == text;
    if (text.substr(0, any) != pattern.substr(0, any))
        return false;
    const std::string_view rest = pattern.substr(any + 7);
    for (size_t i = any; i <= text.size(); ++i) {
        if (matches(rest, text.substr(i)))
            return true;
        if (i == text.size() || std::string_view("&\"\r\n").find(text[i]) != std::string_view::npos)
            return false;
    }
    return false;
}

struct Row
{
    const ServiceEntry *service = nullptr;
    std::string name;
    std::string answer; // the recorded file, raw
    Delivery delivery = Delivery::Whole;
    std::string expect; // "text", "503", "502", "refused", or "request"
    std::string detail;
};

void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.service->name << " " << row.name;
}

std::vector<Row> caseRows(const ServiceEntry &service)
{
    std::vector<Row> rows;
    const std::filesystem::path folder = kServices / service.folder;
    for (const std::string &line : split(readFile(folder / "cases.tsv"), '\n')) {
        if (line.empty() || line.starts_with('#'))
            continue;
        const std::vector<std::string> cells = split(line, '\t');
        Row row{&service,
                cells[0],
                readFile(folder / cells.at(1)),
                Delivery::Whole,
                cells.size() > 2 ? cells[2] : "",
                cells.size() > 3 ? unescaped(cells[3]) : ""};
        rows.push_back(std::move(row));
    }
    return rows;
}

// A body over the largest answer a backend reads.
std::string oversized()
{
    std::string body = "{\"pad\": \"";
    body.append(MaxBackendAnswer + 1024, 'a');
    return body + "\"}";
}

std::vector<Row> transportRows(const ServiceEntry &service)
{
    const std::string ok = "HTTP/1.1 200 OK\nContent-Type: application/json\n\n";
    return {
        {&service, "MalformedJson", ok + "{\"result\": [\"hello", Delivery::Whole, "502", ""},
        {&service, "EmptyBody", ok, Delivery::Whole, "502", ""},
        {&service, "HtmlPage",
         "HTTP/1.1 200 OK\nContent-Type: text/html; charset=utf-8\n\n<!DOCTYPE html><html><head>"
         "<title>Security check</title></head><body><form action=\"/captcha\"><img "
         "src=\"/captcha.png\"><input name=\"code\"></form></body></html>",
         Delivery::Whole, service.htmlPage, ""},
        {&service, "Oversized", ok + oversized(), Delivery::Whole, "502", ""},
        {&service, "Trickling", ok + "{\"result\": \"" + std::string(200, ' ') + "\"}",
         Delivery::Trickle, "503", ""},
        {&service, "ClosedEarly", ok + "{}", Delivery::CloseEarly, "503", ""},
        {&service, "Silent", ok + "{}", Delivery::Silent, "503", ""},
        {&service, "Gone", "", Delivery::Whole, "503", ""},
    };
}

std::vector<Row> allRows()
{
    std::vector<Row> rows;
    for (const ServiceEntry &service : serviceCatalog()) {
        const std::vector<Row> cases = caseRows(service);
        rows.insert(rows.end(), cases.begin(), cases.end());
        const auto success = std::find_if(cases.begin(), cases.end(),
                                          [](const Row &row) { return row.expect == "text"; });
        if (success != cases.end() &&
            std::filesystem::exists(kServices / service.folder / "request.txt"))
            rows.push_back({&service, "Request", success->answer, Delivery::Whole, "request",
                            readFile(kServices / service.folder / "request.txt")});
        const std::vector<Row> transport = transportRows(service);
        rows.insert(rows.end(), transport.begin(), transport.end());
    }
    return rows;
}

std::string rowName(const testing::TestParamInfo<Row> &info)
{
    std::string name = info.param.service->name + "_" + info.param.name;
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// One request as read: its request line, its head lines, its body.
struct Request
{
    std::string line;
    std::vector<std::string> head;
    std::string body;
};

Request parseRequest(const std::string &text, const std::string &lineEnd)
{
    const size_t blank = text.find(lineEnd + lineEnd);
    std::vector<std::string> lines = split(text.substr(0, blank), lineEnd[0]);
    if (lineEnd.size() == 2)
        for (std::string &l : lines)
            if (l.starts_with('\n'))
                l.erase(0, 1);
    Request out;
    out.line = lines.front();
    out.head.assign(lines.begin() + 1, lines.end());
    out.body = blank == std::string::npos ? "" : text.substr(blank + 2 * lineEnd.size());
    return out;
}

std::string lowerName(const std::string &header)
{
    std::string name = header.substr(0, header.find(':'));
    for (char &c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

class ServiceContract : public testing::TestWithParam<Row>
{
protected:
    void serve(const Row &row)
    {
        const ServiceEntry &service = *row.service;
        for (const auto &[prefix, file] : service.sideAnswers)
            fake.answer(prefix,
                        {replayBytes(readFile(kServices / service.folder / file), StandardKey),
                         Delivery::Whole});
        fake.answer("", {replayBytes(row.answer, StandardKey), row.delivery});
    }

    Translation call(const Row &row, Clock::duration within)
    {
        const auto backend = row.service->build(fake.address(), StandardKey);
        const auto deadline = Clock::now() + within;
        EXPECT_TRUE(backend->waitListKnown(deadline)) << "its language list was not read";
        EXPECT_TRUE(backend->serves(row.service->pair));
        return backend->translate(StandardText, row.service->pair, deadline);
    }

    ReplayServer fake;
};

TEST_P(ServiceContract, Answers)
{
    const Row &row = GetParam();
    serve(row);
    if (row.expect == "request") {
        const Translation t = call(row, 20s);
        EXPECT_EQ(t.outcome, Translation::Outcome::Translated) << t.reason;
        const Request want = parseRequest(row.detail, "\n");
        const std::string wantPath = want.line.substr(0, want.line.find_first_of("?{"));
        std::optional<Request> sent;
        for (const std::string &bytes : fake.requests())
            if (bytes.starts_with(wantPath))
                sent = parseRequest(bytes, "\r\n");
        ASSERT_TRUE(sent) << "no request to " << wantPath;
        EXPECT_TRUE(matches(want.line, sent->line.substr(0, sent->line.rfind(' ')))) << sent->line;
        auto next = sent->head.begin();
        for (const std::string &header : want.head) {
            next = std::find_if(next, sent->head.end(), [&](const std::string &h) {
                return lowerName(h) == lowerName(header);
            });
            ASSERT_NE(next, sent->head.end()) << "missing or out of order: " << header;
            EXPECT_TRUE(matches(header.substr(header.find(':')), next->substr(next->find(':'))))
                << *next << " is not " << header;
        }
        EXPECT_TRUE(matches(want.body, sent->body)) << sent->body << "\nis not\n" << want.body;
        return;
    }
    if (row.name == "Gone") {
        // Nothing listens at its address any more.
        std::string address;
        {
            const ReplayServer closed;
            address = closed.address();
        }
        const Translation t = row.service->build(address, StandardKey)
                                  ->translate(StandardText, row.service->pair, Clock::now() + 3s);
        EXPECT_EQ(t.status, 503) << t.reason;
        EXPECT_FALSE(t.reason.empty());
        return;
    }
    const bool slow = row.delivery == Delivery::Trickle || row.delivery == Delivery::Silent;
    const auto within = slow ? Clock::duration(3s) : Clock::duration(20s);
    const auto began = Clock::now();
    const Translation t = call(row, within);
    EXPECT_LT(Clock::now() - began, within + 3s) << "not ended by its deadline";
    if (row.expect == "text") {
        EXPECT_EQ(t.outcome, Translation::Outcome::Translated) << t.reason;
        EXPECT_EQ(t.text, row.detail);
        return;
    }
    EXPECT_EQ(t.outcome, Translation::Outcome::Failed);
    EXPECT_EQ(t.status, row.expect == "503" ? 503 : 502) << t.reason;
    EXPECT_NE(t.reason.find(row.detail), std::string::npos) << t.reason;
    if (row.expect == "refused") {
        EXPECT_NE(t.reason.find("refused"), std::string::npos) << t.reason;
    }
    EXPECT_FALSE(t.reason.empty());
    EXPECT_EQ(t.reason.find(StandardKey), std::string::npos) << t.reason;
    EXPECT_EQ(t.reason.find('<'), std::string::npos) << "markup in " << t.reason;
    EXPECT_LE(t.reason.size(), 200u) << t.reason;
}

INSTANTIATE_TEST_SUITE_P(Services, ServiceContract, testing::ValuesIn(allRows()), rowName);

TEST(ServiceCatalog, EveryServiceHasItsRecordedAnswers)
{
    for (const ServiceEntry &service : serviceCatalog()) {
        SCOPED_TRACE(service.name);
        const std::filesystem::path folder = kServices / service.folder;
        ASSERT_TRUE(std::filesystem::exists(folder / "cases.tsv"));
        const std::vector<Row> rows = caseRows(service);
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                                [](const Row &row) { return row.expect == "text"; }));
        for (const std::string &line : split(readFile(folder / "cases.tsv"), '\n')) {
            if (line.empty() || line.starts_with('#'))
                continue;
            const std::vector<std::string> cells = split(line, '\t');
            ASSERT_EQ(cells.size(), 4u) << line;
            EXPECT_TRUE(std::filesystem::exists(folder / cells[1])) << line;
            EXPECT_TRUE(cells[2] == "text" || cells[2] == "503" || cells[2] == "502" ||
                        cells[2] == "refused")
                << line;
        }
    }
}

TEST(ReplayServer, SendsTheRecordedAnswerAsItWasWritten)
{
    EXPECT_EQ(replayBytes("HTTP/1.1 403 Forbidden\nContent-Type: application/json\n\n"
                          "{\"message\": \"key {{KEY}} refused\"}\n",
                          "k-1"),
              "HTTP/1.1 403 Forbidden\r\nContent-Type: application/json\r\n"
              "Content-Length: 31\r\n\r\n{\"message\": \"key k-1 refused\"}\n");
    EXPECT_EQ(replayBytes("HTTP/1.1 200 OK\nContent-Length: 2\n\nab\n", ""),
              "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nab\n");
}

TEST(ServiceRequestPattern, AnyStandsForOneFieldsValue)
{
    EXPECT_TRUE(matches("a=1&salt={{ANY}}&sign={{ANY}}", "a=1&salt=123&sign=abc"));
    EXPECT_TRUE(matches("salt={{ANY}}", "salt="));
    EXPECT_FALSE(matches("salt={{ANY}}&b=2", "salt=1&x=3&b=2"));
    EXPECT_FALSE(matches("a=1", "a=12"));
    EXPECT_FALSE(matches("{\"t\": \"{{ANY}}\"}", "{\"t\": \"1\", \"u\": \"2\"}"));
}

} // namespace

#pragma once

#include <QByteArray>
#include <QList>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace mirel::test {

// What the server does for one request: send bytes, pause between them, and then keep
// the connection open for the next request, close it, reset it, or hang (keep it open
// and never answer again). A reply may end in an endless stream of one piece.
class Reply
{
public:
    enum class End { KeepOpen, Close, Hang, Reset };
    struct Step
    {
        QByteArray bytes;
        int pauseMs = 0;
        bool endless = false; // bytes sent again and again until the peer goes away
    };

    Reply() = default;
    // Shorthand: send these bytes, then keep the connection open.
    Reply(QByteArray bytes) { send(std::move(bytes)); } // NOLINT: implicit on purpose

    Reply &send(QByteArray bytes);
    // Waits before the next step (streams a reply in pieces).
    Reply &pause(int ms);
    Reply &close();
    Reply &hang();
    // Closes with a TCP reset (RST) instead of an orderly close.
    Reply &reset();
    // Sends piece again and again, as fast as the peer reads, until the peer closes the
    // connection or the server stops; the steps after it never run.
    Reply &sendForever(QByteArray piece);

    const std::vector<Step> &steps() const { return m_steps; }
    End end() const { return m_end; }

private:
    std::vector<Step> m_steps;
    End m_end = End::KeepOpen;
};

// A loopback HTTP server run by a script. It listens on 127.0.0.1 on a free port, reads
// each request whole (head and Content-Length body), records its exact bytes and
// answers with the next queued reply. A request with no reply queued is answered by
// closing the connection.
class ScriptedServer
{
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>"
    QByteArray baseUrl() const;

    // Queues the answer to the next request not yet answered.
    void enqueue(Reply reply);
    // Shorthands: answer and keep the connection open / answer and close.
    void reply(const QByteArray &bytes) { enqueue(Reply(bytes)); }
    void replyAndClose(const QByteArray &bytes) { enqueue(Reply(bytes).close()); }

    // The exact bytes of every request received so far, in order.
    QList<QByteArray> requests() const;
    // Waits (bounded) until count requests have arrived; false on time-out.
    bool waitForRequests(int count, int timeoutMs = 5000) const;
    // Waits (bounded) until count replies have been sent whole; false on time-out.
    bool waitForReplies(int count, int timeoutMs = 5000) const;
    // Number of connections accepted so far.
    int connectionCount() const;

private:
    struct Connection;
    void run();
    bool serve(Connection &c);
    bool readRequest(Connection &c, QByteArray &request);
    bool waitReadable(int fd, int timeoutMs) const;

    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    quint16 m_port = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<Reply> m_replies;
    size_t m_nextReply = 0;
    QList<QByteArray> m_requests;
    int m_connections = 0;
    int m_repliesSent = 0;
    std::thread m_thread;
};

// A wire fixture in the style of curl's test files: sections between <tag> and </tag>
// lines, in order. Every line ending becomes CR LF and %PORT% the server's port; a
// section whose opening tag holds "nonewline" drops its last line end.
struct HttpFixture
{
    struct Section
    {
        QByteArray tag;     // "reply", "request", "body", ...
        QByteArray opening; // the whole opening tag line, for attributes
        QByteArray text;
    };
    QList<Section> sections;

    // The texts of every section with this tag, in order.
    QList<QByteArray> all(const QByteArray &tag) const;
    // The text of the first section with this tag (empty when there is none).
    QByteArray first(const QByteArray &tag) const;
    bool has(const QByteArray &tag) const;

    static HttpFixture load(const QString &path, quint16 port);
};

} // namespace mirel::test

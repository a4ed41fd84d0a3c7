#include "sites/backends/ApyProcess.h"

#include "sites/backends/BoundedHttp.h"

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mirel::sites {
namespace {

// APy listens on every interface by default; this starts it with its server bound to
// the loopback address only.
constexpr const char *kLauncher = "import sys, tornado.httpserver as h\n"
                                  "bind = h.HTTPServer.bind\n"
                                  "h.HTTPServer.bind = lambda self, port, address=None, *a, **k: "
                                  "bind(self, port, '127.0.0.1', *a, **k)\n"
                                  "sys.argv[0] = 'apertium-apy'\n"
                                  "from apertium_apy.apy import main\n"
                                  "main()\n";

int freeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

} // namespace

ApyProcess::~ApyProcess()
{
    stop();
}

std::string ApyProcess::start(const std::string &modesFolder, Clock::time_point deadline)
{
    stop();
    m_port = freeLoopbackPort();
    if (m_port == 0)
        return "no free loopback port for APy";
    const std::string port = std::to_string(m_port);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0)
        return "cannot start APy: fork failed";
    if (pid == 0) {
        // APy goes when the server goes, even when the server is killed outright.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        // Its log is noise for the server's user; its own failures show as no answer.
        if (const int null = ::open("/dev/null", O_WRONLY); null >= 0) {
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execl("/usr/bin/python3", "python3", "-c", kLauncher, "--port", port.c_str(),
                "--min-pipes-per-pair", "1", modesFolder.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    m_pid = pid;

    const ServiceAddress service{address(), {}};
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return "APy ended at start (is apertium-apy installed?)";
        }
        const HttpReply reply =
            callBounded(service, {"GET", "/listPairs", {}, {}},
                        std::min(deadline, Clock::now() + std::chrono::seconds(2)));
        if (reply.failure == HttpReply::Failure::None && reply.status == 200)
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    stop();
    return "APy did not answer in time";
}

void ApyProcess::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace mirel::sites

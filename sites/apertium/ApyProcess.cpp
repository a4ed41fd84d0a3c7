#include "sites/apertium/ApyProcess.h"

#include "sites/apertium/ApyLog.h"
#include "sites/http/BoundedHttp.h"

#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace mirel::siteserver {
namespace {

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

std::vector<std::string> currentEnvironment()
{
    std::vector<std::string> env;
    for (char **entry = environ; entry && *entry; ++entry)
        env.emplace_back(*entry);
    return env;
}

std::vector<char *> pointers(std::vector<std::string> &texts)
{
    std::vector<char *> list;
    for (std::string &text : texts)
        list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

} // namespace

std::filesystem::path mirelCacheFolder()
{
    std::filesystem::path base;
    if (const char *xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
        base = xdg;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".cache";
    else
        return {};
    std::error_code error;
    std::filesystem::create_directories(base / "mirel", error);
    return error ? std::filesystem::path() : base / "mirel";
}

ApyProcess::ApyProcess(ApyOptions options)
    : m_options(std::move(options)), m_port(freeLoopbackPort())
{
    if (m_options.log.empty()) {
        const auto cache = mirelCacheFolder();
        m_options.log = cache.empty() ? std::filesystem::path("/dev/null") : cache / "apy.log";
    }
}

ApyProcess::~ApyProcess()
{
    stop();
}

std::string ApyProcess::spawn()
{
    if (m_port == 0)
        m_port = freeLoopbackPort();
    if (m_port == 0)
        return "no free loopback port for APy";
    std::vector<std::string> args =
        apyArguments(m_options.interpreter, m_port, m_options.modesFolder, m_options.tuning);
    std::vector<std::string> env = apyEnvironment(
        m_options.environment.empty() ? currentEnvironment() : m_options.environment);
    std::vector<char *> argv = pointers(args);
    std::vector<char *> envp = pointers(env);
    const ApyLogRun run = openApyLog(m_options.log, m_options.logLimit);
    const int log = run.fd;
    m_logStart = run.start;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (log >= 0)
            ::close(log);
        return "cannot start APy: fork failed";
    }
    if (pid == 0) {
        // APy and its pipelines form one group, ended together.
        ::setpgid(0, 0);
        // APy goes when the server goes, even when the server is killed outright.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        if (const int null = ::open("/dev/null", O_RDONLY); null >= 0)
            ::dup2(null, STDIN_FILENO);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(argv[0], argv.data(), envp.data());
        const char failed[] = "cannot run the Python interpreter for APy\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, failed, sizeof failed - 1);
        ::_exit(127);
    }
    if (log >= 0)
        ::close(log);
    ::setpgid(pid, pid);
    m_pid = pid;
    return {};
}

std::string ApyProcess::start(const std::string &modesFolder, Clock::time_point deadline)
{
    m_options.modesFolder = modesFolder;
    return start(deadline);
}

std::string ApyProcess::start(Clock::time_point deadline, std::stop_token stop)
{
    this->stop();
    if (std::string error = spawn(); !error.empty())
        return error;
    const ServiceAddress service{address(), {}};
    while (Clock::now() < deadline) {
        if (stop.stop_requested()) {
            this->stop();
            return "stopped before APy answered";
        }
        if (const auto end = ended())
            return "APy ended at start (" + *end + ")";
        const HttpReply reply =
            callBounded(service, {"GET", "/listPairs", {}, {}},
                        std::min(deadline, Clock::now() + std::chrono::seconds(2)));
        if (reply.failure == HttpReply::Failure::None && reply.status == 200)
            return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    this->stop();
    return "APy did not answer in time";
}

std::string ApyProcess::how(int status) const
{
    std::string text = WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                           : "exit " + std::to_string(WEXITSTATUS(status));
    // Its own last words tell why it ended by itself; a signal came from outside.
    if (const std::string line = lastLine(textFrom(m_options.log, m_logStart));
        !line.empty() && !WIFSIGNALED(status))
        text += ": " + line;
    return text;
}

std::optional<std::string> ApyProcess::ended()
{
    if (m_pid <= 0)
        return std::nullopt;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) != m_pid)
        return std::nullopt;
    // Pipelines left behind go with it.
    ::kill(-m_pid, SIGKILL);
    m_pid = -1;
    return how(status);
}

void ApyProcess::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(-m_pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            ::kill(-m_pid, SIGKILL);
            m_pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ::kill(-m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

} // namespace mirel::siteserver

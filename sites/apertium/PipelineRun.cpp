#include "sites/apertium/PipelineRun.h"

#include "sites/apertium/ApyLaunch.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <random>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace mirel::siteserver {
namespace {

constexpr size_t kMostOutput = 4 * 1024 * 1024;
constexpr size_t kMostErrors = 16 * 1024;

class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(Fd &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd &operator=(Fd &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

bool makePipe(Fd &read, Fd &write)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    read = Fd(fds[0]);
    write = Fd(fds[1]);
    return true;
}

std::string valueOf(const std::vector<std::string> &env, std::string_view name)
{
    for (const std::string &entry : env)
        if (entry.size() > name.size() && entry.compare(0, name.size(), name) == 0 &&
            entry[name.size()] == '=')
            return entry.substr(name.size() + 1);
    return {};
}

// The program as the environment's PATH finds it; empty when it does not.
std::string located(const std::string &program, const std::vector<std::string> &env)
{
    if (program.find('/') != std::string::npos)
        return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
    const std::string path = valueOf(env, "PATH");
    size_t start = 0;
    while (start <= path.size()) {
        const size_t colon = std::min(path.find(':', start), path.size());
        const std::string folder = path.substr(start, colon - start);
        start = colon + 1;
        if (folder.empty())
            continue;
        const std::string candidate = folder + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::vector<char *> pointers(std::vector<std::string> &texts)
{
    std::vector<char *> list;
    for (std::string &text : texts)
        list.push_back(text.data());
    list.push_back(nullptr);
    return list;
}

// The programs started so far, in one process group: killed and reaped when it goes.
class Group
{
public:
    ~Group() { end(); }
    pid_t id() const { return m_pids.empty() ? 0 : m_pids.front(); }
    void add(pid_t pid, std::string name)
    {
        m_pids.push_back(pid);
        m_names.push_back(std::move(name));
        m_status.push_back(-1);
    }
    // Whether every program has ended; none is reaped before end(), so that the group's id
    // stays theirs until it is killed.
    bool allEnded() const
    {
        for (const pid_t pid : m_pids) {
            siginfo_t info{};
            if (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == 0)
                return false;
        }
        return true;
    }
    // Kills whatever runs in the group (a program's own children too) and reaps every
    // program.
    void end()
    {
        if (!m_pids.empty() && m_status.front() == -1)
            ::killpg(id(), SIGKILL);
        for (size_t i = 0; i < m_pids.size(); ++i)
            if (m_status[i] == -1) {
                int status = 0;
                while (::waitpid(m_pids[i], &status, 0) < 0 && errno == EINTR) {
                }
                m_status[i] = status;
            }
    }
    // The first program that ended badly by itself: "apertium-tagger ended by signal 11
    // (Segmentation fault)". One that wrote to a program ended before it comes last.
    std::string failure() const
    {
        for (const bool brokenPipe : {false, true})
            for (size_t i = 0; i < m_pids.size(); ++i) {
                const int status = m_status[i];
                if (status == -1)
                    continue;
                const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
                if (signal != 0 && signal != SIGKILL && (signal == SIGPIPE) == brokenPipe)
                    return m_names[i] + " ended by signal " + std::to_string(signal) + " (" +
                           strsignal(signal) + ")";
                if (!brokenPipe && WIFEXITED(status) && WEXITSTATUS(status) != 0)
                    return m_names[i] + " ended with exit status " +
                           std::to_string(WEXITSTATUS(status));
            }
        return {};
    }

private:
    std::vector<pid_t> m_pids;
    std::vector<std::string> m_names;
    std::vector<int> m_status; // -1 while not reaped
};

std::string spawnInto(Group &group, std::vector<std::string> command,
                      const std::vector<std::string> &environment, int in, int out, int err)
{
    const std::string program = located(command.front(), environment);
    if (program.empty())
        return "cannot find " + command.front();
    std::vector<std::string> env = environment;
    std::vector<char *> argv = pointers(command);
    std::vector<char *> envp = pointers(env);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, group.id());
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int error =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return "cannot start " + command.front() + ": " + std::strerror(error);
    group.add(pid, command.front());
    return {};
}

// "[/mark:1f0c…]": what a run's answer ends with, unlike any text of a pipeline's.
std::string runMark()
{
    std::random_device random;
    char text[40];
    std::snprintf(text, sizeof text, "[/mark:%08x%08x]", random(), random());
    return text;
}

std::string withErrorLine(std::string why, const std::string &errors)
{
    if (const std::string line = lastLine(errors); !line.empty())
        why += ": " + line;
    return why;
}

} // namespace

PipelineRun runPipeline(const std::vector<std::vector<std::string>> &commands,
                        std::string_view input, PipelineAnswer answer,
                        const std::vector<std::string> &environment, Clock::time_point deadline,
                        std::stop_token stop)
{
    if (commands.empty() || std::any_of(commands.begin(), commands.end(),
                                        [](const auto &command) { return command.empty(); }))
        return {PipelineRun::End::Failed, {}, "no programs to run"};
    // The input through a socket: writing to a program that ended fails, it raises no
    // SIGPIPE in the server.
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return {PipelineRun::End::Failed, {}, std::string("no socket: ") + std::strerror(errno)};
    Fd toFirst(pair[0]);
    Fd firstIn(pair[1]);
    Fd errorsIn;
    Fd errorsOut;
    if (!makePipe(errorsIn, errorsOut))
        return {PipelineRun::End::Failed, {}, std::string("no pipe: ") + std::strerror(errno)};

    Group group;
    Fd stageIn = std::move(firstIn);
    for (const auto &command : commands) {
        Fd next;
        Fd out;
        if (!makePipe(next, out))
            return {PipelineRun::End::Failed, {}, std::string("no pipe: ") + std::strerror(errno)};
        if (std::string why =
                spawnInto(group, command, environment, stageIn.get(), out.get(), errorsOut.get());
            !why.empty())
            return {PipelineRun::End::Failed, {}, why};
        stageIn = std::move(next);
    }
    const Fd lastOut = std::move(stageIn);
    errorsOut.reset();

    PipelineRun run;
    std::string errors;
    std::string sending(input);
    const std::string mark = runMark();
    if (answer == PipelineAnswer::AtMark)
        sending += '\0' + mark + '\0';
    std::string_view unsent = sending;
    bool outputEnded = false;
    // Whatever the end, the group goes; a program that ended badly by itself is the reason.
    const auto finish = [&](PipelineRun::End end, const std::string &otherwise) {
        group.end();
        run.end = end;
        if (end == PipelineRun::End::Answered)
            return run;
        char rest[4096];
        for (pollfd fd{errorsIn.get(), POLLIN, 0}; fd.fd >= 0 && ::poll(&fd, 1, 0) > 0;) {
            const ssize_t got = ::read(fd.fd, rest, sizeof rest);
            if (got <= 0)
                break;
            errors.append(rest, size_t(got));
        }
        const std::string failure = group.failure();
        run.why = withErrorLine(
            end == PipelineRun::End::Stopped || failure.empty() ? otherwise : failure, errors);
        return run;
    };
    if (unsent.empty() && answer == PipelineAnswer::AtEnd)
        ::shutdown(toFirst.get(), SHUT_WR);
    char buffer[16384];
    while (true) {
        if (stop.stop_requested())
            return finish(PipelineRun::End::Stopped, "stopped");
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return finish(PipelineRun::End::TimedOut, "no answer in time");
        const int wait = int(std::clamp<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1, 1, 200));
        pollfd fds[3] = {{lastOut.get(), POLLIN, 0},
                         {errorsIn.get(), POLLIN, 0},
                         {unsent.empty() ? -1 : toFirst.get(), POLLOUT, 0}};
        if (outputEnded)
            fds[0].fd = -1;
        if (::poll(fds, 3, wait) < 0 && errno != EINTR)
            return finish(PipelineRun::End::Failed, std::string("poll: ") + std::strerror(errno));
        if (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) {
            const ssize_t sent =
                ::send(toFirst.get(), unsent.data(), unsent.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent > 0)
                unsent.remove_prefix(size_t(sent));
            else if (sent < 0 && errno != EAGAIN && errno != EINTR)
                unsent = {}; // the first program has ended; its status tells why
            if (unsent.empty() && answer == PipelineAnswer::AtEnd)
                ::shutdown(toFirst.get(), SHUT_WR);
        }
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            const ssize_t got = ::read(errorsIn.get(), buffer, sizeof buffer);
            if (got > 0) {
                errors.append(buffer, size_t(got));
                if (errors.size() > kMostErrors)
                    errors.erase(0, errors.size() - kMostErrors / 2);
            } else if (got == 0) {
                errorsIn.reset();
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            const ssize_t got = ::read(lastOut.get(), buffer, sizeof buffer);
            if (got > 0) {
                run.output.append(buffer, size_t(got));
                if (answer == PipelineAnswer::AtMark) {
                    if (const size_t at = run.output.find(mark); at != std::string::npos) {
                        run.output.resize(at);
                        std::erase(run.output, '\0');
                        return finish(PipelineRun::End::Answered, {});
                    }
                }
                if (run.output.size() > kMostOutput)
                    return finish(PipelineRun::End::Failed, "too much output");
            } else if (got == 0) {
                if (answer == PipelineAnswer::AtMark)
                    return finish(PipelineRun::End::Failed, "the pipeline ended without an answer");
                outputEnded = true;
            }
        }
        if (outputEnded && group.allEnded()) {
            group.end();
            return finish(group.failure().empty() ? PipelineRun::End::Answered
                                                  : PipelineRun::End::Failed,
                          {});
        }
        if (outputEnded)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace mirel::siteserver

// mirel-replica <port> [--busy] [--quiet]: the local stand-in for every outside site of
// Mirel, on 127.0.0.1.
#include "replica/ReplicaServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pthread.h>
#include <string>
#include <thread>

namespace {

int usage(const char *program)
{
    std::fprintf(stderr,
                 "usage: %s <port> [--busy] [--quiet]\n"
                 "  <port>   port to listen on at 127.0.0.1 (0: any free port)\n"
                 "  --busy   the Baidu relay answers with its busy page\n"
                 "  --quiet  do not log requests\n",
                 program);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage(argv[0]);
    char *end = nullptr;
    const long port = std::strtol(argv[1], &end, 10);
    if (*argv[1] == '\0' || *end != '\0' || port < 0 || port > 65535)
        return usage(argv[0]);
    mirel::replica::ReplicaOptions options;
    options.logRequests = true;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--busy") == 0)
            options.relayBusy = true;
        else if (std::strcmp(argv[i], "--quiet") == 0)
            options.logRequests = false;
        else
            return usage(argv[0]);
    }

    // SIGINT and SIGTERM are taken by a waiting thread that stops the server cleanly.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    mirel::replica::ReplicaServer server(options);
    if (server.bind(int(port)) < 0) {
        std::fprintf(stderr, "mirel-replica: cannot listen on 127.0.0.1:%ld: %s\n", port,
                     std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "mirel-replica: listening on %s%s\n", server.baseAddress().c_str(),
                 options.relayBusy ? " (relay busy)" : "");

    std::thread stopper([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    const bool served = server.serve();
    // Wake the stopper if the server ended on its own.
    if (stopper.joinable()) {
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
    }
    return served ? 0 : 1;
}

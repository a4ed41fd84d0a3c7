// The site server's own cost per translation: the same text through the gateway's Google
// form and straight to APy, warm, alternating, with the medians and their ratio.
#include "sites/apertium/ApyProcess.h"
#include "sites/server/SiteServer.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace mirel::siteserver;
using Millis = std::chrono::duration<double, std::milli>;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    ApyProcess apy;
    if (const std::string error =
            apy.start(ApyProcess::DefaultModes, Clock::now() + std::chrono::seconds(60));
        !error.empty()) {
        std::fprintf(stderr, "gateway bench: %s\n", error.c_str());
        return 1;
    }
    SiteOptions options;
    options.apertium = apy.address();
    SiteServer server(options);
    const int port = server.bind(0);
    std::thread serving([&server] { server.serve(); });

    const std::string text = "I love reading books every morning before work.";
    httplib::Client gateway("127.0.0.1", port);
    gateway.set_keep_alive(true);
    gateway.set_tcp_nodelay(true);
    httplib::Client direct(apy.address());
    direct.set_keep_alive(true);
    direct.set_tcp_nodelay(true);
    const std::string form = std::string("js=y&prev=_t&hl=zh-CN&ie=UTF-8&layout=1&eotf=0&text=") +
                             "I%20love%20reading%20books%20every%20morning%20before%20work." +
                             "&file=&sl=en&tl=es";
    const httplib::Params apyForm{{"langpair", "eng|spa"}, {"markUnknown", "no"}, {"q", text}};

    std::vector<double> viaGateway, viaApy, own;
    for (int i = -20; i < rounds; ++i) { // the first 20 warm both paths up
        auto t0 = Clock::now();
        const auto g = gateway.Post("/", form, "application/x-www-form-urlencoded");
        const double total = Millis(Clock::now() - t0).count();
        t0 = Clock::now();
        const auto d = direct.Post("/translate", apyForm);
        const double straight = Millis(Clock::now() - t0).count();
        if (!g || g->status != 200 || !d || d->status != 200) {
            std::fprintf(stderr, "gateway bench: a request failed\n");
            server.stop();
            serving.join();
            return 1;
        }
        if (i < 0)
            continue;
        const std::string by = g->get_header_value("X-Translated-By"); // "apertium 12.345 ms"
        const double backend = std::atof(by.c_str() + by.find(' ') + 1);
        viaGateway.push_back(total);
        viaApy.push_back(straight);
        own.push_back(total - backend);
    }
    server.stop();
    serving.join();

    std::printf("gateway bench: %d rounds of \"%s\" (English to Spanish)\n", rounds, text.c_str());
    std::printf("  through the gateway (window's form to page): median %.3f ms\n",
                median(viaGateway));
    std::printf("  straight to APy:                             median %.3f ms\n", median(viaApy));
    std::printf("  ratio gateway / APy:                         %.3f\n",
                median(viaGateway) / median(viaApy));
    std::printf("  gateway's own time (total minus APy's):      median %.3f ms\n", median(own));
    return 0;
}

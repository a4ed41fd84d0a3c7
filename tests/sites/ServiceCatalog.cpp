#include "ServiceCatalog.h"

#include "sites/services/BaiduBackend.h"

#include <chrono>

using namespace mirel::siteserver;
using namespace std::chrono_literals;

namespace {

ServiceEndpoint endpoint(const std::string &address, const std::string &path)
{
    return *parseServiceEndpoint(address + path);
}

} // namespace

const std::vector<ServiceEntry> &serviceCatalog()
{
    static const std::vector<ServiceEntry> entries = {
        {"baidu", "baidu",
         [](const std::string &address, const std::string &key) {
             return std::make_unique<BaiduBackend>(endpoint(address, "/api/trans/vip/translate"),
                                                   BaiduAccount{"test-app", key},
                                                   BaiduBackend::DefaultPieceLimit, 10ms);
         }},
    };
    return entries;
}

#include "sites/setup/ServiceOrder.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>

namespace mirel::siteserver {

bool isKeyless(std::string_view service)
{
    return std::find(std::begin(KeylessServices), std::end(KeylessServices), service) !=
           std::end(KeylessServices);
}

std::vector<std::string>
defaultServiceOrder(const std::vector<std::pair<std::string, std::optional<size_t>>> &named)
{
    const auto rank = [](const std::pair<std::string, std::optional<size_t>> &service) {
        const int group = service.first == "apertium" ? 2 : isKeyless(service.first) ? 1 : 0;
        return std::pair(group, service.second.value_or(SIZE_MAX));
    };
    std::vector<std::pair<std::string, std::optional<size_t>>> sorted = named;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const auto &a, const auto &b) { return rank(a) < rank(b); });
    std::vector<std::string> names;
    for (const auto &service : sorted)
        names.push_back(service.first);
    return names;
}

std::string googleVendor(bool googleKeySet)
{
    return googleKeySet ? "google" : "google-web";
}

std::vector<std::string> serviceOrder(const std::vector<std::string> &configured,
                                      std::string_view order,
                                      const std::vector<std::string_view> &known)
{
    const auto contains = [](const auto &list, std::string_view name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    std::vector<std::string> ordered;
    size_t at = 0;
    while (at < order.size()) {
        const size_t start = order.find_first_not_of(", \t", at);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(order.find_first_of(", \t", start), order.size());
        const std::string name(order.substr(start, end - start));
        at = end;
        if (name == "opencc" || name == "glossary")
            continue;
        if (!contains(known, name)) {
            std::string names = "opencc";
            for (const std::string_view service : known)
                names += ", " + std::string(service);
            throw std::invalid_argument("order names an unknown service \"" + name +
                                        "\" (known: " + names + ", glossary)");
        }
        if (contains(configured, name) && !contains(ordered, name))
            ordered.push_back(name);
    }
    for (const std::string &name : configured)
        if (!contains(ordered, name))
            ordered.push_back(name);
    return ordered;
}

} // namespace mirel::siteserver

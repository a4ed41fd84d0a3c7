#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirel::siteserver {

// The services that need no key: in the default order after those with one.
inline constexpr std::string_view KeylessServices[] = {"google-web", "edge", "volcengine-web"};
bool isKeyless(std::string_view service);

// The default order of the services set up: those with a key in the order the settings
// first name them (named: the position of a service's first setting, or none), then the
// keyless ones, then Apertium.
std::vector<std::string>
defaultServiceOrder(const std::vector<std::pair<std::string, std::optional<size_t>>> &named);

// The service that runs the Google engine's own vendor: Google Cloud with a key, else
// Google's keyless web endpoint.
std::string googleVendor(bool googleKeySet);

// The order in which the gateway asks the translation services that are set up.
//   configured: the services set up, in their default order (the order the settings
//               name them, Apertium last);
//   order:      the "order" setting, names separated by commas or blanks
//               ("deepl, baidu, apertium"); empty: the default order;
//   known:      every service name the server knows.
// The services named in order come first, in its order; the others follow in their
// default order. A name that is known but not set up is passed over. OpenCC and the
// glossary may be named but keep their places (first and last), outside this list.
// Throws std::invalid_argument naming a name that is no service.
std::vector<std::string> serviceOrder(const std::vector<std::string> &configured,
                                      std::string_view order,
                                      const std::vector<std::string_view> &known);

} // namespace mirel::siteserver

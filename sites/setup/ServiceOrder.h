#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

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

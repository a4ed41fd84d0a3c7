#include "sites/pages/PageToken.h"

#include <random>

namespace mirel::siteserver {

bool sameToken(std::string_view given, std::string_view expected)
{
    unsigned char differ = given.size() == expected.size() ? 0 : 1;
    for (size_t i = 0; i < expected.size(); ++i)
        differ |= static_cast<unsigned char>(expected[i] ^ (i < given.size() ? given[i] : 0));
    return differ == 0 && !expected.empty();
}

std::string freshToken()
{
    std::random_device random; // the kernel's random source
    std::string token;
    constexpr char digits[] = "0123456789abcdef";
    for (int i = 0; i < 8; ++i)
        for (unsigned word = random(), j = 0; j < 4; ++j, word >>= 8) {
            token += digits[(word >> 4) & 15];
            token += digits[word & 15];
        }
    return token;
}

} // namespace mirel::siteserver

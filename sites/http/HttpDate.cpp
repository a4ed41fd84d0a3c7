#include "sites/http/HttpDate.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace mirel::siteserver {
namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<int> number(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

struct Parts
{
    std::chrono::year_month_day day;
    std::chrono::hh_mm_ss<std::chrono::seconds> time;
};

Parts partsOf(int64_t seconds)
{
    const std::chrono::sys_seconds point{std::chrono::seconds(seconds)};
    const auto day = std::chrono::floor<std::chrono::days>(point);
    return {std::chrono::year_month_day(day), std::chrono::hh_mm_ss(point - day)};
}

} // namespace

std::optional<int64_t> httpDateSeconds(std::string_view date)
{
    // "Sun, 06 Nov 1994 08:49:37 GMT"
    if (date.size() != 29 || date[3] != ',' || date.substr(25) != " GMT" || date[19] != ':' ||
        date[22] != ':')
        return std::nullopt;
    const auto dayOfMonth = number(date.substr(5, 2));
    const auto year = number(date.substr(12, 4));
    const auto hours = number(date.substr(17, 2));
    const auto minutes = number(date.substr(20, 2));
    const auto secs = number(date.substr(23, 2));
    size_t month = 0;
    while (month < kMonths.size() && kMonths[month] != date.substr(8, 3))
        ++month;
    if (!dayOfMonth || !year || !hours || !minutes || !secs || month == kMonths.size() ||
        *hours > 23 || *minutes > 59 || *secs > 60)
        return std::nullopt;
    const std::chrono::year_month_day day{std::chrono::year(*year),
                                          std::chrono::month(unsigned(month + 1)),
                                          std::chrono::day(unsigned(*dayOfMonth))};
    if (!day.ok())
        return std::nullopt;
    const auto point = std::chrono::sys_days(day) + std::chrono::hours(*hours) +
                       std::chrono::minutes(*minutes) + std::chrono::seconds(*secs);
    return std::chrono::duration_cast<std::chrono::seconds>(point.time_since_epoch()).count();
}

std::string utcDate(int64_t seconds, bool compact)
{
    const Parts parts = partsOf(seconds);
    char out[16];
    std::snprintf(out, sizeof out, compact ? "%04d%02u%02u" : "%04d-%02u-%02u",
                  int(parts.day.year()), unsigned(parts.day.month()), unsigned(parts.day.day()));
    return out;
}

std::string utcTime(int64_t seconds, bool compact)
{
    const Parts parts = partsOf(seconds);
    char out[24];
    std::snprintf(out, sizeof out, compact ? "T%02d%02d%02dZ" : "T%02d:%02d:%02dZ",
                  int(parts.time.hours().count()), int(parts.time.minutes().count()),
                  int(parts.time.seconds().count()));
    return utcDate(seconds, compact) + out;
}

} // namespace mirel::siteserver

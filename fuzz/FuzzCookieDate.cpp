// The cookie date reader on arbitrary text, and on dates written from the input in the
// usual forms, which must read back as the moment they were written from.
#include "net/CookieDate.h"

#include <QLocale>

#include <cstdint>
#include <cstdlib>

using namespace mirel;

namespace {

const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QByteArray two(int n)
{
    return QByteArray::number(n).rightJustified(2, '0');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QDateTime> parsed = parseCookieDate(text);
    if (parsed && !parsed->isValid())
        std::abort();
    if (!cookieExpiryMoment(text).isValid())
        std::abort();

    if (size < 8)
        return 0;
    // A moment from the input, written in the three usual forms.
    const int year = 1980 + data[0] % 120;
    const QDate date(year, 1 + data[1] % 12, 1 + data[2] % 28);
    const QTime time(data[3] % 24, data[4] % 60, data[5] % 60);
    const QDateTime expected(date, time, Qt::UTC);
    const QByteArray day = kDays[date.dayOfWeek() - 1];
    const QByteArray month = kMonths[date.month() - 1];
    const QByteArray clock = two(time.hour()) + ':' + two(time.minute()) + ':' + two(time.second());
    const QByteArray forms[] = {
        day + ", " + two(date.day()) + ' ' + month + ' ' + QByteArray::number(year) + ' ' + clock +
            " GMT",
        day + ", " + two(date.day()) + '-' + month + '-' + QByteArray::number(year) + ' ' + clock +
            " GMT",
        day + ' ' + month + ' ' + QByteArray::number(date.day()).rightJustified(2, ' ') + ' ' +
            clock + ' ' + QByteArray::number(year),
    };
    for (const QByteArray &form : forms) {
        const std::optional<QDateTime> back = parseCookieDate(form);
        if (!back || *back != expected)
            std::abort();
    }
    return 0;
}

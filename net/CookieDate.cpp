#include "net/CookieDate.h"

#include <QList>

#include <algorithm>
#include <cctype>

namespace mirel {

namespace {

const char *const kDayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char *const kMonthNames[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                   "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool isNumber(const QByteArray &s)
{
    return !s.isEmpty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int monthNumber(const QByteArray &word)
{
    const QByteArray w = word.left(3).toUpper();
    for (int i = 0; i < 12; ++i) {
        if (word.size() >= 3 && w == kMonthNames[i])
            return i + 1;
    }
    return 0;
}

// Takes the text up to the first sep (or the end) off the front of s.
QByteArray takeWord(QByteArray &s, char sep)
{
    s = s.trimmed();
    const qsizetype at = s.indexOf(sep);
    QByteArray word = at < 0 ? s : s.left(at);
    s = at < 0 ? QByteArray() : s.mid(at + 1);
    return word.trimmed();
}

std::optional<QTime> parseTime(QByteArray text, bool &pm, bool &am)
{
    const QByteArray upper = text.toUpper();
    if (upper.endsWith("PM") || upper.endsWith("AM")) {
        (upper.endsWith("PM") ? pm : am) = true;
        text.chop(2);
    }
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    int hms[3] = {0, 0, 0};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (!isNumber(parts[i]) || parts[i].size() > 2)
            return std::nullopt;
        hms[i] = parts[i].toInt();
    }
    const QTime t(hms[0] % 24 == hms[0] ? hms[0] : -1, hms[1], hms[2]);
    if (!t.isValid())
        return std::nullopt;
    return t;
}

} // namespace

std::optional<QDateTime> parseCookieDate(const QByteArray &input)
{
    QByteArray s = input.trimmed();
    if (s.size() >= 3) {
        const QByteArray head = s.left(3).toUpper();
        for (const char *day : kDayNames) {
            if (head == day) {
                // The day name ("Thu", "Thursday") and its comma, blank or not.
                qsizetype end = 3;
                while (end < s.size() && std::isalpha(static_cast<unsigned char>(s[end])))
                    ++end;
                if (end < s.size() && s[end] == ',')
                    ++end;
                s = s.mid(end).trimmed();
                break;
            }
        }
    }
    const qsizetype dash = s.indexOf('-');
    const qsizetype blank = s.indexOf(' ');
    const char sep = (dash >= 1 && (blank < 0 || dash < blank)) ? '-' : ' ';

    const QByteArray first = takeWord(s, sep);
    const QByteArray second = takeWord(s, sep);
    int day = 0;
    int month = 0;
    if (isNumber(first)) {
        day = first.toInt();
        month = monthNumber(second);
    } else {
        month = monthNumber(first);
        day = isNumber(second) ? second.toInt() : 0;
    }
    if (month == 0 || day == 0)
        return std::nullopt;

    QByteArray yearWord = takeWord(s, ' ');
    QByteArray timeWord;
    if (!isNumber(yearWord)) { // month, day, time, year
        timeWord = yearWord;
        yearWord = takeWord(s, ' ');
    } else {
        timeWord = takeWord(s, ' ');
    }
    if (!isNumber(yearWord) || yearWord.size() > 4)
        return std::nullopt;
    int year = yearWord.toInt();
    if (yearWord.size() <= 2)
        year += year < 80 ? 2000 : 1900;

    bool pm = false;
    bool am = false;
    QTime time(0, 0, 0);
    if (!timeWord.isEmpty()) {
        const std::optional<QTime> t = parseTime(timeWord, pm, am);
        if (!t)
            return std::nullopt;
        time = *t;
    }
    QByteArray zone = takeWord(s, ' ');
    if (zone.toUpper() == "PM" || zone.toUpper() == "AM") {
        (zone.toUpper() == "PM" ? pm : am) = true;
        zone = takeWord(s, ' ');
    }
    if (pm && time.hour() < 12)
        time = time.addSecs(12 * 3600);
    else if (am && time.hour() == 12)
        time = time.addSecs(-12 * 3600);

    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    QDateTime moment(date, time, Qt::UTC);
    if (zone.size() == 5 && (zone[0] == '+' || zone[0] == '-') && isNumber(zone.mid(1))) {
        const int offset = zone.mid(1, 2).toInt() * 3600 + zone.mid(3, 2).toInt() * 60;
        moment = moment.addSecs(zone[0] == '+' ? -offset : offset);
    }
    return moment;
}

QDateTime cookieExpiryMoment(const QByteArray &text)
{
    if (const std::optional<QDateTime> moment = parseCookieDate(text))
        return *moment;
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);
}

} // namespace mirel

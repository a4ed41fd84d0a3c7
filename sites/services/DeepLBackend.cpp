#include "sites/services/DeepLBackend.h"

#include "sites/gateway/JsonAnswer.h"
#include "sites/http/SafeReason.h"
#include "sites/languages/LanguageCodes.h"
#include "sites/languages/PassageSplit.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <stdexcept>

namespace mirel::siteserver {
namespace {

constexpr std::string_view kFreeUrl = "https://api-free.deepl.com/v2/translate";
constexpr std::string_view kProUrl = "https://api.deepl.com/v2/translate";
// Room in a request for everything but the texts.
constexpr size_t kBodyHeadroom = 1024;

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// What a text takes in a JSON body: its escapes, quotes and the comma after it.
size_t jsonSize(std::string_view text)
{
    size_t size = 3;
    for (const char c : text) {
        if (c == '"' || c == '\\' || c == '\b' || c == '\f' || c == '\n' || c == '\r' || c == '\t')
            size += 2;
        else if (static_cast<unsigned char>(c) < 0x20)
            size += 6;
        else
            ++size;
    }
    return size;
}

// DeepL's languages in beta, as its list of supported languages marks them; sorted.
constexpr std::string_view kBetaLanguages[] = {
    "ACE", "AF", "AN", "AS", "AY",  "AZ", "BA",  "BE", "BHO", "BN",  "BR",  "BS", "CA",  "CEB",
    "CKB", "CY", "EO", "EU", "FA",  "GA", "GL",  "GN", "GOM", "GU",  "HA",  "HI", "HR",  "HT",
    "HY",  "IG", "IS", "JV", "KA",  "KK", "KMR", "KY", "LA",  "LB",  "LMO", "LN", "MAI", "MG",
    "MI",  "MK", "ML", "MN", "MR",  "MS", "MT",  "MY", "NE",  "OC",  "OM",  "PA", "PAG", "PAM",
    "PRS", "PS", "QU", "SA", "SCN", "SQ", "SR",  "ST", "SU",  "SW",  "TA",  "TE", "TG",  "TK",
    "TL",  "TN", "TS", "TT", "UR",  "UZ", "WO",  "XH", "YI",  "YUE", "ZU"};

// A status other than 200 as a failure with a short reason (DeepL's own message, if
// any, without the key).
std::optional<Translation> statusFailure(const HttpReply &reply, std::string_view key)
{
    if (reply.failure != HttpReply::Failure::None || reply.status == 200)
        return std::nullopt;
    const int status = reply.status;
    switch (status) {
    case 403:
        return Translation::badAnswer("deepl refused the key (403)");
    case 429:
        return Translation::noAnswer("deepl: too many requests (429)");
    case 456:
        return Translation::noAnswer("deepl: quota exceeded (456)");
    default:
        break;
    }
    if (status >= 500)
        return Translation::noAnswer("deepl answered " + std::to_string(status));
    const QJsonObject error =
        QJsonDocument::fromJson(QByteArray::fromStdString(reply.body)).object();
    const std::string message = error.value(u"message").toString().toStdString();
    return Translation::refusedRequest("deepl answered " + std::to_string(status) + ": " +
                                       safeReason(message, {key}));
}

// A part of the passage: text kept as it stands, or the place of the translation of
// one text sent.
struct Part
{
    std::string_view kept;
    size_t text = std::string_view::npos;
};

} // namespace

bool deeplBetaLanguage(std::string_view code)
{
    return std::binary_search(std::begin(kBetaLanguages), std::end(kBetaLanguages),
                              deeplBase(code));
}

std::string deeplTranslateUrl(std::string_view key, std::string_view configured)
{
    if (!configured.empty())
        return std::string(configured);
    return std::string(key.ends_with(":fx") ? kFreeUrl : kProUrl);
}

std::string deeplLanguagesPath(std::string_view translatePath)
{
    constexpr std::string_view kTranslate = "/v2/translate";
    if (translatePath.ends_with(kTranslate))
        return std::string(translatePath.substr(0, translatePath.size() - kTranslate.size())) +
               "/v2/languages";
    return "/v2/languages";
}

DeepLBackend::DeepLBackend(std::string key, std::string_view configuredUrl, PairList::Timing timing,
                           PairList::Log log)
    : m_key(std::move(key)), m_connections([&] {
          const std::string url = deeplTranslateUrl(m_key, configuredUrl);
          const auto address = parseServiceAddress(url);
          if (!address)
              throw std::invalid_argument("DeepL address must read https://host/v2/translate: " +
                                          url);
          m_translatePath = address->prefix.empty() ? "/v2/translate" : address->prefix;
          m_languagesPath = deeplLanguagesPath(m_translatePath);
          return ServiceAddress{address->origin, {}};
      }()),
      m_list(
          "deepl", [this](Clock::time_point deadline) { return loadLanguages(deadline); }, timing,
          std::move(log))
{
    m_list.start();
}

std::vector<std::pair<std::string, std::string>> DeepLBackend::authorization() const
{
    return {{"Authorization", "DeepL-Auth-Key " + m_key}};
}

PairList::Load DeepLBackend::loadLanguages(Clock::time_point deadline) const
{
    std::vector<std::string> lists[2];
    const char *types[2] = {"source", "target"};
    for (int i = 0; i < 2; ++i) {
        HttpCall call{"GET", m_languagesPath + "?type=" + types[i], {}, {}, authorization()};
        const HttpReply reply = m_connections.call(call, deadline);
        if (const auto failure = statusFailure(reply, m_key))
            return {std::nullopt, failure->reason};
        const JsonAnswer answer = readJsonAnswer(reply, "deepl");
        if (answer.failure)
            return {std::nullopt, answer.failure->reason};
        if (!answer.document->isArray())
            return {std::nullopt, "deepl: /v2/languages gave no list"};
        for (const QJsonValue &entry : answer.document->array())
            if (const QString code = entry.toObject().value(u"language").toString();
                !code.isEmpty())
                lists[i].push_back(code.toUpper().toStdString());
    }
    // DeepL translates into traditional Chinese but has not always listed it.
    const auto &targets = lists[1];
    const bool chinese = std::any_of(targets.begin(), targets.end(),
                                     [](const std::string &c) { return deeplBase(c) == "ZH"; });
    if (chinese && std::find(targets.begin(), targets.end(), "ZH-HANT") == targets.end())
        lists[1].push_back("ZH-HANT");
    ServicePairs pairs;
    for (const std::string &from : lists[0])
        for (const std::string &to : lists[1])
            if (deeplBase(from) != deeplBase(to))
                pairs.emplace(from, to);
    return {std::move(pairs), {}};
}

std::optional<std::pair<std::string, std::string>>
DeepLBackend::codes(const LanguagePair &pair) const
{
    const auto pairs = m_list.pairs();
    const auto from = deeplSourceCode(pair.from);
    if (!pairs || !from)
        return std::nullopt;
    for (const std::string &to : deeplTargetCodes(pair.to))
        if (pairs->count({*from, to}))
            return std::pair{*from, to};
    return std::nullopt;
}

Offer DeepLBackend::offers(const LanguagePair &pair) const
{
    if (!m_list.pairs())
        return Offer::NotKnownYet;
    return codes(pair) ? Offer::Yes : Offer::No;
}

Translation DeepLBackend::translate(const std::string &utf8, const LanguagePair &pair,
                                    Clock::time_point deadline) const
{
    const auto found = codes(pair);
    if (!found && !m_list.pairs())
        return Translation::noAnswer("deepl not available: its language list is not read yet");
    if (!found)
        return Translation::badAnswer("deepl: no pair " + pair.from + " to " + pair.to);

    // Each line on its own (long ones in pieces), the blanks around it kept here.
    std::vector<Part> parts;
    std::vector<std::string_view> texts;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        const size_t lf = rest.find('\n');
        const std::string_view line = rest.substr(0, lf == std::string_view::npos ? lf : lf + 1);
        rest.remove_prefix(line.size());
        for (const std::string_view piece : splitPassage(line, MaxPieceBytes, TextMeasure::Bytes)) {
            const TrimmedPiece trimmed = trimPiece(piece);
            parts.push_back({trimmed.lead});
            if (!trimmed.core.empty()) {
                parts.push_back({{}, texts.size()});
                texts.push_back(trimmed.core);
            }
            parts.push_back({trimmed.trail});
        }
    }

    std::vector<std::string> translations;
    translations.reserve(texts.size());
    std::vector<std::string_view> batch;
    size_t batchSize = kBodyHeadroom;
    for (size_t i = 0; i <= texts.size(); ++i) {
        const bool last = i == texts.size();
        const size_t size = last ? 0 : jsonSize(texts[i]);
        if (!batch.empty() &&
            (last || batch.size() == MaxTextsPerRequest || batchSize + size > MaxRequestBody)) {
            if (Translation failed = translateBatch(batch, *found, translations, deadline);
                failed.outcome != Translation::Outcome::Translated)
                return failed;
            batch.clear();
            batchSize = kBodyHeadroom;
        }
        if (!last) {
            batch.push_back(texts[i]);
            batchSize += size;
        }
    }

    std::string result;
    result.reserve(utf8.size() * 2);
    for (const Part &part : parts)
        result += part.text == std::string_view::npos ? part.kept
                                                      : trimPiece(translations[part.text]).core;
    return Translation::translated(std::move(result));
}

Translation DeepLBackend::translateBatch(const std::vector<std::string_view> &texts,
                                         const std::pair<std::string, std::string> &codes,
                                         std::vector<std::string> &into,
                                         Clock::time_point deadline) const
{
    QJsonArray list;
    for (const std::string_view text : texts)
        list.append(qtext(text));
    // Each text is one line: DeepL's default sentence splitting cannot move a line break,
    // and preserve_formatting keeps its punctuation and case as written.
    QJsonObject request{{QStringLiteral("text"), list},
                        {QStringLiteral("source_lang"), qtext(codes.first)},
                        {QStringLiteral("target_lang"), qtext(codes.second)},
                        {QStringLiteral("preserve_formatting"), true}};
    if (deeplBetaLanguage(codes.first) || deeplBetaLanguage(codes.second))
        request.insert(QStringLiteral("enable_beta_languages"), true);
    const HttpCall call{"POST", m_translatePath,
                        QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json", authorization()};
    const HttpReply reply = m_connections.call(call, deadline);
    if (const auto failure = statusFailure(reply, m_key)) {
        if (reply.status == 403)
            m_reach.set(Reach::Refused);
        else if (reply.status == 456)
            m_reach.set(Reach::Exhausted);
        return *failure;
    }
    const JsonAnswer answer = readJsonAnswer(reply, "deepl");
    if (answer.failure)
        return *answer.failure;
    m_reach.set(Reach::Known);
    const QJsonArray translations = answer.document->object().value(u"translations").toArray();
    if (size_t(translations.size()) != texts.size())
        return Translation::badAnswer("deepl: " + std::to_string(translations.size()) +
                                      " translations for " + std::to_string(texts.size()) +
                                      " texts");
    for (const QJsonValue &entry : translations) {
        const QJsonValue text = entry.toObject().value(u"text");
        if (!text.isString())
            return Translation::badAnswer("deepl: a translation without text");
        into.push_back(text.toString().toStdString());
    }
    return Translation::translated({});
}

} // namespace mirel::siteserver

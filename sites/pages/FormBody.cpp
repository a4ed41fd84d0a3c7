#include "sites/pages/FormBody.h"

namespace mirel::siteserver {
namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool mustBeEscaped(unsigned char c)
{
    if (c <= 0x20 || c >= 0x80)
        return true;
    constexpr std::string_view special = "*#%<>[]&=+";
    return special.find(char(c)) != std::string_view::npos;
}

std::string describeByte(unsigned char c)
{
    if (c == '+')
        return "a raw \"+\" (blanks are sent as %20)";
    constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "a raw byte 0x";
    text += digits[c >> 4];
    text += digits[c & 15];
    return text;
}

// Decodes one value strictly; returns false and sets error on the first fault.
bool decodeStrict(std::string_view in, std::string &out, std::string &error)
{
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (c == '%') {
            const int hi = i + 1 < in.size() ? hexValue(in[i + 1]) : -1;
            const int lo = i + 2 < in.size() ? hexValue(in[i + 2]) : -1;
            if (hi < 0 || lo < 0) {
                error = "broken percent escape";
                return false;
            }
            out += char(hi * 16 + lo);
            i += 2;
        } else if (mustBeEscaped(c)) {
            error = describeByte(c) + " where an escape belongs";
            return false;
        } else {
            out += char(c);
        }
    }
    return true;
}

std::string decodeLenient(std::string_view in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '+') {
            out += ' ';
        } else if (in[i] == '%' && i + 2 < in.size() && hexValue(in[i + 1]) >= 0 &&
                   hexValue(in[i + 2]) >= 0) {
            out += char(hexValue(in[i + 1]) * 16 + hexValue(in[i + 2]));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return out;
}

template <typename Each> void splitPairs(std::string_view text, Each each)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view pair = text.substr(start, end - start);
        if (!pair.empty())
            each(pair);
        start = end + 1;
    }
}

} // namespace

FormDecoding decodeFormBody(std::string_view body)
{
    FormDecoding result;
    splitPairs(body, [&](std::string_view pair) {
        if (!result.error.empty())
            return;
        const size_t eq = pair.find('=');
        FormField field;
        field.name = std::string(pair.substr(0, eq));
        if (eq != std::string_view::npos) {
            std::string error;
            if (!decodeStrict(pair.substr(eq + 1), field.value, error)) {
                result.error = "field " + field.name + ": " + error;
                return;
            }
        }
        result.fields.push_back(std::move(field));
    });
    if (!result.error.empty())
        result.fields.clear();
    return result;
}

std::vector<FormField> decodeQuery(std::string_view query)
{
    std::vector<FormField> fields;
    splitPairs(query, [&](std::string_view pair) {
        const size_t eq = pair.find('=');
        FormField field{decodeLenient(pair.substr(0, eq)), {}};
        if (eq != std::string_view::npos)
            field.value = decodeLenient(pair.substr(eq + 1));
        fields.push_back(std::move(field));
    });
    return fields;
}

std::optional<std::string> fieldValue(const std::vector<FormField> &fields, std::string_view name)
{
    for (const FormField &f : fields)
        if (f.name == name)
            return f.value;
    return std::nullopt;
}

std::string missingFields(const std::vector<FormField> &fields,
                          const std::vector<std::string_view> &required)
{
    std::string missing;
    for (const std::string_view name : required) {
        if (fieldValue(fields, name))
            continue;
        if (!missing.empty())
            missing += ", ";
        missing += name;
    }
    return missing;
}

} // namespace mirel::siteserver

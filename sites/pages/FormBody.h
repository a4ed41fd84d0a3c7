#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirel::siteserver {

struct FormField
{
    std::string name;
    std::string value; // percent-decoded bytes
};

struct FormDecoding
{
    std::vector<FormField> fields;
    std::string error; // empty when the body was well formed
};

// Decodes an application/x-www-form-urlencoded body the way the program writes it:
// every blank, control byte, byte above 0x7F and each of * # % < > [ ] & = + inside a
// value is sent as %XX, so a raw one of those (a "+" for a blank above all) or a broken
// escape is an error.
FormDecoding decodeFormBody(std::string_view body);

// Decodes the query of a GET address leniently, as browsers send it: %XX escapes in
// either case, "+" as a blank, other bytes as they are. Fields in order.
std::vector<FormField> decodeQuery(std::string_view query);

// The value of the first field of that name, if any.
std::optional<std::string> fieldValue(const std::vector<FormField> &fields, std::string_view name);

// Names of the fields from required that are missing, joined with ", ".
std::string missingFields(const std::vector<FormField> &fields,
                          const std::vector<std::string_view> &required);

} // namespace mirel::siteserver

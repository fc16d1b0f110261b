#include "profile/ProfileFields.h"

namespace {

bool IsBlank(char c) {
    // isspace() in the "C" locale, without its undefined behaviour for
    // negative chars.
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t ParseProfileNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic: a number too long for 32 bits wraps as the old
    // runtime did, instead of being undefined behaviour.
    uint32_t n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        n = n * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative) n = 0u - n;
    return static_cast<int32_t>(n);
}

int16_t ParseProfileInt16(std::string_view text) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(ParseProfileNumber(text)) & 0xFFFFu));
}

bool FindProfileField(std::string_view value, int index, std::string_view& field, char separator) {
    if (index < 0) return false;
    size_t start = 0;
    for (int n = 0; n < index; ++n) {
        size_t bar = value.find(separator, start);
        if (bar == std::string_view::npos) return false;
        start = bar + 1;
    }
    size_t end = value.find(separator, start);
    field = value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    return true;
}

bool ExtractTextField(std::string_view value, int index, std::string& out, char separator) {
    std::string_view field;
    if (!FindProfileField(value, index, field, separator)) {
        out.clear();
        return false;
    }
    out.assign(field.data(), field.size());
    return true;
}

bool ExtractInt16Field(std::string_view value, int index, int16_t& out, char separator) {
    std::string_view field;
    if (!FindProfileField(value, index, field, separator)) return false;
    out = ParseProfileInt16(field);
    return true;
}

bool ExtractInt32Field(std::string_view value, int index, int32_t& out, char separator) {
    std::string_view field;
    if (!FindProfileField(value, index, field, separator)) return false;
    out = ParseProfileNumber(field);
    return true;
}

bool ExtractFlagField(std::string_view value, int index, int& out, char separator) {
    std::string_view field;
    if (!FindProfileField(value, index, field, separator)) return false;
    out = ParseProfileNumber(field) != 0 ? 1 : 0;
    return true;
}

std::string ProfileUpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

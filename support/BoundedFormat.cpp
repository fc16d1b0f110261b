#include "support/BoundedFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Collects the output, keeping what fits and counting all of it.
class Sink {
public:
    Sink(char* buffer, std::size_t size) : buffer(buffer), size(size) {}
    void Put(char c) {
        if (size && length < size - 1) buffer[length] = c;
        ++length;
    }
    void Put(const char* s, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) Put(s[i]);
    }
    void Repeat(char c, int n) {
        for (; n > 0; --n) Put(c);
    }
    int Finish() {
        if (size) buffer[length < size ? length : size - 1] = '\0';
        return length > 0x7fffffff ? -1 : static_cast<int>(length);
    }

private:
    char* buffer;
    std::size_t size;
    std::size_t length = 0;
};

struct Directive {
    bool left = false, plus = false, space = false, alternate = false, zero = false;
    int width = 0;
    int precision = -1;  // none given
};

// Writes prefix (sign, 0x) and digits, padded to the width as the flags say.
void Emit(Sink& out, const Directive& conv, const char* prefix, const char* digits, std::size_t count, int minDigits) {
    const std::size_t prefixLength = std::strlen(prefix);
    const int zeros = minDigits > static_cast<int>(count) ? minDigits - static_cast<int>(count) : 0;
    const int body = static_cast<int>(prefixLength + count) + zeros;
    int pad = conv.width > body ? conv.width - body : 0;
    if (!conv.left && !conv.zero) out.Repeat(' ', pad);
    out.Put(prefix, prefixLength);
    if (!conv.left && conv.zero) out.Repeat('0', pad);
    out.Repeat('0', zeros);
    out.Put(digits, count);
    if (conv.left) out.Repeat(' ', pad);
}

void Integer(Sink& out, Directive conv, std::uintmax_t magnitude, bool negative, unsigned base, bool upper, char conversion) {
    char digits[72];
    std::size_t n = 0;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (std::uintmax_t v = magnitude; v; v /= base) digits[n++] = set[v % base];
    for (std::size_t i = 0; i < n / 2; ++i) {
        const char t = digits[i];
        digits[i] = digits[n - 1 - i];
        digits[n - 1 - i] = t;
    }
    int minDigits = conv.precision < 0 ? 1 : conv.precision;
    if (conv.precision >= 0) conv.zero = false;  // a precision turns the 0 flag off
    const char* prefix = "";
    if (conversion == 'd' || conversion == 'i')
        prefix = negative ? "-" : conv.plus ? "+" : conv.space ? " " : "";
    else if (conv.alternate && base == 16 && magnitude)
        prefix = upper ? "0X" : "0x";
    else if (conv.alternate && base == 8 && minDigits <= static_cast<int>(n))
        minDigits = static_cast<int>(n) + 1;  // a leading 0
    Emit(out, conv, prefix, digits, n, minDigits);
}

// Fixed-point, exact for magnitudes below 2^64 and up to 18 decimals; beyond
// that the digits are approximate, which no text of this program needs.
void Fixed(Sink& out, Directive conv, long double value) {
    const char* sign = "";
    if (value < 0) {
        sign = "-";
        value = -value;
    } else if (conv.plus) {
        sign = "+";
    } else if (conv.space) {
        sign = " ";
    }
    if (value != value || value > 1.8e19L) {  // NaN, infinite or too large for the digits below
        conv.zero = false;
        Emit(out, conv, sign, value != value ? "nan" : "inf", 3, 0);
        return;
    }
    int precision = conv.precision < 0 ? 6 : conv.precision > 18 ? 18 : conv.precision;
    long double scale = 1;
    for (int i = 0; i < precision; ++i) scale *= 10;
    long double whole = static_cast<long double>(static_cast<std::uint64_t>(value));
    const long double fraction = (value - whole) * scale;
    std::uint64_t intPart = static_cast<std::uint64_t>(whole);
    std::uint64_t fracPart = static_cast<std::uint64_t>(fraction);
    // Rounded to nearest, a tie to the even digit, as the C library does.
    const long double rest = fraction - static_cast<long double>(fracPart);
    const std::uint64_t last = precision > 0 ? fracPart : intPart;
    if (rest > 0.5L || (rest == 0.5L && last % 2 == 1)) ++fracPart;
    if (static_cast<long double>(fracPart) >= scale) {  // rounded up into the next unit
        fracPart = 0;
        ++intPart;
    }
    char digits[48];
    std::size_t n = 0;
    char rev[24];
    std::size_t r = 0;
    for (std::uint64_t v = intPart; v; v /= 10) rev[r++] = static_cast<char>('0' + v % 10);
    if (!r) rev[r++] = '0';
    while (r) digits[n++] = rev[--r];
    if (precision > 0 || conv.alternate) digits[n++] = '.';
    for (int i = precision - 1; i >= 0; --i) {
        digits[n + static_cast<std::size_t>(i)] = static_cast<char>('0' + fracPart % 10);
        fracPart /= 10;
    }
    n += static_cast<std::size_t>(precision);
    Emit(out, conv, sign, digits, n, 0);
}

}  // namespace

int BoundedFormatV(char* buffer, std::size_t size, const char* format, std::va_list args) {
    Sink out(buffer, size);
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            out.Put(*p);
            continue;
        }
        const char* start = p++;
        Directive conv;
        for (;; ++p) {
            if (*p == '-') conv.left = true;
            else if (*p == '+') conv.plus = true;
            else if (*p == ' ') conv.space = true;
            else if (*p == '#') conv.alternate = true;
            else if (*p == '0') conv.zero = true;
            else break;
        }
        if (*p == '*') {
            conv.width = va_arg(args, int);
            if (conv.width < 0) {
                conv.left = true;
                conv.width = conv.width == -2147483647 - 1 ? 2147483647 : -conv.width;
            }
            ++p;
        } else {
            for (; *p >= '0' && *p <= '9'; ++p)
                conv.width = conv.width > 100000000 ? conv.width : conv.width * 10 + (*p - '0');
        }
        if (*p == '.') {
            ++p;
            conv.precision = 0;
            if (*p == '*') {
                conv.precision = va_arg(args, int);
                if (conv.precision < 0) conv.precision = -1;
                ++p;
            } else {
                for (; *p >= '0' && *p <= '9'; ++p)
                    conv.precision = conv.precision > 100000000 ? conv.precision : conv.precision * 10 + (*p - '0');
            }
        }
        if (conv.left) conv.zero = false;
        int longs = 0;  // -2 hh, -1 h, 0 int, 1 long, 2 long long
        // 'j', 'z' or 't': intmax_t, size_t or ptrdiff_t, whose widths differ
        // between the 32-bit and the 64-bit build.
        char typed = 0;
        bool longDouble = false;
        for (;; ++p) {
            if (*p == 'h') --longs;
            else if (*p == 'l') ++longs;
            else if (*p == 'j' || *p == 'z' || *p == 't') typed = *p;
            else if (*p == 'L') longDouble = true;
            else break;
        }
        const char c = *p;
        switch (c) {
        case 'd':
        case 'i': {
            std::intmax_t v = typed == 'j'  ? va_arg(args, std::intmax_t)
                              : typed        ? va_arg(args, std::ptrdiff_t)  // signed size_t is as wide
                              : longs >= 2   ? va_arg(args, long long)
                              : longs == 1   ? va_arg(args, long)
                                             : va_arg(args, int);
            if (!typed && longs == -1) v = static_cast<short>(v);
            if (!typed && longs <= -2) v = static_cast<signed char>(v);
            const std::uintmax_t magnitude = v < 0 ? 0 - static_cast<std::uintmax_t>(v) : static_cast<std::uintmax_t>(v);
            Integer(out, conv, magnitude, v < 0, 10, false, c);
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            std::uintmax_t v = typed == 'j'  ? va_arg(args, std::uintmax_t)
                               : typed       ? va_arg(args, std::size_t)  // unsigned ptrdiff_t is as wide
                               : longs >= 2  ? va_arg(args, unsigned long long)
                               : longs == 1  ? va_arg(args, unsigned long)
                                             : va_arg(args, unsigned);
            if (!typed && longs == -1) v = static_cast<unsigned short>(v);
            if (!typed && longs <= -2) v = static_cast<unsigned char>(v);
            Integer(out, conv, v, false, c == 'u' ? 10 : c == 'o' ? 8 : 16, c == 'X', c);
            break;
        }
        case 'p': {
            const void* v = va_arg(args, void*);
            conv.alternate = true;
            Integer(out, conv, reinterpret_cast<std::uintptr_t>(v), false, 16, false, 'x');
            break;
        }
        case 'c': {
            const char ch = static_cast<char>(va_arg(args, int));
            conv.zero = false;
            Emit(out, conv, "", &ch, 1, 0);
            break;
        }
        case 's': {
            const char* s = va_arg(args, const char*);
            if (!s) s = "(null)";
            std::size_t n = 0;
            while (s[n] && (conv.precision < 0 || n < static_cast<std::size_t>(conv.precision))) ++n;
            conv.zero = false;
            Emit(out, conv, "", s, n, 0);
            break;
        }
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            Fixed(out, conv, longDouble ? va_arg(args, long double) : va_arg(args, double));
            break;
        case '%':
            out.Put('%');
            break;
        default:
            // Not a conversion this formatter knows (or the text ended):
            // the directive is copied as it stands, so nothing is lost.
            out.Put(start, static_cast<std::size_t>(p - start));
            if (!c) return out.Finish();
            out.Put(c);
            break;
        }
    }
    return out.Finish();
}

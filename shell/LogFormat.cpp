#include "shell/LogFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

enum class Size { Plain, Long, LongLong, SizeT };

template <typename Number>
void appendNumber(std::string& out, Number value) {
    char digits[24];  // 20 digits and a sign at most
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, end.ptr);
}

// The quick path. False, with `args` partly read, as soon as a directive is not one of its own.
bool formatCommon(std::string& out, const char* format, va_list args) {
    out.clear();
    const char* p = format;
    while (true) {
        const char* percent = std::strchr(p, '%');
        if (percent == nullptr) {
            out.append(p);
            return true;
        }
        out.append(p, static_cast<size_t>(percent - p));
        p = percent + 1;
        Size size = Size::Plain;
        if (*p == 'l') {
            ++p;
            size = Size::Long;
            if (*p == 'l') {
                ++p;
                size = Size::LongLong;
            }
        } else if (*p == 'z') {
            ++p;
            size = Size::SizeT;
        }
        const char conversion = *p++;
        switch (conversion) {
            case '%':
                if (size != Size::Plain) {
                    return false;
                }
                out.push_back('%');
                break;
            case 's': {
                if (size != Size::Plain) {
                    return false;  // wide strings
                }
                const char* text = va_arg(args, const char*);
                out.append(text != nullptr ? text : "(null)");
                break;
            }
            case 'c':
                if (size != Size::Plain) {
                    return false;
                }
                out.push_back(static_cast<char>(va_arg(args, int)));
                break;
            case 'd':
            case 'i':
                switch (size) {
                    case Size::Plain:
                        appendNumber(out, va_arg(args, int));
                        break;
                    case Size::Long:
                        appendNumber(out, va_arg(args, long));
                        break;
                    case Size::LongLong:
                        appendNumber(out, va_arg(args, long long));
                        break;
                    case Size::SizeT:
                        appendNumber(out, va_arg(args, ssize_t));
                        break;
                }
                break;
            case 'u':
                switch (size) {
                    case Size::Plain:
                        appendNumber(out, va_arg(args, unsigned));
                        break;
                    case Size::Long:
                        appendNumber(out, va_arg(args, unsigned long));
                        break;
                    case Size::LongLong:
                        appendNumber(out, va_arg(args, unsigned long long));
                        break;
                    case Size::SizeT:
                        appendNumber(out, va_arg(args, size_t));
                        break;
                }
                break;
            default:
                return false;
        }
    }
}

}  // namespace

bool formatLogText(std::string& out, const char* format, va_list args) {
    va_list quick;
    va_copy(quick, args);
    const bool done = formatCommon(out, format, quick);
    va_end(quick);
    if (done) {
        return true;
    }
    // Short texts are formatted on the stack and copied; longer ones straight into the string, sized first.
    char shortText[512];
    va_list measure;
    va_copy(measure, args);
    const int needed = std::vsnprintf(shortText, sizeof shortText, format, measure);
    va_end(measure);
    if (needed < 0) {
        out.clear();
        return false;
    }
    const size_t length = static_cast<size_t>(needed);
    if (length < sizeof shortText) {
        out.assign(shortText, length);
        return true;
    }
    out.resize(length);
    va_list full;
    va_copy(full, args);
    std::vsnprintf(out.data(), length + 1, format, full);
    va_end(full);
    return true;
}

std::string formatText(const char* format, ...) {
    std::string out;
    va_list args;
    va_start(args, format);
    formatLogText(out, format, args);
    va_end(args);
    return out;
}

std::string numberText(double value) {
    char text[64];
    const bool whole = std::isfinite(value) && std::fabs(value) < 1e15 && value == std::trunc(value);
    std::snprintf(text, sizeof text, whole ? "%.0f" : "%g", value);
    return text;
}

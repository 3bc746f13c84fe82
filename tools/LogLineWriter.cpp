#include "tools/LogLineWriter.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

void LogLineWriter::line(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    m_out.write(text, std::min<std::streamsize>(length, sizeof text - 1));
    m_out.put('\n');
    ++m_count;
}

bool LogLineWriter::good() {
    m_out.flush();
    return m_out.good();
}

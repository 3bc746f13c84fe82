#include "control/VCImportProgress.h"

#include <algorithm>
#include <cmath>

double VCImportProgress::fraction() const {
    if (fileSize == 0) {
        return bytesRead > 0 ? 1.0 : 0.0;
    }
    return std::min(1.0, static_cast<double>(bytesRead) / static_cast<double>(fileSize));
}

std::string VCImportProgress::text() const {
    const int percent = static_cast<int>(std::floor(fraction() * 100.0));
    return "Importing " + fileName + ": " + std::to_string(percent) + " % (" + groupThousands(lines) +
           " lines)";
}

std::string groupThousands(long long number) {
    const bool negative = number < 0;
    // Digits of the magnitude, taken without negating (the most negative value has no positive twin).
    std::string digits;
    do {
        const long long digit = number % 10;
        digits.insert(digits.begin(), static_cast<char>('0' + (digit < 0 ? -digit : digit)));
        number /= 10;
    } while (number != 0);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return negative ? "-" + grouped : grouped;
}

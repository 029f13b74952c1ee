#include "core/amount_text.h"

#include <algorithm>
#include <limits>

#include <boost/multiprecision/cpp_int.hpp>

namespace lw {

namespace {

using boost::multiprecision::cpp_int;

constexpr std::size_t kWidth = 100;
constexpr unsigned kSignificantDigits = 18;

// The number of code points in UTF-8 text: every byte but the continuation bytes starts one.
std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

cpp_int pow10(unsigned exponent) {
    return boost::multiprecision::pow(cpp_int(10), exponent);
}

// The magnitude of `value` as a whole number: its exact decimal value rounded to 18 significant
// digits (ties to even), then that decimal rounded half away from zero by its first dropped
// digit. The two stages matter: 0.4999999999999999999 becomes 0.5 first and so 1.
cpp_int roundedMagnitude(const Extended& value) {
    // |value| = mantissa * 2^binaryExponent, with an integral 64-bit mantissa.
    int exponent = 0;
    const Extended fraction = frexp(abs(value), &exponent);
    const int bits = std::numeric_limits<Extended>::digits;
    const cpp_int mantissa = ldexp(fraction, bits).convert_to<cpp_int>();
    const int binaryExponent = exponent - bits;

    // The same value as digits * 10^decimalExponent, exactly: m / 2^k = m * 5^k / 10^k.
    cpp_int digits;
    int decimalExponent = 0;
    if (binaryExponent >= 0) {
        digits = mantissa << binaryExponent;
    } else {
        digits = mantissa *
                 boost::multiprecision::pow(cpp_int(5), static_cast<unsigned>(-binaryExponent));
        decimalExponent = binaryExponent;
    }

    if (const auto count = static_cast<unsigned>(digits.str().size()); count > kSignificantDigits) {
        const unsigned dropped = count - kSignificantDigits;
        const cpp_int scale = pow10(dropped);
        cpp_int kept = digits / scale;
        const cpp_int twiceRest = 2 * (digits % scale);
        if (twiceRest > scale || (twiceRest == scale && bit_test(kept, 0))) {
            ++kept;
        }
        digits = kept;
        decimalExponent += static_cast<int>(dropped);
    }

    if (decimalExponent >= 0) {
        return digits * pow10(static_cast<unsigned>(decimalExponent));
    }
    const auto dropped = static_cast<unsigned>(-decimalExponent);
    cpp_int whole = digits / pow10(dropped);
    if ((digits / pow10(dropped - 1)) % 10 >= 5) {
        ++whole;
    }
    return whole;
}

}  // namespace

std::string thousandsSeparator(std::optional<std::string_view> localeSeparator) {
    if (!localeSeparator) {
        return ",";
    }
    if (localeSeparator->empty()) {
        return "";
    }
    if (isValidUtf8(*localeSeparator) && codePoints(*localeSeparator) == 1) {
        return std::string(*localeSeparator);
    }
    return ",";
}

std::string amountText(const Extended& value, std::string_view separator) {
    const cpp_int magnitude = roundedMagnitude(value);
    const std::string digits = magnitude.str();
    std::string text;
    // A value that rounds to zero gets no sign, whatever its own sign was.
    if (value < 0 && magnitude != 0) {
        text.push_back('-');
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) {
            text.append(separator);
        }
        text.push_back(digits[i]);
    }
    if (const std::size_t width = codePoints(text); width < kWidth) {
        text.insert(0, kWidth - width, ' ');
    }
    return text;
}

std::array<std::string, 3> amountCaptions(std::int64_t total, std::int32_t percent,
                                          std::string_view separator) {
    const Amounts amounts = computeAmounts(total, percent);
    const auto caption = [&](const Extended& value) {
        return amountText(value, separator) + " Credits";
    };
    return {caption(amounts.income), caption(amounts.orgShare), caption(amounts.profit)};
}

}  // namespace lw

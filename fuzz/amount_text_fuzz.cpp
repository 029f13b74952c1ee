// amountText over finite Extended values built from the input's bits, and amountCaptions over
// any total and rate. The text is spaces up to 100 code points, a "-" for a negative non-zero
// result, and digits in groups of three; its number lies within half a unit (and the rounding
// to 18 digits) of the value, and equals it for whole values below 10^18, or rounds a half away
// from zero below 10^17.
//
// Input: 8 bytes significand, 2 bytes exponent field, 1 byte sign, 1 byte choice of separator,
// then 8 bytes total and 4 bytes rate for the captions.
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <cstring>
#include <string>

#include "core/amount_text.h"
#include "fuzz_input.h"

namespace {

using lw::Extended;
using lw::fuzz::check;
// Wide enough in range and precision to compare a text's number with the value it came from:
// near the top of Extended's range the rounded number no longer fits Extended.
using Wide = boost::multiprecision::cpp_bin_float_50;

constexpr std::int64_t kExactAt100 = static_cast<std::int64_t>(UINT64_MAX / 100);

template <class T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = std::min(sizeof(T), size);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

std::size_t codePoints(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

// The digits of an amount text, after checking its padding, sign and grouping.
std::string checkedDigits(std::string_view text, std::string_view sep, bool& negative) {
    const auto expect = [&](bool holds, const char* what) {
        if (!holds) {
            check(false, what, text);
        }
    };
    const std::size_t width = codePoints(text);
    expect(width >= 100, "an amount text narrower than 100");
    const std::size_t spaces = text.find_first_not_of(' ');
    expect(spaces != std::string_view::npos, "an amount text of spaces only");
    std::string_view body = text.substr(spaces);
    expect(spaces == 0 || width == 100, "padding beyond 100");
    negative = body.starts_with('-');
    if (negative) {
        body.remove_prefix(1);
    }
    std::string digits;
    std::size_t group = 0;  // digits since the last separator
    bool firstGroup = true;
    while (!body.empty()) {
        if (!sep.empty() && body.starts_with(sep)) {
            expect(group == 3 || (firstGroup && group >= 1 && group <= 3), "a group's size");
            body.remove_prefix(sep.size());
            group = 0;
            firstGroup = false;
            continue;
        }
        expect(body.front() >= '0' && body.front() <= '9', "a byte that is no digit");
        digits += body.front();
        body.remove_prefix(1);
        ++group;
    }
    expect(!digits.empty() && (firstGroup ? (sep.empty() || group <= 3) : group == 3),
           "the last group's size");
    expect(digits == "0" || digits.front() != '0', "a leading zero");
    expect(!(negative && digits == "0"), "a signed zero");
    return digits;
}

void checkAmount(const Extended& value, std::string_view sep) {
    const std::string text = lw::amountText(value, sep);
    const auto expect = [&](bool holds, const char* what) {
        if (!holds) {
            check(false, what, value.str(25) + " -> " + text);
        }
    };
    bool negative = false;
    const Wide n(checkedDigits(text, sep, negative));
    const Wide magnitude = abs(Wide(value));
    if (n != 0) {
        expect(negative == (value < 0), "the sign");
    }
    expect(abs(n - magnitude) <= Wide(0.5) + magnitude * Wide(1e-17), "the rounding");
    if (magnitude < Wide(1e18) && trunc(magnitude) == magnitude) {
        expect(n == magnitude, "a whole value changed");
    }
    if (magnitude < Wide(1e17) && magnitude - trunc(magnitude) == Wide(0.5)) {
        expect(n == trunc(magnitude) + 1, "a half not rounded away from zero");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string_view separators[] = {"",  ".",        ",",           "'",
                                                  " ", "\xC2\xA0", "\xE2\x80\xAF"};
    const auto significand = take<std::uint64_t>(data, size);
    const auto exponent = take<std::int16_t>(data, size);
    const auto sign = take<std::uint8_t>(data, size);
    const auto choice = take<std::uint8_t>(data, size);
    const std::string_view sep = separators[choice % std::size(separators)];

    // Mostly values of up to a few hundred digits; an odd exponent field spans the whole range.
    const int scale = exponent % 2 != 0 ? exponent / 2 : exponent % 256;
    Extended value = ldexp(Extended(significand), scale - 63);
    if (sign & 1) {
        value = -value;
    }
    if (!isfinite(value)) {
        return 0;
    }
    checkAmount(value, sep);

    const auto total = take<std::int64_t>(data, size);
    const auto percent = take<std::int32_t>(data, size);
    const auto captions = lw::amountCaptions(total, percent, sep);
    for (const std::string& caption : captions) {
        check(caption.ends_with(" Credits"), "a caption's end", caption);
    }
    const std::string income = lw::amountText(Extended(total), sep) + " Credits";
    check(captions[0] == income, "the income caption", captions[0]);
    const std::string zero = lw::amountText(Extended(0), sep) + " Credits";
    if (percent == 0) {
        check(captions[1] == zero && captions[2] == income, "the amounts at rate 0");
    }
    // total * 100 rounds on its way into Extended once it needs more than 64 bits; below that
    // the org share at 100 % is the total exactly.
    if (percent == 100 && total > -kExactAt100 && total < kExactAt100) {
        check(captions[1] == income && captions[2] == zero, "the amounts at rate 100");
    }
    return 0;
}

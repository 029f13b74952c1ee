// strToInt and spinTextValue against a plain reference: leading spaces, one sign, then decimal
// digits (for strToInt also hexadecimal ones after "$", "0x" or "0X") and nothing else, with a
// signed value in the 32-bit range. strToInt throws for every other text, quoting it.
#include <cstdint>
#include <optional>
#include <string>

#include "core/error.h"
#include "core/int_conversion.h"
#include "fuzz_input.h"

namespace {

std::optional<std::int32_t> reference(std::string_view text, bool hex) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (hex && text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (hex && (text.starts_with("0x") || text.starts_with("0X"))) {
        base = 16;
        text.remove_prefix(2);
    }
    const std::string_view digits = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.empty() || text.find_first_not_of(digits) != std::string_view::npos) {
        return std::nullopt;
    }
    // Without leading zeros, more than 10 decimal or 8 hexadecimal digits is out of range.
    const std::size_t significant = text.find_first_not_of('0');
    text = significant == std::string_view::npos ? std::string_view("0") : text.substr(significant);
    if (text.size() > (base == 16 ? 8u : 10u)) {
        return std::nullopt;
    }
    const std::int64_t magnitude = std::stoll(std::string(text), nullptr, base);
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto expected = reference(text, true);
    try {
        const std::int32_t value = lw::strToInt(text);
        lw::fuzz::check(expected == value, "strToInt accepts or misreads a text", text);
    } catch (const lw::Error& e) {
        lw::fuzz::check(!expected, "strToInt refuses an integer", text);
        // what() is a C string: a message that holds a NUL ends there.
        const std::string message = "'" + std::string(text) + "' is not a valid integer value";
        lw::fuzz::check(e.what() == message.substr(0, message.find('\0')), "strToInt's message",
                        e.what());
    }

    lw::fuzz::check(lw::spinTextValue(text) == reference(text, false).value_or(0),
                    "spinTextValue differs", text);
    return 0;
}

// creditValue against a plain reference: the leftmost run of ASCII digits as a decimal number,
// nothing without a digit, and the error quoting the run when it is above 2,147,483,647. The
// bytes are also read as a shop log, whose sum must be that of its lines' values or the error
// of its first line that has too large a run.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "core/earnings.h"
#include "core/error.h"
#include "fuzz_input.h"

namespace {

using Result = std::variant<std::optional<std::int64_t>, std::string>;  // value, or message

Result reference(std::string_view line) {
    const std::size_t first = line.find_first_of("0123456789");
    if (first == std::string_view::npos) {
        return std::optional<std::int64_t>();
    }
    const std::string_view run =
        line.substr(first, line.find_first_not_of("0123456789", first) - first);
    std::string_view significant = run.substr(std::min(run.find_first_not_of('0'), run.size()));
    if (significant.size() > 10 ||
        (significant.size() == 10 && significant > std::string_view("2147483647"))) {
        return "'" + std::string(run) + "' is not a valid integer value";
    }
    return std::optional<std::int64_t>(significant.empty() ? 0
                                                           : std::stoll(std::string(significant)));
}

template <class Fn>
Result outcome(Fn&& fn) {
    try {
        return fn();
    } catch (const lw::Error& e) {
        return std::string(e.what());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Result value = outcome([&]() -> Result {
        const auto v = lw::creditValue(bytes);
        return v ? std::optional<std::int64_t>(*v) : std::nullopt;
    });
    lw::fuzz::check(value == reference(bytes), "creditValue differs", bytes);

    lw::LogLines lines;
    lines.appendFile(bytes);
    Result expectedSum = std::optional<std::int64_t>(0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Result r = reference(lines[i]);
        if (std::holds_alternative<std::string>(r)) {
            expectedSum = r;
            break;
        }
        auto& sum = std::get<std::optional<std::int64_t>>(expectedSum);
        *sum += std::get<std::optional<std::int64_t>>(r).value_or(0);
    }
    const Result sum = outcome([&]() -> Result { return std::optional(lw::sumCredits(lines)); });
    lw::fuzz::check(sum == expectedSum, "sumCredits differs", bytes);
    return 0;
}

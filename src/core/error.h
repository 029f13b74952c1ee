#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace lw {

// The one error type of the program. Its message is the exact text that the error box shows
// (before the box adds its full stop); the window catches it at the edge of every handler.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The text the error box shows for an error message: the message, with a full stop added when
// its last byte sorts after "." (an empty message stays empty).
std::string errorBoxText(std::string_view message);

}  // namespace lw

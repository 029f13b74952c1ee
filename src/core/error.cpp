#include "core/error.h"

namespace lw {

std::string errorBoxText(std::string_view message) {
    std::string text(message);
    // Compared as an unsigned byte, so that letters of the upper code-page half get the stop too.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return text;
}

}  // namespace lw

#include "app/TextFormat.h"

#include <charconv>
#include <system_error>

namespace tilewise {

std::string formatNumber(double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc{} ? std::string{buffer, end} : std::string{"?"};
}

std::string formatRect(const Rect& rect) {
    return formatNumber(rect.origin.x) + "," + formatNumber(rect.origin.y) + " " +
           formatNumber(rect.size.width) + "x" + formatNumber(rect.size.height);
}

}  // namespace tilewise

#include "platform/sim/SimDisplays.h"

#include <charconv>
#include <cmath>
#include <regex>
#include <sstream>

namespace tilewise::sim {
namespace {

using ParseResult = std::expected<std::vector<SimDisplay>, std::string>;

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || rest != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<Rect> geometry(const std::string& token) {
    static const std::regex pattern{
        R"((\d+(?:\.\d+)?)x(\d+(?:\.\d+)?)([+-]\d+(?:\.\d+)?)([+-]\d+(?:\.\d+)?))"};
    std::smatch match;
    if (!std::regex_match(token, match, pattern)) {
        return std::nullopt;
    }
    const auto signedValue = [&](int index) {
        const std::string text = match[index].str();
        const double magnitude = *number(std::string_view{text}.substr(1));
        return text[0] == '-' ? -magnitude : magnitude;
    };
    return Rect{signedValue(3), signedValue(4), *number(match[1].str()), *number(match[2].str())};
}

std::optional<Rect> rectangle(const std::string& token) {
    std::vector<double> values;
    std::stringstream stream{token};
    for (std::string part; std::getline(stream, part, ',');) {
        const auto value = number(part);
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
    }
    if (values.size() != 4) {
        return std::nullopt;
    }
    return Rect{values[0], values[1], values[2], values[3]};
}

std::vector<std::string> tokens(std::string_view description) {
    std::string spaced;
    for (const char c : description) {
        spaced += c == ';' ? ' ' : c;
    }
    std::vector<std::string> all;
    std::stringstream stream{spaced};
    for (std::string token; stream >> token;) {
        // "1920x1080+0+0,1280x1024+1920+0": geometries joined by commas are separate displays.
        if (token.find('x') != std::string::npos && token.find(',') != std::string::npos) {
            std::stringstream joined{token};
            for (std::string part; std::getline(joined, part, ',');) {
                all.push_back(part);
            }
        } else {
            all.push_back(token);
        }
    }
    return all;
}

std::optional<std::string> applyOption(SimDisplay& display, const std::string& keyword,
                                       const std::string& argument) {
    if (keyword == "visible") {
        const auto visible = rectangle(argument);
        if (!visible) {
            return "bad visible area \"" + argument + "\"";
        }
        display.visibleFrame = *visible;
    } else if (keyword == "scale") {
        const auto scale = number(argument);
        if (!scale || *scale <= 0) {
            return "bad scale \"" + argument + "\"";
        }
        display.backingScale = *scale;
    } else if (keyword == "id") {
        std::uint32_t id = 0;
        const auto [rest, error] =
            std::from_chars(argument.data(), argument.data() + argument.size(), id);
        if (error != std::errc{} || rest != argument.data() + argument.size()) {
            return "bad id \"" + argument + "\"";
        }
        display.id = id;
    } else if (keyword == "menubar") {
        const auto height = number(argument);
        if (!height || *height < 0) {
            return "bad menu bar height \"" + argument + "\"";
        }
        display.menuBarHeight = *height;
    } else {
        return "unknown option \"" + keyword + "\"";
    }
    return std::nullopt;
}

}  // namespace

ParseResult parseDisplays(std::string_view description) {
    std::vector<SimDisplay> displays;
    const auto all = tokens(description);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (const auto frame = geometry(all[i])) {
            const auto id = static_cast<std::uint32_t>(displays.size() + 1);
            displays.push_back({id, *frame, *frame, 1, std::nullopt});
            continue;
        }
        if (displays.empty()) {
            return std::unexpected("expected a display such as 1920x1080+0+0, found \"" + all[i] +
                                   "\"");
        }
        if (all[i] == "noid") {
            displays.back().id.reset();
            continue;
        }
        if (i + 1 == all.size()) {
            return std::unexpected("\"" + all[i] + "\" needs a value");
        }
        if (auto problem = applyOption(displays.back(), all[i], all[i + 1])) {
            return std::unexpected(std::move(*problem));
        }
        ++i;
    }
    return displays;
}

}  // namespace tilewise::sim

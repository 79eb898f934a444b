#include "core/SettingsCoder.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <concepts>
#include <iterator>
#include <optional>
#include <utility>

namespace tilewise {
namespace {

// Objects are std::maps, so the keys of every object come out sorted.
using Json = nlohmann::json;

constexpr int kIndent = 2;
// Files from before versioning, and hand-edited ones without a version, read as this one.
constexpr std::int64_t kFirstSchemaVersion = 1;

// Reading stops at the first problem anywhere in the document. Unwinding straight to `decode`
// keeps every reader a plain function of its JSON value; nothing of it leaves this file.
struct ReadFailure {
    std::string message;
};

// Where a value sits in the document. Spelled out only when reading fails there: building the
// text for every value read would cost more than the reading.
struct Path {
    const Path* parent = nullptr;
    const char* key = nullptr;
    std::size_t index = 0;

    Path member(const char* name) const { return {this, name, 0}; }
    Path element(std::size_t i) const { return {this, nullptr, i}; }

    std::string text() const {
        if (parent == nullptr)
            return {};
        const auto prefix = parent->text();
        if (key == nullptr)
            return prefix + "[" + std::to_string(index) + "]";
        return prefix.empty() ? std::string(key) : prefix + "." + key;
    }
};

[[noreturn]] void fail(const Path& path, const std::string& problem) {
    const auto where = path.text();
    throw ReadFailure{(where.empty() ? "document" : where) + ": " + problem};
}

// The library prefixes its messages with "[json.exception.<kind>.<id>] ", noise to a user.
std::string withoutLibraryTag(std::string message) {
    if (message.starts_with("[json.exception.")) {
        if (const auto end = message.find("] "); end != std::string::npos)
            message.erase(0, end + 2);
    }
    return message;
}

void requireObject(const Json& value, const Path& path) {
    if (!value.is_object())
        fail(path, std::string("expected an object, found ") + value.type_name());
}

template <typename Read>
auto readRequired(const Json& object, const char* key, const Path& path, Read read) {
    const auto at = path.member(key);
    const auto found = object.find(key);
    if (found == object.end())
        fail(at, "key is missing");
    return read(*found, at);
}

// Missing and null both mean "not given": the field keeps its default.
const Json* given(const Json& object, const char* key) {
    const auto found = object.find(key);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

template <typename Field, typename Read>
void readGiven(const Json& object, const Path& path, const char* key, Field& field, Read read) {
    if (const auto* value = given(object, key))
        field = read(*value, path.member(key));
}

template <std::integral T>
std::string integerKind() {
    return std::string(std::is_signed_v<T> ? "a signed " : "an unsigned ") +
           std::to_string(sizeof(T) * 8) + "-bit integer";
}

template <std::integral T, std::integral From>
std::optional<T> narrowed(From n) {
    return std::in_range<T>(n) ? std::optional<T>(static_cast<T>(n)) : std::nullopt;
}

// Some writers give whole numbers a fraction part ("6.0"); only the value counts.
template <std::integral T>
std::optional<T> wholeNumber(double value) {
    if (std::trunc(value) != value)
        return std::nullopt;
    if (value >= 0 && value < 0x1p64) {
        return narrowed<T>(static_cast<std::uint64_t>(value));
    }
    if (value < 0 && value >= -0x1p63) {
        return narrowed<T>(static_cast<std::int64_t>(value));
    }
    return std::nullopt;
}

template <std::integral T>
std::optional<T> fitted(const Json& value) {
    if (value.is_number_unsigned()) {
        return narrowed<T>(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) {
        return narrowed<T>(value.get<std::int64_t>());
    }
    return wholeNumber<T>(value.get<double>());
}

template <std::integral T>
T readInteger(const Json& value, const Path& path) {
    if (!value.is_number())
        fail(path, "expected " + integerKind<T>() + ", found " + value.type_name());
    const auto result = fitted<T>(value);
    if (!result)
        fail(path, value.dump() + " is not " + integerKind<T>());
    return *result;
}

double readNumber(const Json& value, const Path& path) {
    if (!value.is_number())
        fail(path, std::string("expected a number, found ") + value.type_name());
    return value.get<double>();
}

bool readBool(const Json& value, const Path& path) {
    if (!value.is_boolean())
        fail(path, std::string("expected a boolean, found ") + value.type_name());
    return value.get<bool>();
}

std::string readString(const Json& value, const Path& path) {
    if (!value.is_string())
        fail(path, std::string("expected a string, found ") + value.type_name());
    return value.get<std::string>();
}

Uuid readUuid(const Json& value, const Path& path) {
    const auto text = readString(value, path);
    const auto uuid = Uuid::parse(text);
    if (!uuid)
        fail(path, "“" + text + "” is not a UUID");
    return *uuid;
}

PanelPlacement readPlacement(const Json& value, const Path& path) {
    const auto text = readString(value, path);
    const auto placement = panelPlacementFromRawValue(text);
    if (!placement)
        fail(path, "“" + text + "” names no panel placement");
    return *placement;
}

GridSize readGrid(const Json& value, const Path& path) {
    requireObject(value, path);
    return {readRequired(value, "columns", path, readInteger<std::int64_t>),
            readRequired(value, "rows", path, readInteger<std::int64_t>)};
}

CellSelection readSelection(const Json& value, const Path& path) {
    requireObject(value, path);
    return {readRequired(value, "startColumn", path, readInteger<std::int64_t>),
            readRequired(value, "startRow", path, readInteger<std::int64_t>),
            readRequired(value, "endColumn", path, readInteger<std::int64_t>),
            readRequired(value, "endRow", path, readInteger<std::int64_t>)};
}

EdgeInsets readInsets(const Json& value, const Path& path) {
    requireObject(value, path);
    return {readRequired(value, "top", path, readNumber),
            readRequired(value, "left", path, readNumber),
            readRequired(value, "bottom", path, readNumber),
            readRequired(value, "right", path, readNumber)};
}

Margins readMargins(const Json& value, const Path& path) {
    requireObject(value, path);
    return {readRequired(value, "enabled", path, readBool),
            readRequired(value, "screen", path, readInsets),
            readRequired(value, "horizontalSpacing", path, readNumber),
            readRequired(value, "verticalSpacing", path, readNumber)};
}

KeyCombo readShortcut(const Json& value, const Path& path) {
    requireObject(value, path);
    return {readRequired(value, "keyCode", path, readInteger<std::uint16_t>),
            Modifiers{readRequired(value, "modifiers", path, readInteger<std::uint64_t>)}};
}

SavedLayout readLayout(const Json& value, const Path& path) {
    requireObject(value, path);
    SavedLayout layout{
        .id = readRequired(value, "id", path, readUuid),
        .name = readRequired(value, "name", path, readString),
        .enabled = readRequired(value, "enabled", path, readBool),
        .isGlobal = readRequired(value, "isGlobal", path, readBool),
        .shortcut = std::nullopt,
        .grid = readRequired(value, "grid", path, readGrid),
        .selection = readRequired(value, "selection", path, readSelection),
    };
    if (const auto* shortcut = given(value, "shortcut"))
        layout.shortcut = readShortcut(*shortcut, path.member("shortcut"));
    return layout;
}

std::vector<SavedLayout> readLayouts(const Json& value, const Path& path) {
    if (!value.is_array())
        fail(path, std::string("expected an array, found ") + value.type_name());
    std::vector<SavedLayout> layouts;
    layouts.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        layouts.push_back(readLayout(value[i], path.element(i)));
    }
    return layouts;
}

TilewiseSettings readDocument(const Json& root) {
    const Path document;
    requireObject(root, document);
    auto settings = TilewiseSettings::defaults();
    // A file without a version predates versioning; decode raises it.
    settings.schemaVersion = 0;
    readGiven(root, document, "schemaVersion", settings.schemaVersion, readInteger<std::int64_t>);
    readGiven(root, document, "grid", settings.grid, readGrid);
    readGiven(root, document, "margins", settings.margins, readMargins);
    readGiven(root, document, "animationsEnabled", settings.animationsEnabled, readBool);
    readGiven(root, document, "showResizePreview", settings.showResizePreview, readBool);
    readGiven(root, document, "keepPanelOpen", settings.keepPanelOpen, readBool);
    readGiven(root, document, "selectOnScreen", settings.selectOnScreen, readBool);
    readGiven(root, document, "panelShortcutEnabled", settings.panelShortcutEnabled, readBool);
    readGiven(root, document, "panelShortcut", settings.panelShortcut, readShortcut);
    readGiven(root, document, "monitorCycling", settings.monitorCycling, readBool);
    readGiven(root, document, "showMenuBarIcon", settings.showMenuBarIcon, readBool);
    readGiven(root, document, "launchAtLogin", settings.launchAtLogin, readBool);
    readGiven(root, document, "panelPlacement", settings.panelPlacement, readPlacement);
    readGiven(root, document, "layouts", settings.layouts, readLayouts);
    return settings;
}

std::string sizeText(std::size_t bytes) {
    return std::to_string(bytes) + " bytes, more than the " +
           std::to_string(SettingsCoder::kMaximumDocumentSize) + " a settings file may hold";
}

// The parser builds the whole tree before anything is read from it, so a deeply nested file
// would take hundreds of megabytes first; and it stops quietly at a NUL byte, which would let
// anything after one pass unseen. One pass over the bytes refuses both before parsing.
std::optional<std::string> structuralProblem(std::string_view bytes) {
    if (bytes.size() > SettingsCoder::kMaximumDocumentSize)
        return "the file is " + sizeText(bytes.size());
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (std::size_t offset = 0; offset < bytes.size(); ++offset) {
        const char byte = bytes[offset];
        if (byte == '\0')
            return "byte " + std::to_string(offset) +
                   " is a NUL byte, which no JSON document holds";
        if (escaped) {
            escaped = false;
        } else if (inString) {
            escaped = byte == '\\';
            inString = byte != '"';
        } else if (byte == '"') {
            inString = true;
        } else if (byte == '[' || byte == '{') {
            if (++depth > SettingsCoder::kMaximumNesting)
                return "arrays and objects are nested more than " +
                       std::to_string(SettingsCoder::kMaximumNesting) + " levels deep";
        } else if ((byte == ']' || byte == '}') && depth > 0) {
            --depth;
        }
    }
    return std::nullopt;
}

std::expected<TilewiseSettings, std::string> read(std::string_view bytes) {
    if (const auto problem = structuralProblem(bytes))
        return std::unexpected(*problem);
    try {
        return readDocument(Json::parse(bytes.begin(), bytes.end()));
    } catch (const ReadFailure& failure) {
        return std::unexpected(failure.message);
    } catch (const std::exception& error) {
        // Parse errors, numbers beyond a double's range, and running out of memory.
        return std::unexpected(withoutLibraryTag(error.what()));
    }
}

// Members are assigned one by one: the library's brace lists build every member as a
// two-element array first, which made encoding three times slower.
Json encodeGrid(GridSize grid) {
    Json object = Json::object();
    object["columns"] = grid.columns;
    object["rows"] = grid.rows;
    return object;
}

Json encodeShortcut(const KeyCombo& shortcut) {
    Json object = Json::object();
    object["keyCode"] = shortcut.keyCode;
    object["modifiers"] = shortcut.modifiers.rawValue();
    return object;
}

Json encodeSelection(const CellSelection& selection) {
    Json object = Json::object();
    object["startColumn"] = selection.startColumn();
    object["startRow"] = selection.startRow();
    object["endColumn"] = selection.endColumn();
    object["endRow"] = selection.endRow();
    return object;
}

Json encodeMargins(const Margins& margins) {
    Json screen = Json::object();
    screen["top"] = margins.screen.top;
    screen["left"] = margins.screen.left;
    screen["bottom"] = margins.screen.bottom;
    screen["right"] = margins.screen.right;
    Json object = Json::object();
    object["enabled"] = margins.enabled;
    object["screen"] = std::move(screen);
    object["horizontalSpacing"] = margins.horizontalSpacing;
    object["verticalSpacing"] = margins.verticalSpacing;
    return object;
}

Json encodeLayout(const SavedLayout& layout) {
    Json object = Json::object();
    object["id"] = layout.id.string();
    object["name"] = layout.name;
    object["enabled"] = layout.enabled;
    object["isGlobal"] = layout.isGlobal;
    object["grid"] = encodeGrid(layout.grid);
    object["selection"] = encodeSelection(layout.selection);
    if (layout.shortcut)
        object["shortcut"] = encodeShortcut(*layout.shortcut);
    return object;
}

Json encodeSwitches(const TilewiseSettings& settings) {
    Json object = Json::object();
    object["animationsEnabled"] = settings.animationsEnabled;
    object["showResizePreview"] = settings.showResizePreview;
    object["keepPanelOpen"] = settings.keepPanelOpen;
    object["selectOnScreen"] = settings.selectOnScreen;
    object["panelShortcutEnabled"] = settings.panelShortcutEnabled;
    object["monitorCycling"] = settings.monitorCycling;
    object["showMenuBarIcon"] = settings.showMenuBarIcon;
    object["launchAtLogin"] = settings.launchAtLogin;
    return object;
}

Json encodeDocument(const TilewiseSettings& settings) {
    Json object = encodeSwitches(settings);
    object["schemaVersion"] = settings.schemaVersion;
    object["grid"] = encodeGrid(settings.grid);
    object["margins"] = encodeMargins(settings.margins);
    object["panelPlacement"] = rawValue(settings.panelPlacement);
    if (settings.panelShortcut)
        object["panelShortcut"] = encodeShortcut(*settings.panelShortcut);
    Json& layouts = object["layouts"] = Json::array();
    for (const auto& layout : settings.layouts) {
        layouts.push_back(encodeLayout(layout));
    }
    return object;
}

// JSON has no infinity or NaN; the library would write null, which reads back as the default
// margins and so silently replaces the user's values.
std::optional<std::string> nonFiniteMargin(const Margins& margins) {
    const std::pair<const char*, double> values[] = {
        {"margins.screen.top", margins.screen.top},
        {"margins.screen.left", margins.screen.left},
        {"margins.screen.bottom", margins.screen.bottom},
        {"margins.screen.right", margins.screen.right},
        {"margins.horizontalSpacing", margins.horizontalSpacing},
        {"margins.verticalSpacing", margins.verticalSpacing},
    };
    for (const auto& [name, value] : values) {
        if (!std::isfinite(value))
            return name + std::string(" is ") + std::to_string(value) + ", not a finite number";
    }
    return std::nullopt;
}

SettingsEncodingError encodingError(const std::string& reason) {
    return {"The settings could not be written: " + reason + "."};
}

}  // namespace

std::string SettingsCodingError::description() const {
    if (const auto* unreadable = std::get_if<Unreadable>(&value))
        return "The settings file could not be read: " + unreadable->message;
    std::string text;
    for (const auto& issue : std::get<Invalid>(value).issues) {
        if (!text.empty())
            text += '\n';
        text += issue.description();
    }
    return text;
}

namespace SettingsCoder {

std::expected<std::string, SettingsEncodingError> encode(const TilewiseSettings& settings) {
    if (const auto problem = nonFiniteMargin(settings.margins))
        return std::unexpected(encodingError(*problem));
    try {
        const auto document = encodeDocument(settings);
        auto text = document.dump(kIndent, ' ', false, Json::error_handler_t::strict) + "\n";
        // Indentation alone can take a document that was read past the size that is read back.
        if (text.size() > kMaximumDocumentSize)
            text = document.dump(-1, ' ', false, Json::error_handler_t::strict) + "\n";
        if (text.size() > kMaximumDocumentSize)
            return std::unexpected(encodingError("they would take " + sizeText(text.size())));
        return text;
    } catch (const std::exception& error) {
        // A name that is not valid UTF-8 cannot be written as a JSON string.
        return std::unexpected(encodingError(withoutLibraryTag(error.what())));
    }
}

std::expected<TilewiseSettings, SettingsCodingError> decode(std::string_view bytes) {
    auto settings = read(bytes);
    if (!settings)
        return std::unexpected(
            SettingsCodingError{SettingsCodingError::Unreadable{settings.error()}});
    settings->schemaVersion = std::max(settings->schemaVersion, kFirstSchemaVersion);
    std::vector<SettingsIssue> fatal;
    std::ranges::copy_if(settings->validate(), std::back_inserter(fatal), &SettingsIssue::isFatal);
    if (!fatal.empty())
        return std::unexpected(SettingsCodingError{SettingsCodingError::Invalid{std::move(fatal)}});
    return std::move(*settings);
}

}  // namespace SettingsCoder
}  // namespace tilewise

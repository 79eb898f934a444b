#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>

#include "app/CommandReply.h"
#include "app/InstanceRequest.h"

namespace tilewise {

/// The instance socket's wire format: one JSON object per line each way.
namespace InstanceProtocol {

/// The longest line either side accepts, line feed excluded.
inline constexpr std::size_t kMaxLineLength = 8192;

std::string encode(const InstanceRequest& request);
std::string encode(const CommandReply& reply);
/// The request of one line (without its line feed), or why it is not one.
std::expected<InstanceRequest, std::string> decodeRequest(std::string_view line);
std::expected<CommandReply, std::string> decodeReply(std::string_view line);

}  // namespace InstanceProtocol
}  // namespace tilewise

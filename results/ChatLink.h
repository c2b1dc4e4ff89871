#pragma once

#include <string>
#include <string_view>

namespace quorvin {

// The store's live-chat page, opened by the chat picture and the chat link.
std::string chatAddress(std::string_view host);

} // namespace quorvin

#pragma once

#include <string>
#include <string_view>

namespace quorvin {

// The store's live-chat page, opened by the chat picture and the chat link; SCHEME is "http" or
// "https", as for the store page.
std::string chatAddress(std::string_view scheme, std::string_view host);

} // namespace quorvin

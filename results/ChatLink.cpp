#include "ChatLink.h"

namespace quorvin {

std::string chatAddress(std::string_view scheme, std::string_view host) {
    return std::string(scheme) + "://" + std::string(host) +
           "/support/UserPreChat.aspx?ref=CustomerScanWindow";
}

} // namespace quorvin

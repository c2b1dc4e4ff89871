#include "ChatLink.h"

namespace quorvin {

std::string chatAddress(std::string_view host) {
    return "http://" + std::string(host) + "/support/UserPreChat.aspx?ref=CustomerScanWindow";
}

} // namespace quorvin

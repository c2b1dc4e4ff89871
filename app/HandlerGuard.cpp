#include "HandlerGuard.h"

#include <exception>

namespace quorvin::app {

bool runGuarded(const std::function<void()>& handler,
                const std::function<void(const std::string& message)>& failed) {
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = unexpectedErrorText;
    }
    if (failed)
        failed(message);
    return false;
}

} // namespace quorvin::app

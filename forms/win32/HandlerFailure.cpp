#include "HandlerFailure.h"

#include <utility>

namespace quorvin::win32forms {

namespace {
HandlerGuard& installedGuard() {
    static HandlerGuard guard;
    return guard;
}
} // namespace

void setHandlerGuard(HandlerGuard guard) {
    installedGuard() = std::move(guard);
}

bool runHandler(const std::function<void()>& handler) {
    if (installedGuard())
        return installedGuard()(handler);
    [&]() noexcept { handler(); }();
    return true;
}

} // namespace quorvin::win32forms

#include "HandlerFailure.h"

#include <exception>
#include <utility>

namespace quorvin::win32 {

namespace {
std::function<void(const std::string&)>& installedFailure() {
    static std::function<void(const std::string&)> failure;
    return failure;
}
} // namespace

void setHandlerFailure(std::function<void(const std::string& message)> failure) {
    installedFailure() = std::move(failure);
}

bool runHandler(const std::function<void()>& handler) {
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "An unexpected error ended the program.";
    }
    if (installedFailure())
        installedFailure()(message);
    return false;
}

} // namespace quorvin::win32

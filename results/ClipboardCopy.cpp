#include "ClipboardCopy.h"

#include <thread>

namespace quorvin {

void copyWithRetry(const std::function<bool()>& put, const ClipboardRetry& retry) {
    for (int attempt = 1; attempt <= retry.attempts; ++attempt) {
        if (put())
            return;
        if (attempt == retry.attempts)
            break;
        if (retry.wait)
            retry.wait(retry.pause);
        else
            std::this_thread::sleep_for(retry.pause);
    }
    throw ClipboardError("Copying to the clipboard failed: another program kept the clipboard "
                         "to itself for a second. Close it (a clipboard-history tool, a "
                         "remote-desktop session) and copy again.");
}

} // namespace quorvin

#pragma once

#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace quorvin {

// The 35-line plain-text report of one scan, every line ending in CR LF. The two memory lines
// carry the captions the display gave the installed and maximum memory labels.
std::string buildReport(const ScanRecord& record, const std::string& installedRamCaption,
                        const std::string& maximumRamCaption, const NumberFormat& format);

// The clipboard did not take the text.
class ClipboardError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How long a copy keeps trying while another program holds the clipboard: clipboard-history
// tools and remote-desktop sessions hold it for a moment. About a second in all.
struct ClipboardRetry {
    int attempts = 50;
    std::chrono::milliseconds pause{20};
    // How a pause is spent; the thread sleeps when none is given. A window thread answers what
    // other programs send it meanwhile: one emptying a clipboard we own waits for our answer.
    std::function<void(std::chrono::milliseconds)> wait;
};

// Puts the text on the clipboard through put, which answers false while another program holds
// the clipboard (and throws for any other failure); tries again until the retry is spent, then
// throws ClipboardError.
void copyWithRetry(const std::function<bool()>& put, const ClipboardRetry& retry = {});

} // namespace quorvin

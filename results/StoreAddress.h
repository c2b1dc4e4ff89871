#pragma once

#include "ResultsControls.h"
#include "scan/ScanRecord.h"
#include "scan/values/ScanValue.h"

#include <string>
#include <string_view>

namespace quorvin {

// Percent-encodes a query value as UTF-8 bytes (a blank as %20), so that "&", "#", "+", "%" and
// text beyond ASCII reach the store's server as the window shows them. Letters, digits, "-._~"
// and the "()," of the memory figures stay as they are.
std::string percentEncode(std::string_view value);

// A model that was replaced by, or reported as, "Not Available" gives way to the motherboard's
// product name. Changes the record.
void applyModelFallback(ScanRecord& record);

// The values the store page's query carries, in the order they are sent.
struct StoreQuery {
    std::string manufacturer;
    std::string modelName;
    std::string boardName;
    std::string maxMemory;  // the maximum memory caption, e.g. "8 GB"
    std::string totalSlots; // the whole slots caption
    std::string memorySpeeds;
    std::string memorySizes;
    std::string processorSpeed;
};

// "<scheme>://<host>/mc/quorvin.asp?manufacturer=...&site=Brindlemark", each value
// percent-encoded; SCHEME is "http" or "https".
std::string storeAddress(std::string_view scheme, std::string_view host, const StoreQuery& query);

// Where an address goes that the store page asks to open outside its frame: a link the user
// clicked with a new window as its target, a script's window.open, "open in new window", or a
// download. The program opens no browser window of its own and writes no file: the user's own
// browser or mail program takes it, or nothing does.
enum class PageRequest {
    SystemHandler, // http, https or mailto, asked for by the user: ShellExecute / openUrl
    Refused,       // anything else, and every pop-up no click asked for: dropped silently
};

// The decision for ADDRESS. USER_ASKED says whether a click or key of the user's asked for it
// (a pop-up a script opens on its own does not).
PageRequest pageRequest(std::string_view address, bool userAsked);

// Applies the model fallback, builds the address from the record and the two captions, and
// navigates the browser to it without waiting for the page.
void openStorePage(ScanRecord& record, ResultsControls& controls, std::string_view scheme,
                   std::string_view host, const NumberFormat& format);

// The store's live-chat page, opened by the chat picture and the chat link; SCHEME is "http" or
// "https", as for the store page.
std::string chatAddress(std::string_view scheme, std::string_view host);

} // namespace quorvin

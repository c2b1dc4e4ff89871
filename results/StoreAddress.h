#pragma once

#include "ResultsControls.h"
#include "scan/ScanRecord.h"
#include "scan/values/NumberText.h"

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

// "http://<host>/mc/quorvin.asp?manufacturer=...&site=Brindlemark", each value percent-encoded.
std::string storeAddress(std::string_view host, const StoreQuery& query);

// Applies the model fallback, builds the address from the record and the two captions, and
// navigates the browser to it without waiting for the page.
void openStorePage(ScanRecord& record, ResultsControls& controls, std::string_view host,
                   const NumberFormat& format);

} // namespace quorvin

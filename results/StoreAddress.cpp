#include "StoreAddress.h"

#include "scan/values/ScanValue.h"

#include <array>

namespace quorvin {

namespace {
bool keptAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '(' || c == ')' || c == ',';
}
} // namespace

std::string percentEncode(std::string_view value) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptAsIs(c)) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

void applyModelFallback(ScanRecord& r) {
    if (r.scanSysModel.isText() && r.scanSysModel.asText() == "Not Available")
        r.scanSysModel = r.scanBoardProduct;
}

std::string storeAddress(std::string_view scheme, std::string_view host, const StoreQuery& q) {
    const std::array<std::pair<const char*, const std::string*>, 8> pairs{{
        {"?manufacturer=", &q.manufacturer},
        {"&mdlname=", &q.modelName},
        {"&bName=", &q.boardName},
        {"&maxmemory=", &q.maxMemory},
        {"&totalslots=", &q.totalSlots},
        {"&memoryspeeds=", &q.memorySpeeds},
        {"&memorysize=", &q.memorySizes},
        {"&processorspeed=", &q.processorSpeed},
    }};
    std::string address = std::string(scheme) + "://" + std::string(host) + "/mc/quorvin.asp";
    for (const auto& [key, value] : pairs)
        address += key + percentEncode(*value);
    return address + "&site=Brindlemark";
}

PageRequest pageRequest(std::string_view address, bool userAsked) {
    if (!userAsked)
        return PageRequest::Refused;
    // A control character or a blank could split or bend the command line of whatever runs the
    // address; a page's own link never needs one unencoded.
    for (const char ch : address) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F)
            return PageRequest::Refused;
    }
    const auto colon = address.find(':');
    if (colon == std::string_view::npos)
        return PageRequest::Refused;
    const std::string_view scheme = address.substr(0, colon);
    const std::string_view rest = address.substr(colon + 1);
    const bool web = (equalsIgnoreCase(scheme, "http") || equalsIgnoreCase(scheme, "https")) &&
                     rest.size() > 2 && rest.substr(0, 2) == "//";
    const bool mail = equalsIgnoreCase(scheme, "mailto") && !rest.empty();
    return web || mail ? PageRequest::SystemHandler : PageRequest::Refused;
}

void openStorePage(ScanRecord& r, ResultsControls& controls, std::string_view scheme,
                   std::string_view host, const NumberFormat& format) {
    applyModelFallback(r);
    StoreQuery query;
    query.maxMemory = controls.caption(ValueLabel::Label36);
    query.totalSlots = controls.caption(ValueLabel::Label37);
    query.manufacturer = joinText(r.scanSysManufacturer, format);
    query.modelName = joinText(r.scanSysModel, format);
    query.boardName = joinText(r.scanBoardProduct, format);
    query.memorySpeeds = joinText(r.scanModSpeeds, format);
    query.memorySizes = joinText(r.scanModCapacities, format);
    query.processorSpeed = joinText(r.scanCpuClock, format);
    controls.navigate(storeAddress(scheme, host, query));
}

std::string chatAddress(std::string_view scheme, std::string_view host) {
    return std::string(scheme) + "://" + std::string(host) +
           "/support/UserPreChat.aspx?ref=CustomerScanWindow";
}

} // namespace quorvin

#include "Report.h"

#include <string_view>
#include <thread>

namespace quorvin {

namespace {

// Where a line's value comes from: nowhere, a field of the scan record, or one of the two memory
// captions the display has just set.
enum class Caption { None, InstalledRam, MaximumRam };

struct ReportLine {
    std::string_view label;
    const ScanValue ScanRecord::*field = nullptr;
    Caption caption = Caption::None;
};

using R = ScanRecord;

// The report, line by line. The labels are not uniform, and each stands as the store's support
// staff know it: "IdentifyingNumber" is one word, "System Manufacturer:" has no blank after its
// colon. Every banner is followed by an empty line, every block but the last ends with one.
constexpr ReportLine reportLines[] = {
    {"************System**********"},
    {""},
    {"System Manufacturer:", &R::scanSysManufacturer},
    {"System Model: ", &R::scanSysModel},
    {"System Version: ", &R::scanProductVersion},
    {"IdentifyingNumber: ", &R::scanProductNumber},
    {"System Type: ", &R::scanSysType},
    {""},
    {"************Motherboard**********"},
    {""},
    {"Mother Board Manufacturer: ", &R::scanBoardManufacturer},
    {"Motherboard Model: ", &R::scanBoardProduct},
    {""},
    {"************Processor**********"},
    {""},
    {"Processor: ", &R::scanCpuName},
    {"Processor Manufacturer: ", &R::scanCpuManufacturer},
    {"Processor Speed: ", &R::scanCpuClock},
    {"Processor FSB: ", &R::scanCpuBusClock},
    {""},
    {"************Bios**********"},
    {""},
    {"Bios: ", &R::scanBiosManufacturer},
    {"Version: ", &R::scanBiosVersion},
    {""},
    {"************Memory Details**********"},
    {""},
    {"Memory Manufacturer: "}, // the scan keeps no memory manufacturer: the label stands alone
    {"Installed RAM: ", nullptr, Caption::InstalledRam},
    {"Maximum RAM: ", nullptr, Caption::MaximumRam},
    {"Total Slots: ", &R::scanTotalSlots},
    {"Capacity: ", &R::scanModCapacities},
    {"Memory Type: ", &R::scanModTypes},
    {"Speed: ", &R::scanModSpeeds},
    {"Slots: ", &R::scanModLocators},
};

} // namespace

std::string buildReport(const ScanRecord& record, const std::string& installedRamCaption,
                        const std::string& maximumRamCaption, const NumberFormat& format) {
    std::string report;
    for (const ReportLine& line : reportLines) {
        report += line.label;
        if (line.field != nullptr)
            report += joinText(record.*line.field, format);
        else if (line.caption == Caption::InstalledRam)
            report += installedRamCaption;
        else if (line.caption == Caption::MaximumRam)
            report += maximumRamCaption;
        report += "\r\n";
    }
    return report;
}

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

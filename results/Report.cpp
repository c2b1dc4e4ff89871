#include "Report.h"

namespace quorvin {

std::string buildReport(const ScanRecord& r, const std::string& installedRamCaption,
                        const std::string& maximumRamCaption, const NumberFormat& format) {
    std::string report;
    const auto line = [&](const std::string& text) { report += text + "\r\n"; };
    const auto field = [&](const char* label, const ScanValue& value) {
        line(label + joinText(value, format));
    };
    const auto banner = [&](const char* title) {
        line(std::string("************") + title + "**********");
        line("");
    };

    banner("System");
    field("System Manufacturer:", r.scanSysManufacturer);
    field("System Model: ", r.scanSysModel);
    field("System Version: ", r.scanProductVersion);
    field("IdentifyingNumber: ", r.scanProductNumber);
    field("System Type: ", r.scanSysType);
    line("");

    banner("Motherboard");
    field("Mother Board Manufacturer: ", r.scanBoardManufacturer);
    field("Motherboard Model: ", r.scanBoardProduct);
    line("");

    banner("Processor");
    field("Processor: ", r.scanCpuName);
    field("Processor Manufacturer: ", r.scanCpuManufacturer);
    field("Processor Speed: ", r.scanCpuClock);
    field("Processor FSB: ", r.scanCpuBusClock);
    line("");

    banner("Bios");
    field("Bios: ", r.scanBiosManufacturer);
    field("Version: ", r.scanBiosVersion);
    line("");

    banner("Memory Details");
    // The scan keeps no memory manufacturer, so the line carries its label alone.
    line("Memory Manufacturer: ");
    line("Installed RAM: " + installedRamCaption);
    line("Maximum RAM: " + maximumRamCaption);
    field("Total Slots: ", r.scanTotalSlots);
    field("Capacity: ", r.scanModCapacities);
    field("Memory Type: ", r.scanModTypes);
    field("Speed: ", r.scanModSpeeds);
    field("Slots: ", r.scanModLocators);
    return report;
}

} // namespace quorvin

#include "SystemQueries.h"

#include "InstanceLoop.h"
#include "ModuleCollection.h"
#include "ScanError.h"

namespace quorvin {

std::string sessionPath(std::string_view computer) {
    return "winmgmts:" + std::string("{impersonationLevel=impersonate}!\\\\") +
           std::string(computer) + "\\root\\cimv2";
}

void setWorkingValues(ScanRecord& record) {
    record.scanComputer = ScanValue::text(std::string(localComputer));
    record.scanUnit = 1024.0;
}

void openSession(const ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider) {
    session.scanService = provider.bind(sessionPath(joinText(record.scanComputer, NumberFormat{})));
}

std::optional<double> sizeOf(const ScanValue& value, std::string_view what) {
    switch (value.kind()) {
    case ScanValue::Kind::Empty:
    case ScanValue::Kind::Null:
        return std::nullopt;
    case ScanValue::Kind::Integer:
        return static_cast<double>(value.asInteger());
    case ScanValue::Kind::Double:
        return value.asDouble();
    case ScanValue::Kind::Text:
        if (const auto number = parseDecimal(value.asText()))
            return number;
        throw ScanError(std::string(what) + " is not a number: \"" + value.asText() + "\"");
    }
    return std::nullopt;
}

double gigabytesOf(const ScanValue& value, double divisor, std::string_view what) {
    const auto size = sizeOf(value, what);
    return size ? roundToHundredths(*size / divisor) : 0.0;
}

void queryComputerSystem(ScanRecord& r, WmiSession& session) {
    const double bytesPerGB = r.scanUnit * r.scanUnit * r.scanUnit;
    forEachInstance(session, "Select * from Win32_ComputerSystem", [&](const wmi::WmiObject& item) {
        r.scanSysManufacturer = item.get("manufacturer");
        r.scanSysModel = item.get("Model");
        r.scanInstalledGB = gigabytesOf(item.get("TotalPhysicalMemory"), bytesPerGB,
                                        "Win32_ComputerSystem.TotalPhysicalMemory");
        r.scanSysType = item.get("SystemType");
    });
}

void queryMemoryArray(ScanRecord& r, WmiSession& session) {
    const double kilobytesPerGB = r.scanUnit * r.scanUnit;
    forEachInstance(session, "Select * from Win32_PhysicalMemoryArray",
                    [&](const wmi::WmiObject& item) {
                        r.scanMaxGB = gigabytesOf(item.get("MaxCapacity"), kilobytesPerGB,
                                                  "Win32_PhysicalMemoryArray.MaxCapacity");
                        r.scanTotalSlots = item.get("MemoryDevices");
                    });
}

void queryProcessor(ScanRecord& r, WmiSession& session) {
    forEachInstance(session, "Select * from Win32_Processor", [&](const wmi::WmiObject& item) {
        r.scanCpuName = item.get("Name");
        r.scanCpuManufacturer = item.get("manufacturer");
        r.scanCpuClock = item.get("CurrentClockSpeed");
        r.scanCpuBusClock = item.get("extclock");
    });
}

void queryBios(ScanRecord& r, WmiSession& session) {
    forEachInstance(session, "Select * from Win32_Bios", [&](const wmi::WmiObject& item) {
        r.scanBiosManufacturer = item.get("manufacturer");
        r.scanBiosVersion = item.get("SMBIOSBIOSVersion");
    });
}

void queryComputerSystemProduct(ScanRecord& r, WmiSession& session) {
    forEachInstance(session, "Select * from Win32_ComputerSystemProduct",
                    [&](const wmi::WmiObject& item) {
                        r.scanProductNumber = item.get("IdentifyingNumber");
                        r.scanProductVendor = item.get("Vendor");
                        r.scanProductVersion = item.get("Version");
                    });
}

void queryBaseboard(ScanRecord& r, WmiSession& session) {
    forEachInstance(session, "Select * from Win32_Baseboard", [&](const wmi::WmiObject& item) {
        r.scanBoardManufacturer = item.get("manufacturer");
        r.scanBoardProduct = item.get("product");
    });
}

void runScanQueries(ScanRecord& record, WmiSession& session, wmi::WmiProvider& provider,
                    ModuleLists& lists, const NumberFormat& format) {
    setWorkingValues(record);
    openSession(record, session, provider);
    queryComputerSystem(record, session);
    queryMemoryArray(record, session);
    collectModules(record, session, lists, format);
    queryProcessor(record, session);
    queryBios(record, session);
    queryComputerSystemProduct(record, session);
    queryBaseboard(record, session);
}

} // namespace quorvin

#include "PublishedMachine.h"

#include "SmbiosBuilder.h"

#include <filesystem>

namespace quorvin::testing {

namespace {

constexpr const char* udevEntry = "S:disk/by-id/none\n"
                                  "I:4711\n"
                                  "E:MEMORY_ARRAY_LOCATION=System Board Or Motherboard\n"
                                  "E:MEMORY_ARRAY_MAX_CAPACITY=34359738368\n"
                                  "E:MEMORY_ARRAY_NUM_DEVICES=4\n"
                                  "E:MEMORY_DEVICE_0_SIZE=8589934592\n"
                                  "E:MEMORY_DEVICE_0_TYPE=DDR4\n"
                                  "E:MEMORY_DEVICE_0_SPEED_MTS=2400\n"
                                  "E:MEMORY_DEVICE_0_LOCATOR=ChannelA-DIMM0\n"
                                  "E:MEMORY_DEVICE_1_PRESENT=0\n"
                                  "E:MEMORY_DEVICE_1_LOCATOR=ChannelA-DIMM1\n"
                                  "E:MEMORY_DEVICE_2_SIZE=8589934592\n"
                                  "E:MEMORY_DEVICE_2_TYPE=DDR4\n"
                                  "E:MEMORY_DEVICE_2_SPEED_MTS=2400\n"
                                  "E:MEMORY_DEVICE_2_LOCATOR=ChannelB-DIMM0\n"
                                  "E:MEMORY_DEVICE_3_PRESENT=0\n"
                                  "E:MEMORY_DEVICE_3_LOCATOR=ChannelB-DIMM1\n"
                                  "G:systemd\n";

} // namespace

void writePublishedMachine(FakeTree& tree, bool withTables) {
    namespace fs = std::filesystem;
    if (withTables) {
        const Bytes table = realisticTable();
        for (const fs::path& file :
             {tree.write("sys/firmware/dmi/tables/smbios_entry_point",
                         entryPoint3(static_cast<std::uint32_t>(table.size()), 0x7A3E0000)),
              tree.write("sys/firmware/dmi/tables/DMI", table)})
            fs::permissions(file, fs::perms::owner_read);
    }
    const std::pair<const char*, const char*> dmiId[] = {
        {"bios_vendor", "American Megatrends Inc.\n"},
        {"bios_version", "F12\n"},
        {"sys_vendor", "Gigabyte Technology Co., Ltd.\n"},
        {"product_name", "Z390 AORUS PRO\n"},
        {"product_version", "Default string\n"},
        {"product_serial", "Default string\n"},
        {"board_vendor", "Gigabyte Technology Co., Ltd.\n"},
        {"board_name", "Z390 AORUS PRO-CF\n"},
    };
    for (const auto& [name, value] : dmiId)
        tree.write(fs::path("sys/class/dmi/id") / name, value);
    fs::permissions(tree.root() / "sys/class/dmi/id/product_serial", fs::perms::owner_read);
    tree.write("run/udev/data/+dmi:id", udevEntry);
    tree.write("proc/meminfo", "MemTotal:       16318480 kB\n");
    tree.write("proc/cpuinfo", "processor\t: 0\nvendor_id\t: GenuineIntel\n"
                               "model name\t: Intel(R) Core(TM) i7-9700K CPU @ 3.60GHz\n"
                               "cpu MHz\t\t: 3600.000\nphysical id\t: 0\n\n");
}

} // namespace quorvin::testing

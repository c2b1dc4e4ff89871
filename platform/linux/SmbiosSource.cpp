#include "SmbiosSource.h"

#include "platform/files/TextFile.h"

#include <algorithm>

namespace quorvin::linux_hw {

std::vector<SmbiosStructure> SmbiosTable::structures() const {
    const std::size_t length = std::min<std::size_t>(bytes.size(), entryPoint.tableLength);
    return parseStructures(std::span(bytes).first(length), entryPoint.structureCount);
}

std::optional<SmbiosTable> readKernelTables(const std::filesystem::path& dmiTablesDir) {
    const auto entry = files::readBinaryFileIfPresent(dmiTablesDir / "smbios_entry_point");
    if (!entry)
        return std::nullopt;
    const auto entryPoint = parseEntryPoint(*entry);
    if (!entryPoint)
        return std::nullopt;
    auto table = files::readBinaryFileIfPresent(dmiTablesDir / "DMI");
    if (!table)
        return std::nullopt;
    return SmbiosTable{*entryPoint, std::move(*table)};
}

SmbiosTable splitDump(std::span<const std::uint8_t> dump) {
    const auto entryPoint = parseEntryPoint(dump);
    if (!entryPoint)
        throw SmbiosError("no SMBIOS entry point (_SM_, _SM3_ or _DMI_) at the start");
    if (entryPoint->tableAddress >= dump.size())
        throw SmbiosError("the table offset " + std::to_string(entryPoint->tableAddress) +
                          " lies past the end of the " + std::to_string(dump.size()) +
                          "-byte dump");
    const auto table = dump.subspan(static_cast<std::size_t>(entryPoint->tableAddress));
    return SmbiosTable{*entryPoint, std::vector<std::uint8_t>(table.begin(), table.end())};
}

SmbiosTable loadDumpFile(const std::filesystem::path& file) {
    const std::string bytes = files::readUserFile(file, files::smbiosDumpLimit, "the SMBIOS dump ");
    try {
        return splitDump(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const SmbiosError& e) {
        throw SmbiosError("Reading the SMBIOS dump " + file.string() + " failed: " + e.what());
    }
}

} // namespace quorvin::linux_hw

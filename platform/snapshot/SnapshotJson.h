#pragma once

#include "Snapshot.h"

#include <filesystem>
#include <string_view>

namespace quorvin::snapshot {

// Reads recorded instances in the shape PowerShell prints for
// "Get-CimInstance <class> | ConvertTo-Json": one object per instance, or an array of them, each
// naming its class in CimSystemProperties.ClassName. Several such documents may follow each other
// (one per class, appended to one file). An object whose keys are class names and whose values
// are such instances or arrays is read too. Values take the kinds WMI gives the scan's properties
// (a uint64 such as TotalPhysicalMemory becomes decimal text even where JSON holds a number);
// nested objects and arrays are left out. The seven scan classes are always known, so a class
// the recording lacks answers with no instance. Throws std::runtime_error with a readable message.
Snapshot parseSnapshotJson(std::string_view jsonText);
Snapshot loadSnapshotFile(const std::filesystem::path& file);

} // namespace quorvin::snapshot

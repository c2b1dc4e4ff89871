#pragma once

#include "FakeTree.h"

namespace quorvin::testing {

// The desktop of realisticTable() as a whole Linux machine tree: the kernel's copy of the tables
// (sys/firmware/dmi/tables), the strings the kernel publishes from them (sys/class/dmi/id, serial
// number root only), what systemd's dmi_memory_id wrote into udev's database
// (run/udev/data/+dmi:id), and /proc. Each published file is written by hand from the values the
// table builder puts in, so a decoder that misreads either side shows up as a difference.
void writePublishedMachine(FakeTree& tree, bool withTables = true);

} // namespace quorvin::testing

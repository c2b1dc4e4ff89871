// A full scan on the SMBIOS backend over a two-socket server's table, from the dump's bytes to
// the report and store address, and its parts on their own; and the Linux backend's reading of a
// whole machine tree, by source.
#include "PublishedMachine.h"
#include "SmbiosBuilder.h"
#include "platform/linux/LinuxSnapshot.h"
#include "results/HeadlessResultsWindow.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvin;

const testing::Bytes& serverDump() {
    static const testing::Bytes dump = testing::dumpFile3(testing::serverTable());
    return dump;
}

// Kernel facts as a two-socket machine reports them; fixed so that the run measures the decode.
linux_hw::MachineFacts serverFacts() {
    linux_hw::MachineFacts facts;
    facts.proc.totalPhysicalMemory = ScanValue::text("274877906944");
    facts.proc.systemType = ScanValue::text("x64-based PC");
    for (int i = 0; i < 2; ++i)
        facts.proc.packages.push_back({ScanValue::text("Intel(R) Xeon(R) Gold 6130 CPU @ 2.10GHz"),
                                       ScanValue::text("GenuineIntel"), ScanValue::integer(2100)});
    return facts;
}

linux_hw::MachineFacts withTable(linux_hw::MachineFacts facts, const linux_hw::SmbiosTable& table) {
    facts.smbios = linux_hw::decodeFindings(table.structures());
    return facts;
}

void parseTable(benchmark::State& state) {
    for (auto _ : state) {
        const auto table = linux_hw::splitDump(serverDump());
        auto structures = table.structures();
        benchmark::DoNotOptimize(structures.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * serverDump().size()));
}
BENCHMARK(parseTable);

void decodeToSnapshot(benchmark::State& state) {
    const auto facts = serverFacts();
    for (auto _ : state) {
        const auto table = linux_hw::splitDump(serverDump());
        auto snapshot = linux_hw::buildLinuxReading(withTable(facts, table)).snapshot;
        benchmark::DoNotOptimize(snapshot.classes().data());
    }
}
BENCHMARK(decodeToSnapshot);

void fullScan(benchmark::State& state) {
    const auto facts = serverFacts();
    for (auto _ : state) {
        const auto table = linux_hw::splitDump(serverDump());
        snapshot::SnapshotProvider provider(
            linux_hw::buildLinuxReading(withTable(facts, table)).snapshot);
        HeadlessResultsWindow window(
            ScanEnvironment{provider, NumberFormat{"."}, "www.brindlemark.example"});
        benchmark::DoNotOptimize(window.getQuorvin());
        benchmark::DoNotOptimize(window.reportText().data());
    }
}
BENCHMARK(fullScan);

// Reading a whole machine tree from disk: as root (tables, with dmi/id and udev's database read
// as well for the fields the tables leave out) and as an ordinary user (no tables). The sources
// on their own show what the dmi/id and udev reading adds to the table path.
testing::FakeTree& publishedMachine(bool withTables) {
    static testing::FakeTree withTablesTree, withoutTablesTree;
    static const bool written = [] {
        testing::writePublishedMachine(withTablesTree, true);
        testing::writePublishedMachine(withoutTablesTree, false);
        return true;
    }();
    (void)written;
    return withTables ? withTablesTree : withoutTablesTree;
}

void readMachineTree(benchmark::State& state) {
    const linux_hw::LinuxMachine machine{publishedMachine(state.range(0) != 0).root(), "x86_64"};
    for (auto _ : state)
        benchmark::DoNotOptimize(linux_hw::readLinuxMachine(machine).snapshot.classes().data());
}
BENCHMARK(readMachineTree)->ArgName("tables")->Arg(1)->Arg(0);

void readTablesOnly(benchmark::State& state) {
    const linux_hw::LinuxMachine machine{publishedMachine(true).root(), "x86_64"};
    for (auto _ : state) {
        const auto table = linux_hw::readKernelTables(machine.dmiTables());
        benchmark::DoNotOptimize(linux_hw::decodeFindings(table->structures()).bios.data());
    }
}
BENCHMARK(readTablesOnly);

void readDmiIdAndUdevOnly(benchmark::State& state) {
    const linux_hw::LinuxMachine machine{publishedMachine(true).root(), "x86_64"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(linux_hw::readDmiIdInstances(machine.dmiId()).byClass.data());
        benchmark::DoNotOptimize(linux_hw::readUdevMemoryEntry(machine.udevDmiEntry()));
    }
}
BENCHMARK(readDmiIdAndUdevOnly);

} // namespace

BENCHMARK_MAIN();

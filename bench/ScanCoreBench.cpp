// The scan core at the sizes hostile recordings reach: 32767 modules with long socket names
// (the most the module counter takes), and a recording keyed by 100000 class names.
#include "platform/snapshot/Snapshot.h"
#include "scan/SystemQueries.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvin;

class DroppedRows : public ModuleLists {
public:
    void clearList(ModuleList) override {}
    void addListRow(ModuleList, const std::string&) override {}
};

void collectManyModules(benchmark::State& state) {
    snapshot::Snapshot machine;
    machine.declareScanClasses();
    const std::string socket(200, 'S');
    for (int i = 0; i < 32767; ++i)
        machine.addInstance("Win32_PhysicalMemory",
                            {{"capacity", ScanValue::text("8589934592")},
                             {"memorytype", ScanValue::integer(24)},
                             {"speed", ScanValue::integer(3200)},
                             {"devicelocator", ScanValue::text(socket + std::to_string(i))}});
    snapshot::SnapshotProvider provider(std::move(machine));
    for (auto _ : state) {
        ScanRecord record;
        record.scanUnit = 1024.0;
        WmiSession session;
        session.scanService = provider.bind("winmgmts:");
        DroppedRows lists;
        collectModules(record, session, lists, NumberFormat{});
        benchmark::DoNotOptimize(record.scanModLocators);
    }
}
BENCHMARK(collectManyModules)->Unit(benchmark::kMillisecond);

void loadManyClasses(benchmark::State& state) {
    std::string json = "{";
    for (int i = 0; i < 100000; ++i)
        json += (i ? ",\"Class" : "\"Class") + std::to_string(i) + "\": []";
    json += "}";
    for (auto _ : state) {
        const auto recording = snapshot::parseSnapshotJson(json);
        benchmark::DoNotOptimize(recording.find("Class99999"));
    }
}
BENCHMARK(loadManyClasses)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#pragma once

#include "results/HeadlessResultsWindow.h"
#include "scan/wmi/Wmi.h"

#include <cstddef>

namespace quorvin::fuzzing {

// The whole scan over what the provider answers: queries, display, report and store address.
// Every text it made is read byte by byte, so that a view past its buffer shows up under the
// address sanitizer. A refusal of the input is a std::runtime_error; anything else thrown is a
// fault of the program and ends the run.
inline void scanEverything(wmi::WmiProvider& provider) {
    HeadlessResultsWindow window(ScanEnvironment{provider, {","}, "store.example"});
    window.getQuorvin();
    std::size_t total = 0;
    for (const char c : window.reportText())
        total += static_cast<unsigned char>(c);
    for (const auto& line : window.log())
        total += line.size();
    if (window.navigations().empty())
        __builtin_trap(); // a scan that returned opened the store page
    static volatile std::size_t sink;
    sink = total;
}

} // namespace quorvin::fuzzing

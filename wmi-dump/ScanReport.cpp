#include "ScanReport.h"

#include "results/HeadlessResultsWindow.h"

#include <stdexcept>

namespace quorvin::dump {

std::string scanReport(wmi::WmiProvider& provider, const NumberFormat& format,
                       const std::string& storeHost, const std::string& storeScheme) {
    HeadlessResultsWindow window(ScanEnvironment{provider, format, storeHost, storeScheme});
    window.getQuorvin();
    if (window.navigations().empty())
        throw std::runtime_error("The scan finished without opening the store page");
    // The address line ends as every line of the report does.
    return window.reportText() + "Address: " + window.navigations().back() + "\r\n";
}

} // namespace quorvin::dump

#pragma once

#include <stdexcept>

namespace quorvin {

// A failure of the scan itself rather than of WMI: a value it cannot convert, or the module
// counter running past its largest value.
class ScanError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quorvin

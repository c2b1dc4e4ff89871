#pragma once

#include "Display.h"
#include "scan/ScanRecord.h"

#include <string>

namespace quorvin {

// The narrow face of the results window that a scan uses: the module lists, the value labels and
// the browser. The display, the report and the store page speak only to this.
class ResultsControls : public ModuleLists {
public:
    virtual void setCaption(ValueLabel label, const std::string& text) = 0;
    virtual std::string caption(ValueLabel label) = 0;
    // Starts loading the page and returns at once; throws when the browser refuses the request.
    virtual void navigate(const std::string& url) = 0;
};

} // namespace quorvin

#pragma once

#include "LinkFallbackBrowser.h"

#include <memory>

namespace quorvin::qt {

// The store page in Windows' own web-browser control, "Shell.Explorer.2", hosted in this widget's
// rectangle by atl.dll's AtlAxWin window class. Navigating hands the address to the control and
// returns at once. Where the control cannot be made, the place shows the address as a link.
class SystemWebBrowser : public LinkFallbackBrowser {
    Q_OBJECT
public:
    explicit SystemWebBrowser(QWidget* parent = nullptr);
    ~SystemWebBrowser() override;
    // Throws std::runtime_error when the control refuses the request.
    void navigate(const std::string& address) override;

private:
    struct Control;

    QWidget* host_ = nullptr;
    std::unique_ptr<Control> control_; // null when the control could not be made
};

} // namespace quorvin::qt

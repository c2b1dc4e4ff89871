#pragma once

#include "BrowserControl.h"

class QLabel;

namespace quorvin::qt {

// Stands in for the embedded browser where there is no web engine: shows the store page's
// address as a link that the system browser opens, under a plain line saying why when given one.
class LinkBrowser : public BrowserControl {
    Q_OBJECT
public:
    explicit LinkBrowser(QWidget* parent = nullptr, const QString& reason = {});
    // The line above the link; empty when there is none.
    QString reason() const;
    void navigate(const std::string& address) override;
    QString address() const override;

private:
    QLabel* reason_ = nullptr;
    QLabel* link_;
    QString address_;
};

} // namespace quorvin::qt

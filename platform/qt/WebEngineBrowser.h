#pragma once

#include "BrowserControl.h"

class QStackedLayout;
class QWebEngineView;

namespace quorvin::qt {

class LinkBrowser;

// The store page in a Qt WebEngine view. When the engine's page process cannot start (it dies
// before showing anything), the place shows the address as a link instead.
class WebEngineBrowser : public BrowserControl {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent = nullptr);
    void navigate(const std::string& address) override;
    QString address() const override;
    bool showsLink() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fallBackToLink();

    QStackedLayout* stack_;
    QWebEngineView* view_;
    LinkBrowser* link_;
    QString address_;
};

} // namespace quorvin::qt

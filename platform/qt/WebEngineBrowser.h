#pragma once

#include "LinkFallbackBrowser.h"

class QWebEngineView;

namespace quorvin::qt {

// The store page in a Qt WebEngine view. When the engine's page process cannot start (it dies
// before showing anything), the place shows the address as a link instead.
class WebEngineBrowser : public LinkFallbackBrowser {
    Q_OBJECT
public:
    explicit WebEngineBrowser(QWidget* parent = nullptr);
    void navigate(const std::string& address) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWebEngineView* view_;
};

// Starts the engine with a page that has no view and loads nothing but an empty page; it goes
// once the first real view has loaded its page, or with its owner.
void warmUpWebEngine(QObject* owner);

} // namespace quorvin::qt

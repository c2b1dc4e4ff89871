#pragma once

#include "BrowserControl.h"

class QStackedLayout;
class QUrl;

namespace quorvin::qt {

class LinkBrowser;

// A browser that shows the page in an engine of its own and, where the engine cannot be made or
// dies, the page's address as a link in the same place.
class LinkFallbackBrowser : public BrowserControl {
    Q_OBJECT
public:
    QString address() const override;
    bool showsLink() const;
    // Whether the keyboard focus is in the frame or anywhere in the page; the frame then draws its
    // focus ring, focusRingWidth pixels wide, around the page.
    bool hasFocusInside() const;
    static constexpr int focusRingWidth = 2;

protected:
    explicit LinkFallbackBrowser(QWidget* parent);
    // Shows the engine's widget and lets it take the focus; until then the link stands there.
    void showEngine(QWidget* engine);
    // Puts the link in the engine's place, keeping the focus if the engine had it.
    void fallBackToLink();
    // Checks the address, keeps it and hands it to the link; the engine loads the URL returned.
    // Throws std::invalid_argument when the address is not a valid URL.
    QUrl acceptAddress(const std::string& address);
    void paintEvent(QPaintEvent* event) override;

private:
    bool holds(const QWidget* widget) const;

    QStackedLayout* stack_;
    LinkBrowser* link_;
    QString address_;
};

} // namespace quorvin::qt

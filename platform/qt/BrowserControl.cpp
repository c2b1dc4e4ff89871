#include "BrowserControl.h"

#include "LinkBrowser.h"
#include "QtText.h"
#if defined(QUORVIN_WITH_WEBENGINE)
#include "WebEngineBrowser.h"
#endif

#include <QDesktopServices>
#include <QUrl>

#include <stdexcept>

namespace quorvin::qt {

QUrl browsableUrl(const std::string& address) {
    // The address arrives percent-encoded; strict parsing keeps every escape as it is.
    const QUrl url(toQString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        throw std::invalid_argument("Opening the store page failed: \"" + address +
                                    "\" is not a valid address");
    return url;
}

void BrowserControl::openInUsersProgram(const QUrl& address) {
    if (!QDesktopServices::openUrl(address))
        emit addressNotOpened(address.toString(QUrl::FullyEncoded));
}

namespace {

QString& refusal() {
    static QString reason;
    return reason;
}

} // namespace

void refuseWebEngine(const QString& reason) {
    refusal() = reason;
}

QString webEngineRefusal() {
    return refusal();
}

BrowserControl* makeBrowserControl(QWidget* parent) {
    // Checked before anything of the engine is touched: its module is not even loaded.
    if (!refusal().isEmpty())
        return new LinkBrowser(parent, refusal());
#if defined(QUORVIN_WITH_WEBENGINE)
    return new WebEngineBrowser(parent);
#else
    return new LinkBrowser(parent);
#endif
}

void warmUpBrowserControl([[maybe_unused]] QObject* owner) {
    if (!refusal().isEmpty())
        return;
#if defined(QUORVIN_WITH_WEBENGINE)
    warmUpWebEngine(owner);
#endif
}

} // namespace quorvin::qt

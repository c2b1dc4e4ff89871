// The web-engine module: a QWebEngineView for the program, which knows it only as a QWidget.
#include "WebEngineModule.h"

#include <QMenu>
#include <QPointer>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <functional>
#include <utility>

namespace {

using quorvin::qt::WebEngineModule;

// The store's page, kept in its frame. An address it asks to open anywhere else (a new window, a
// download, a scheme the frame does not show) is handed to the program, which decides where it
// goes; the engine itself opens nothing, writes nothing and starts no program. window.close() is
// not acted on (windowCloseRequested has no receiver), so the frame keeps its page.
class FramedPage : public QWebEnginePage {
public:
    using OpenOutside = std::function<void(const QUrl& address, bool userAsked)>;

    FramedPage(QObject* parent, OpenOutside openOutside)
        : QWebEnginePage(parent)
        , openOutside_(std::move(openOutside)) {
        QWebEngineSettings* s = settings();
        // Chromium lets a page open a window only for a click or key of the user's; without one
        // the request never comes.
        s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        // Loading, an autofocus field and a script's focus() leave the keyboard where it is.
        s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
        s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
        // A file dropped on the frame would show the user's own file in the store's place.
        s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
        connect(this, &QWebEnginePage::newWindowRequested, this,
                [this](QWebEngineNewWindowRequest& request) {
                    // Not opened in any page: the engine drops the new window.
                    openOutside_(request.requestedUrl(), request.isUserInitiated());
                });
        connect(profile(), &QWebEngineProfile::downloadRequested, this,
                [this](QWebEngineDownloadRequest* download) {
                    if (download->page() != this)
                        return;
                    // The engine tells no click from a script here; a download counts as the
                    // user's when it answers the link the user last clicked.
                    const bool clicked = download->url() == clickedAddress_;
                    clickedAddress_.clear();
                    download->cancel();
                    if (!download->isSavePageDownload())
                        openOutside_(download->url(), clicked);
                });
    }

protected:
    // Nothing is made for a new window; newWindowRequested carries its address instead.
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
        // The program's own request goes where it sends it.
        if (type == NavigationTypeTyped)
            return true;
        const QString scheme = url.scheme();
        const bool clicked = type == NavigationTypeLinkClicked;
        if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
            scheme == QLatin1String("about") || scheme == QLatin1String("data") ||
            scheme == QLatin1String("blob")) {
            if (clicked)
                clickedAddress_ = url;
            return true;
        }
        // mailto: and other protocols the engine would hand to the desktop itself, file: and
        // the like: not shown in the frame.
        openOutside_(url, clicked);
        return false;
    }

private:
    OpenOutside openOutside_;
    QUrl clickedAddress_;
};

// The page's menu: Copy while text is selected, nothing otherwise. Qt's own would offer new
// windows, saving, the page's source and more, none of which belongs in the store's frame.
void showCopyMenu(QWebEngineView* view, const QPoint& at) {
    if (!view->page()->hasSelection())
        return;
    auto* menu = new QMenu(view);
    menu->setObjectName(QStringLiteral("pageMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(view->page()->action(QWebEnginePage::Copy));
    menu->popup(view->mapToGlobal(at));
}

QPointer<QWebEnginePage> warmPage;

void warmUp(QObject* owner) {
    if (warmPage)
        return;
    warmPage = new QWebEnginePage(owner);
    warmPage->setUrl(QUrl(QStringLiteral("about:blank")));
}

QWidget* createView(QWidget* parent, QObject* receiver, const char* onPageProcessDied,
                    const char* onOpenOutside) {
    auto* view = new QWebEngineView(parent);
    view->setPage(new FramedPage(
        view, [receiver, slot = QByteArray(onOpenOutside)](const QUrl& address, bool userAsked) {
            QMetaObject::invokeMethod(receiver, slot.constData(), Qt::QueuedConnection,
                                      Q_ARG(QUrl, address), Q_ARG(bool, userAsked));
        }));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, view,
                     [view](const QPoint& at) { showCopyMenu(view, at); });
    QObject::connect(view->page(), &QWebEnginePage::renderProcessTerminated, receiver,
                     [receiver, slot = QByteArray(onPageProcessDied)](
                         QWebEnginePage::RenderProcessTerminationStatus status, int) {
                         if (status != QWebEnginePage::NormalTerminationStatus)
                             QMetaObject::invokeMethod(receiver, slot.constData(),
                                                       Qt::QueuedConnection);
                     });
    QObject::connect(view, &QWebEngineView::loadFinished, view, [] {
        if (warmPage)
            warmPage->deleteLater();
    });
    return view;
}

void load(QWidget* view, const QUrl& url) {
    static_cast<QWebEngineView*>(view)->setUrl(url);
}

constexpr WebEngineModule module{quorvin::qt::webEngineModuleVersion, warmUp, createView, load};

} // namespace

extern "C" Q_DECL_EXPORT const WebEngineModule* quorvin_webengine_module() {
    return &module;
}

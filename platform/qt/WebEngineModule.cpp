// The web-engine module: a QWebEngineView for the program, which knows it only as a QWidget.
#include "WebEngineModule.h"

#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

using quorvin::qt::WebEngineModule;

QPointer<QWebEnginePage> warmPage;

void warmUp(QObject* owner) {
    if (warmPage)
        return;
    warmPage = new QWebEnginePage(owner);
    warmPage->setUrl(QUrl(QStringLiteral("about:blank")));
}

QWidget* createView(QWidget* parent, QObject* receiver, const char* onPageProcessDied) {
    auto* view = new QWebEngineView(parent);
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

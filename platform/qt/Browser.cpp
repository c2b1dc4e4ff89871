#include "Browser.h"

#include "System.h"
#include "Widgets.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFocusEvent>
#include <QLabel>
#include <QPainter>
#include <QStackedLayout>
#include <QUrl>
#include <QVBoxLayout>

#include <stdexcept>

#if defined(QUORVIN_WITH_WEBENGINE)
#include "WebEngineModule.h"

#include <QDir>
#include <QEvent>
#include <QLibrary>
#include <QOpenGLContext>
#include <QSurfaceFormat>

// Qt's own setter of the context every OpenGL user shares (exported, declared in a private
// header). Qt makes that context while it starts when asked to; the program makes it later, here.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
#endif

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

// A label whose link is chosen as soon as Tab or Shift+Tab brings the focus in, so that Enter
// opens it at once. A plain QLabel takes the focus with no link chosen and chooses it only at
// the next Tab: a stop the user cannot see.
class LinkLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLabel::focusInEvent(event);
        const Qt::FocusReason reason = event->reason();
        if (!text().isEmpty() && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
            QLabel::focusNextPrevChild(reason == Qt::TabFocusReason);
    }
};

#if defined(QUORVIN_WITH_WEBENGINE)
// The web engine's views draw with OpenGL contexts shared with this one, which must exist before
// the engine's libraries load.
void ensureSharedGlContext() {
    if (QOpenGLContext::globalShareContext() != nullptr)
        return;
    // Set even when it cannot be made (no OpenGL at all), as Qt does: the engine then sees an
    // invalid context and draws without OpenGL.
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

// Qt WebEngine shows a page's content to screen readers on Linux only when asked to; asked
// before its libraries load, unless the user has decided otherwise.
void exposePagesToScreenReaders() {
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
}

const WebEngineModule* loadWebEngineModule() {
    ensureSharedGlContext();
    exposePagesToScreenReaders();
    // Installed, the module lies at a fixed place relative to the program. A program that runs
    // from the build tree (the program itself, the tests) takes the module built beside it; an
    // installed one never looks there.
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList candidates{
        QDir(programDir).filePath(QStringLiteral(QUORVIN_WEBENGINE_MODULE_INSTALLED))};
#ifdef QUORVIN_BUILD_TREE
    if (programDir.startsWith(QStringLiteral(QUORVIN_BUILD_TREE "/")))
        candidates.prepend(QStringLiteral(QUORVIN_WEBENGINE_MODULE_BUILT));
#endif
    QString error;
    for (const QString& path : candidates) {
        QLibrary library(path);
        if (!library.load()) {
            error = library.errorString();
            continue;
        }
        const auto entry =
            reinterpret_cast<WebEngineModuleEntry>(library.resolve(webEngineModuleEntry));
        const WebEngineModule* module = entry ? entry() : nullptr;
        if (module == nullptr || module->version != webEngineModuleVersion) {
            error = path + QStringLiteral(" is not this program's web-engine module");
            continue;
        }
        return module;
    }
    qWarning("The store page's web engine could not be loaded (%s); the page's address is shown "
             "as a link instead.",
             qUtf8Printable(error));
    return nullptr;
}

// The web-engine module, loaded on first use from beside the installed program or from the
// build tree; nullptr when it cannot be loaded (the reason goes to the log).
const WebEngineModule* webEngineModule() {
    static const WebEngineModule* const module = loadWebEngineModule();
    return module;
}
#endif

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
    // Nothing when the module cannot be loaded.
    if (const WebEngineModule* engine = webEngineModule())
        engine->warmUp(owner);
#endif
}

LinkBrowser::LinkBrowser(QWidget* parent, const QString& reason)
    : BrowserControl(parent)
    , link_(new LinkLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    if (!reason.isEmpty()) {
        reason_ = new QLabel(reason, this);
        reason_->setObjectName(QStringLiteral("WBReason"));
        reason_->setTextFormat(Qt::PlainText);
        reason_->setWordWrap(true);
        reason_->setAlignment(Qt::AlignCenter);
        layout->addWidget(reason_);
    }
    // The whole width, its text centred in it: a label placed centred is given the width of its
    // text before it has any, and a wrapped link was cut to its first words.
    link_->setAlignment(Qt::AlignCenter);
    layout->addWidget(link_);
    layout->addStretch();
    link_->setTextFormat(Qt::RichText);
    link_->setWordWrap(true);
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link_->setFocusPolicy(Qt::TabFocus);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(link_);
    connect(link_, &QLabel::linkActivated, this,
            [this](const QString& url) { openInUsersProgram(QUrl(url, QUrl::StrictMode)); });
}

void LinkBrowser::navigate(const std::string& address) {
    const QUrl url = browsableUrl(address);
    address_ = url.toString(QUrl::FullyEncoded);
    // The address is fully percent-encoded, so it holds no markup; escaping keeps it that way.
    link_->setText(QStringLiteral("<a href=\"%1\">Open the compatible memory upgrades page</a>")
                       .arg(address_.toHtmlEscaped()));
}

QString LinkBrowser::reason() const {
    return reason_ != nullptr ? reason_->text() : QString();
}

QString LinkBrowser::address() const {
    return address_;
}

LinkFallbackBrowser::LinkFallbackBrowser(QWidget* parent)
    : BrowserControl(parent)
    , link_(new LinkBrowser(this)) {
    // The page draws no focus of its own that a user could find: while the focus is anywhere
    // inside, the frame draws a ring around it, in the margin kept for it (a stacked layout
    // gives its pages the whole of its place, margins or not).
    auto* ringMargin = new QVBoxLayout(this);
    ringMargin->setContentsMargins(focusRingWidth, focusRingWidth, focusRingWidth, focusRingWidth);
    auto* pages = new QWidget(this);
    ringMargin->addWidget(pages);
    stack_ = new QStackedLayout(pages);
    stack_->addWidget(link_);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(link_);
    connect(link_, &BrowserControl::addressNotOpened, this, &BrowserControl::addressNotOpened);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (holds(old) != holds(now))
            update();
    });
}

bool LinkFallbackBrowser::holds(const QWidget* widget) const {
    return widget != nullptr && (widget == this || isAncestorOf(widget));
}

bool LinkFallbackBrowser::hasFocusInside() const {
    return holds(QApplication::focusWidget());
}

void LinkFallbackBrowser::paintEvent(QPaintEvent*) {
    if (!hasFocusInside())
        return;
    // In the highlight colour, which follows a high-contrast palette too.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), focusRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal half = focusRingWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

void LinkFallbackBrowser::showEngine(QWidget* engine) {
    stack_->addWidget(engine);
    stack_->setCurrentWidget(engine);
    setFocusProxy(engine);
    emit focusWidgetsChanged();
}

void LinkFallbackBrowser::fallBackToLink() {
    QWidget* engine = stack_->currentWidget();
    const bool hadFocus = engine != nullptr && engine->hasFocus();
    stack_->setCurrentWidget(link_);
    setFocusProxy(link_);
    emit focusWidgetsChanged();
    if (hadFocus)
        link_->setFocus();
}

QUrl LinkFallbackBrowser::acceptAddress(const std::string& address) {
    const QUrl url = browsableUrl(address);
    address_ = url.toString(QUrl::FullyEncoded);
    link_->navigate(address);
    return url;
}

QString LinkFallbackBrowser::address() const {
    return address_;
}

bool LinkFallbackBrowser::showsLink() const {
    return stack_->currentWidget() == link_;
}

#if defined(QUORVIN_WITH_WEBENGINE)
WebEngineBrowser::WebEngineBrowser(QWidget* parent)
    : LinkFallbackBrowser(parent)
    , engine_(webEngineModule()) {
    if (engine_ == nullptr)
        return; // the link stands in the page's place
    // The view is made now, so that the window is made as one drawn with OpenGL (adding the view
    // later would make the window anew, and it would flicker), but shown only once the window has
    // first appeared: its own first showing takes a moment. Until then a blank holds its place
    // and its place in the tab order, and hands the focus on.
    // What the page asks to open outside its frame goes straight out as leaveRequested.
    view_ = engine_->createView(this, this, "pageProcessDied", "leaveRequested");
    view_->hide();
    auto* blank = new QWidget(this);
    blank->setFocusPolicy(Qt::StrongFocus);
    blank_ = blank;
    showEngine(blank);
    afterFirstPaint(window(), [this, blank] {
        const bool hadFocus = blank->hasFocus();
        showEngine(view_);
        if (hadFocus)
            view_->setFocus();
        markStartup("store-view-shown");
    });
    // The engine makes the widget that takes the view's focus only once a page starts, and Qt
    // puts it at the end of the window's tab order.
    view_->installEventFilter(this);
}

void WebEngineBrowser::pageProcessDied() {
    fallBackToLink();
}

bool WebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::ChildAdded) {
        QMetaObject::invokeMethod(this, &BrowserControl::focusWidgetsChanged, Qt::QueuedConnection);
        QMetaObject::invokeMethod(this, &WebEngineBrowser::nameFocusWidgets, Qt::QueuedConnection);
    }
    return LinkFallbackBrowser::eventFilter(watched, event);
}

void WebEngineBrowser::nameFocusWidgets() {
    // The engine's own focus widget has no name, and a screen reader meeting it announces
    // nothing (or the control it came from); it is named as the browser is.
    if (view_ == nullptr)
        return;
    const QString name = accessibleName();
    for (QWidget* widget : view_->findChildren<QWidget*>())
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->setAccessibleName(name);
    for (QWidget* widget : {view_, blank_})
        if (widget != nullptr)
            widget->setAccessibleName(name);
}

void WebEngineBrowser::navigate(const std::string& address) {
    // Loads in the background; the scan does not wait for the page.
    const QUrl url = acceptAddress(address);
    nameFocusWidgets();
    if (view_ != nullptr)
        engine_->load(view_, url);
}
#endif

} // namespace quorvin::qt

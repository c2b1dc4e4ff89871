#pragma once

class QObject;
class QUrl;
class QWidget;

namespace quorvin::qt {

// The store page's web engine lives in a module of its own, loaded once the disclaimer is on the
// screen: linked into the program, the engine's libraries and the drawing context they ask for
// would hold up its start. The program and the module are built from this one declaration.
struct WebEngineModule {
    int version;
    // Starts the engine with a page that has no view and loads nothing; the page goes once a
    // view has loaded its first page, or with its owner.
    void (*warmUp)(QObject* owner);
    // A view in the parent, showing nothing yet, whose page stays in it: it opens no window,
    // writes no download, keeps its page on window.close(), takes no focus by loading, and its
    // menu offers only Copy. The receiver's methods (slots or signals) of the given names are
    // invoked (queued): onPageProcessDied() when the page process dies before its time;
    // onOpenOutside(QUrl address, bool userAsked) for an address the page asks to open outside its
    // frame (a new window, a download, a scheme the frame does not show), which the receiver
    // decides on.
    QWidget* (*createView)(QWidget* parent, QObject* receiver, const char* onPageProcessDied,
                           const char* onOpenOutside);
    void (*load)(QWidget* view, const QUrl& url);
};

inline constexpr int webEngineModuleVersion = 2;
// The module's one exported function: extern "C" const WebEngineModule* quorvin_webengine_module().
inline constexpr const char* webEngineModuleEntry = "quorvin_webengine_module";
using WebEngineModuleEntry = const WebEngineModule* (*)();

} // namespace quorvin::qt

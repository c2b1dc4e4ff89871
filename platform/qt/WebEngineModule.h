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
    // A view in the parent, showing nothing yet. When its page process dies before its time, the
    // receiver's slot of the given name is invoked (queued).
    QWidget* (*createView)(QWidget* parent, QObject* receiver, const char* onPageProcessDied);
    void (*load)(QWidget* view, const QUrl& url);
};

inline constexpr int webEngineModuleVersion = 1;
// The module's one exported function: extern "C" const WebEngineModule* quorvin_webengine_module().
inline constexpr const char* webEngineModuleEntry = "quorvin_webengine_module";
using WebEngineModuleEntry = const WebEngineModule* (*)();

} // namespace quorvin::qt

#include "WebEngineLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QOpenGLContext>
#include <QSurfaceFormat>

// Qt's own setter of the context every OpenGL user shares (exported, declared in a private
// header). Qt makes that context while it starts when asked to; the program makes it later, here.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace quorvin::qt {

namespace {

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

const WebEngineModule* load() {
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

} // namespace

const WebEngineModule* webEngineModule() {
    static const WebEngineModule* const module = load();
    return module;
}

} // namespace quorvin::qt

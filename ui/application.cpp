#include "ui/application.h"

#include <cstdio>
#include <exception>

namespace ui {

bool Application::notify(QObject* receiver, QEvent* event) {
    std::string what;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "?";
    }
    std::fprintf(stderr, "tavolex: internal error: %s\n", what.c_str());
    if (m_faultHandler) {
        // A second fault while the first is being shown is only written out.
        auto handler = std::exchange(m_faultHandler, {});
        handler(what);
        m_faultHandler = std::move(handler);
    }
    return false;
}

}  // namespace ui

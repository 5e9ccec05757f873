#pragma once
// The program's QApplication. A fault no handler foresaw (an exception
// thrown out of a slot or an event handler) must not end the program and
// lose the game: it stops at the event loop's door and goes to the window,
// which says so and keeps the game.

#include <QApplication>

#include <functional>
#include <string>

namespace ui {

class Application : public QApplication {
public:
    Application(int& argc, char** argv) : QApplication(argc, argv) {}
    void setFaultHandler(std::function<void(const std::string&)> handler) { m_faultHandler = std::move(handler); }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const std::string&)> m_faultHandler;
};

}  // namespace ui

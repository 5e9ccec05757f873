#pragma once
// Small helpers every part of the main window builds its widgets with: a
// widget carries its component's name as its object name.

#include <QString>
#include <QWidget>

namespace ui {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace ui

#pragma once
// Small helpers every part of the main window builds its widgets with: a
// widget carries its component's name as its object name.

#include <QHBoxLayout>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace ui {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A panel's confirming and cancelling buttons, on the right of their row.
inline QHBoxLayout* okCancel(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace ui

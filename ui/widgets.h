#pragma once
// Small helpers every part of the main window builds its widgets with: a
// widget carries its component's name as its object name.

#include <QFrame>
#include <QRect>
#include <QString>
#include <QWidget>

namespace ui {

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A raised panel shown over the board, hidden until it is wanted.
inline QFrame* overlay(QWidget* parent, const char* name, QRect geometry) {
    QFrame* f = named(new QFrame(parent), name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Raised);
    f->setLineWidth(3);
    f->setAutoFillBackground(true);
    f->setGeometry(geometry);
    f->hide();
    return f;
}

}  // namespace ui

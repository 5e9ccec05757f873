#include "ui/dialog_panel.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/widgets.h"

namespace ui {

bool answerDialogKey(QWidget* panel, QKeyEvent* event, QPushButton* ok, QPushButton* cancel) {
    auto press = [](QPushButton* b) {
        if (!b || !b->isVisible() || !b->isEnabled()) return false;
        b->click();
        return true;
    };
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            // A button the person moved the focus to is the one meant.
            auto* focused = qobject_cast<QPushButton*>(panel->focusWidget());
            if (focused && panel->isAncestorOf(focused)) return press(focused);
            return press(ok);
        }
        case Qt::Key_Escape: return press(cancel ? cancel : ok);
        default: return false;
    }
}

QWidget* firstField(QWidget* panel, QWidget* fallback) {
    for (QWidget* w : panel->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(panel) || !w->isEnabled()) continue;
        if (auto* line = qobject_cast<QLineEdit*>(w); line && !line->isReadOnly()) return w;
        if (qobject_cast<QAbstractItemView*>(w) || qobject_cast<QRadioButton*>(w)) return w;
    }
    return fallback;
}

DialogPanel::DialogPanel(QWidget* parent, const char* name, QSize least, Placement placement)
    : QFrame(parent), m_placement(placement) {
    setObjectName(QString::fromLatin1(name));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(3);
    setAutoFillBackground(true);
    setMinimumSize(least);
    setFocusPolicy(Qt::StrongFocus);
    hide();
}

void DialogPanel::open() {
    adjustSize();
    emit opened(this);
    show();
    raise();
    QWidget* field = firstField(this, m_ok ? static_cast<QWidget*>(m_ok) : this);
    field->setFocus(Qt::OtherFocusReason);
}

void DialogPanel::keyPressEvent(QKeyEvent* event) {
    if (answerDialogKey(this, event, m_ok, m_cancel)) return;
    QFrame::keyPressEvent(event);
}

}  // namespace ui

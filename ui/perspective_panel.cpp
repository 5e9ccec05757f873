#include "ui/perspective_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/board3d.h"
#include "ui/board3d_places.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr int MarginWidth = 124;  // the clocks' column, in pixels at the desktop's usual font

// A clock of the perspective board: the side's name, minutes and seconds,
// and the side's piece count.
QFrame* clockPanel(QWidget* parent, const char* name, bool white, QLabel*& minutes, QLabel*& seconds, QLabel*& side,
                   QLabel*& count, const char* minName, const char* secName, const char* sideName,
                   const char* countName) {
    QFrame* f = named(new QFrame(parent), name);
    const QString face =
        white ? QStringLiteral("stop:0 #fffdf4, stop:1 #c9bd9c") : QStringLiteral("stop:0 #5a4a44, stop:1 #140e0c");
    const QString ink = white ? QStringLiteral("#201810") : QStringLiteral("#f4ead4");
    f->setStyleSheet(QStringLiteral("QFrame#%1 { border: 2px outset #8a7a5a; border-radius: 8px; "
                                    "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, %2); } QLabel { color: %3; }")
                         .arg(QString::fromLatin1(name), face, ink));
    auto make = [&](const char* objectName, const QString& text, double factor) {
        QLabel* l = new QLabel(text, f);
        l->setObjectName(QString::fromLatin1(objectName));
        QFont font = l->font();
        font.setPointSizeF(font.pointSizeF() * factor);
        font.setBold(true);
        l->setFont(font);
        return l;
    };
    side = make(sideName, QString(), 0.85);
    minutes = make(minName, QStringLiteral("0"), 1.7);
    minutes->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel* colon = make("", QStringLiteral(":"), 1.7);
    seconds = make(secName, QStringLiteral("00"), 1.7);
    count = make(countName, QStringLiteral("20"), 1.15);
    count->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    auto* grid = new QGridLayout(f);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(1);
    grid->addWidget(side, 0, 0, 1, 4);
    grid->addWidget(minutes, 1, 0);
    grid->addWidget(colon, 1, 1);
    grid->addWidget(seconds, 1, 2);
    grid->addWidget(count, 1, 3);
    grid->setColumnStretch(3, 1);
    return f;
}

}  // namespace

PerspectivePanel::PerspectivePanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel10");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(36, 30, 28));
    setPalette(pal);
    board = new PerspectiveBoard(this);
    blackClock = clockPanel(this, "Horlogenoir3d", false, blackMinutes, blackSeconds, blackName, blackCount,
                            "minnoir3d", "secnoir3d", "N3D", "Nbn3d");
    whiteClock = clockPanel(this, "Horlogeblanc3d", true, whiteMinutes, whiteSeconds, whiteName, whiteCount,
                            "minblanc3d", "secblanc3d", "B3D", "Nbb3d");

    // The clocks sit in a margin of their own, so that they never cover the
    // board's near corners.
    auto* margin = new QWidget(this);
    margin->setFixedWidth(MarginWidth);
    m_clocks = new QVBoxLayout(margin);
    m_clocks->setContentsMargins(4, 0, 4, 0);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(margin);
    row->addWidget(board, 1);
    placeClocks(false);
}

void PerspectivePanel::placeClocks(bool inverted) {
    while (m_clocks->count() > 0) delete m_clocks->takeAt(0);
    QFrame* top = inverted ? whiteClock : blackClock;
    QFrame* bottom = inverted ? blackClock : whiteClock;
    m_clocks->addStretch(1);
    m_clocks->addWidget(top);
    m_clocks->addStretch(6);
    m_clocks->addWidget(bottom);
    m_clocks->addStretch(1);
}

double PerspectivePanel::aspect() const {
    return double(MarginWidth + perspective::ImageWidth) / perspective::ImageHeight;
}

}  // namespace ui

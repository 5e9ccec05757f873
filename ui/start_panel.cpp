#include "ui/start_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSpacerItem>

#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets.h"

namespace ui {

StartPanel::StartPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Intro");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(72, 44, 24));
    pal.setColor(QPalette::WindowText, QColor(250, 236, 200));
    setPalette(pal);

    QLabel* name = named(new QLabel(QStringLiteral("TAVOLEX"), this), "Titre");
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 4.5);
    title.setBold(true);
    name->setFont(title);
    name->setAlignment(Qt::AlignCenter);
    QLabel* what = named(
        new QLabel(QString::fromUtf8("Jeu de dames brésiliennes — version %1").arg(QStringLiteral("0.1.0")), this),
        "Version");
    QFont sub = font();
    sub.setPointSizeF(sub.pointSizeF() * 1.3);
    what->setFont(sub);
    what->setAlignment(Qt::AlignCenter);

    // The flat board first, then the eight perspective styles in the order
    // the menu lists them.
    struct Style {
        int style;
        const char* name;
        const char* caption;
    };
    const Style order[] = {
        {0, "Intro2D", "Damier 2D jaune"},
        {1, "IntroClassique", "Classique"},
        {2, "IntroNuit", "Nuit"},
        {3, "IntroLuxe", "Luxe"},
        {4, "IntroCopacabana", "Copacabana"},
        {5, "IntroIpanema", "Ipanema"},
        {6, "IntroInferno", "Inferno"},
        {7, "IntroGrandluxe", "Grand luxe"},
        {8, "IntroSalvador", "Salvador da Bahia"},
    };
    auto* grid = new QGridLayout;
    grid->setSpacing(10);
    int i = 0;
    for (const Style& s : order) {
        QPushButton* b = named(new QPushButton(QString::fromUtf8(s.caption), this), s.name);
        b->setMinimumHeight(std::max(44, b->sizeHint().height() * 2));
        grid->addWidget(b, i / 3, i % 3);
        styles[static_cast<std::size_t>(s.style)] = b;
        ++i;
    }
    QFont bold = styles[0]->font();
    bold.setBold(true);
    styles[0]->setFont(bold);

    struct Language {
        int language;
        const char* name;
        const char* caption;
    };
    const Language languageOrder[] = {{0, "Button5", "Français"},   {1, "Button6", "English"},
                                      {2, "Button7", "Nederlands"}, {3, "Button2", "Português"},
                                      {4, "Button8", "Español"},    {5, "Button1A", "Italiano"}};
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    for (const Language& l : languageOrder) {
        QPushButton* b = named(new QPushButton(QString::fromUtf8(l.caption), this), l.name);
        row->addWidget(b);
        languages[static_cast<std::size_t>(l.language)] = b;
    }

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(40, 30, 40, 30);
    m_above = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    m_name = name;
    m_version = what;
    column->addSpacerItem(m_above);
    column->addWidget(name);
    column->addWidget(what);
    column->addSpacing(30);
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addLayout(grid, 4);
    centred->addStretch(1);
    column->addLayout(centred);
    column->addSpacing(30);
    auto* centredRow = new QHBoxLayout;
    centredRow->addStretch(1);
    centredRow->addLayout(row);
    centredRow->addStretch(1);
    column->addLayout(centredRow);
    column->addStretch(1);
}

// The first row of style buttons starts about a quarter of the way down.
void StartPanel::resizeEvent(QResizeEvent* event) {
    const int above = m_name->sizeHint().height() + m_version->sizeHint().height() + 30 + 30 + 2 * layout()->spacing();
    const int room = std::max(0, height() * 27 / 100 - above);
    if (m_above->sizeHint().height() != room) {
        m_above->changeSize(0, room, QSizePolicy::Minimum, QSizePolicy::Fixed);
        layout()->invalidate();
    }
    QFrame::resizeEvent(event);
}

}  // namespace ui

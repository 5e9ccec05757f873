#include "ui/form4.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm4");
    setWindowTitle(QStringLiteral("Analyse"));
    setModal(false);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Long lines wrap within the window instead of running off its edge.
    ListBox1->setWordWrap(true);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setToolTip(QString::fromUtf8("Un clic sur un coup analysé montre la position où il a été joué"));
    Etat = new QLabel(this);
    Etat->setObjectName("Etat");
    const char* buttons[][2] = {{"BitBtn1", "Suivant"},
                                {"BitBtn2", "Editer analyse"},
                                {"BitBtn3", "Imprimer analyse"},
                                {"BitBtn4", "Fin analyse"}};
    QPushButton** places[] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
    auto* row = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = new QPushButton(QString::fromUtf8(buttons[i][1]), this);
        b->setObjectName(QString::fromLatin1(buttons[i][0]));
        b->setAutoDefault(false);
        row->addWidget(b);
        *places[i] = b;
    }
    auto* column = new QVBoxLayout(this);
    column->addWidget(ListBox1, 1);
    column->addWidget(Etat);
    column->addLayout(row);
    resize(720, 420);
}

void TForm4::reject() { emit closedByFrame(); }

}  // namespace ui

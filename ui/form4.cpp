#include "ui/form4.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace ui {

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm4");
    setWindowTitle(QStringLiteral("Analyse"));
    setModal(false);
    setFixedSize(720, 420);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setGeometry(8, 8, 704, 330);
    ListBox1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Etat = new QLabel(this);
    Etat->setObjectName("Etat");
    Etat->setGeometry(8, 342, 704, 22);
    const char* buttons[][2] = {{"BitBtn1", "Suivant"},
                                {"BitBtn2", "Editer analyse"},
                                {"BitBtn3", "Imprimer analyse"},
                                {"BitBtn4", "Fin analyse"}};
    QPushButton** places[] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = new QPushButton(QString::fromUtf8(buttons[i][1]), this);
        b->setObjectName(QString::fromLatin1(buttons[i][0]));
        b->setGeometry(8 + 178 * i, 374, 170, 32);
        b->setAutoDefault(false);
        *places[i] = b;
    }
}

void TForm4::reject() { emit closedByFrame(); }

}  // namespace ui

#include "ui/form2.h"

#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/widgets.h"

namespace ui {

TForm2::TForm2(rules::Side side, QWidget* parent) : QDialog(parent), m_side(side) {
    const bool white = side == rules::White;
    setObjectName(white ? "Form2" : "Form3");
    setWindowTitle(white ? QStringLiteral("White") : QStringLiteral("Black"));
    // The game must not move under the line being edited.
    setModal(true);
    setFixedSize(520, 440);
    Fiche_Ouvertures =
        named(new QGroupBox(white ? QStringLiteral("Ouvertures (Blancs)") : QStringLiteral("Ouvertures (Noirs)"), this),
              "Fiche_Ouvertures");
    Fiche_Ouvertures->setGeometry(8, 8, 504, 424);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    Nouvelle_Ouverture = named(new QLineEdit(Fiche_Ouvertures), "Nouvelle_Ouverture");
    Nouvelle_Ouverture->setGeometry(10, 24, 484, 26);
    Nouvelle_Ouverture->setFont(fixed);
    Valide_Ouverture = named(new QPushButton(QStringLiteral("Ajouter"), Fiche_Ouvertures), "Valide_Ouverture");
    Valide_Ouverture->setGeometry(10, 56, 110, 28);
    Valide_Ouverture->setToolTip(QString::fromUtf8("Ajouter l'ouverture ci-dessus dans la liste ci-dessous"));
    Effacer = named(new QPushButton(QStringLiteral("Effacer"), Fiche_Ouvertures), "Effacer");
    Effacer->setGeometry(128, 56, 110, 28);
    Effacer->setToolTip(QString::fromUtf8("Effacer l'ouverture ci-dessus (et la même dessous)"));
    Liste_Ouvertures = named(new QListWidget(Fiche_Ouvertures), "Liste_Ouvertures");
    Liste_Ouvertures->setGeometry(10, 92, 484, 282);
    Liste_Ouvertures->setFont(fixed);
    Liste_Ouvertures->setSortingEnabled(true);
    BitBtn1 = named(new QPushButton(QStringLiteral("Enregistrer"), Fiche_Ouvertures), "BitBtn1");
    BitBtn1->setGeometry(10, 382, 150, 30);
    BitBtn2 = named(new QPushButton(QStringLiteral("Annuler"), Fiche_Ouvertures), "BitBtn2");
    BitBtn2->setGeometry(168, 382, 150, 30);
    BitBtn3 = named(new QPushButton(QStringLiteral("Construire et enregistrer"), Fiche_Ouvertures), "BitBtn3");
    BitBtn3->setGeometry(326, 382, 168, 30);
    BitBtn3->hide();
    for (QPushButton* b : {Valide_Ouverture, Effacer, BitBtn1, BitBtn2, BitBtn3}) b->setAutoDefault(false);
    connect(Liste_Ouvertures, &QListWidget::itemClicked, this, &TForm2::Liste_OuverturesClick);
    connect(Valide_Ouverture, &QPushButton::clicked, this, &TForm2::Valide_OuvertureClick);
    connect(Effacer, &QPushButton::clicked, this, &TForm2::EffacerClick);
}

void TForm2::setLines(const engine::BookLines& lines) {
    Liste_Ouvertures->clear();
    for (const std::string& l : lines) Liste_Ouvertures->addItem(QString::fromLatin1(l.c_str()));
}

engine::BookLines TForm2::lines() const {
    engine::BookLines out;
    for (int i = 0; i < Liste_Ouvertures->count(); ++i)
        out.push_back(Liste_Ouvertures->item(i)->text().toLatin1().toStdString());
    return out;
}

void TForm2::Liste_OuverturesClick() {
    if (QListWidgetItem* item = Liste_Ouvertures->currentItem()) Nouvelle_Ouverture->setText(item->text());
}

void TForm2::Valide_OuvertureClick() {
    // A blank line would be an opening that never matches.
    if (Nouvelle_Ouverture->text().trimmed().isEmpty()) return;
    Liste_Ouvertures->addItem(Nouvelle_Ouverture->text());
}

void TForm2::EffacerClick() {
    Nouvelle_Ouverture->clear();
    if (QListWidgetItem* item = Liste_Ouvertures->currentItem())
        delete Liste_Ouvertures->takeItem(Liste_Ouvertures->row(item));
}

void TForm2::reject() { emit cancelled(); }

}  // namespace ui

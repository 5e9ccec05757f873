#pragma once
// The opening-library editors: TForm2 ("White") edits the book the engine
// plays with White, TForm3 ("Black") the one it plays with Black. Both are
// this window with its colour's captions. The lines are edited here; the
// main window saves or discards them (BitBtn1, BitBtn2).

#include <QDialog>

#include "engine/book.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ui {

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2(rules::Side side, QWidget* parent = nullptr);

    rules::Side side() const { return m_side; }
    // The list, sorted as the engine reads it.
    void setLines(const engine::BookLines& lines);
    engine::BookLines lines() const;

    void Liste_OuverturesClick();
    void Valide_OuvertureClick();  // "Ajouter"
    void EffacerClick();

    QGroupBox* Fiche_Ouvertures = nullptr;
    QLineEdit* Nouvelle_Ouverture = nullptr;
    QListWidget* Liste_Ouvertures = nullptr;
    QPushButton* Valide_Ouverture = nullptr;
    QPushButton* Effacer = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "Enregistrer"
    QPushButton* BitBtn2 = nullptr;  // "Annuler"
    QPushButton* BitBtn3 = nullptr;  // "Construire et enregistrer": no work behind it, never shown

signals:
    // Closing by the frame is a cancel.
    void cancelled();

protected:
    void reject() override;

private:
    rules::Side m_side;
};

}  // namespace ui

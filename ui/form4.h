#pragma once
// TForm4, the analysis window ("Analyse"): the lines of the analysis, its
// progress, and the buttons "Suivant", "Editer analyse", "Imprimer analyse"
// and "Fin analyse", which run the main window's commands.

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

namespace ui {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    QListWidget* ListBox1 = nullptr;
    QLabel* Etat = nullptr;         // the position being analysed and how many remain
    QPushButton* BitBtn1 = nullptr;  // "Suivant"
    QPushButton* BitBtn2 = nullptr;  // "Editer analyse"
    QPushButton* BitBtn3 = nullptr;  // "Imprimer analyse"
    QPushButton* BitBtn4 = nullptr;  // "Fin analyse"

protected:
    // Closing the window by its frame ends the analysis like "Fin analyse".
    void reject() override;

signals:
    void closedByFrame();
};

}  // namespace ui

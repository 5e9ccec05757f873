#include "ui/new_game_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace ui {

namespace {

QLabel* caption(QWidget* parent, const char* name, const char* text) {
    return named(new QLabel(QString::fromUtf8(text), parent), name);
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    return named(new QPushButton(QString::fromUtf8(text), parent), name);
}

QLineEdit* nameBox(QWidget* parent, const char* name) {
    QLineEdit* e = named(new QLineEdit(parent), name);
    e->setMaxLength(19);  // names are 19 characters in the files
    return e;
}

// The engine's colour, Black by default.
QGroupBox* colourGroup(QWidget* parent, const char* name, QRadioButton*& white, QRadioButton*& black,
                       const char* whiteName, const char* blackName) {
    QGroupBox* group = named(new QGroupBox(QStringLiteral("Couleur de Tavolex"), parent), name);
    white = named(new QRadioButton(QStringLiteral("blanc"), group), whiteName);
    black = named(new QRadioButton(QStringLiteral("noir"), group), blackName);
    black->setChecked(true);
    auto* column = new QVBoxLayout(group);
    column->addWidget(white);
    column->addWidget(black);
    return group;
}

}  // namespace

NewGamePanel::NewGamePanel(QWidget* parent) : DialogPanel(parent, "Nouvelle_partie_cadre", QSize(480, 400)) {
    pages = named(new QTabWidget(this), "Nouvelle_partie");
    training = named(new QWidget, "Entrainement");
    match = named(new QWidget, "Match1");
    twoPeople = named(new QWidget, "Humain");
    pages->addTab(training, QStringLiteral("Entrainement"));
    pages->addTab(match, QStringLiteral("Match "));
    pages->addTab(twoPeople, QStringLiteral("Humain contre humain"));
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(4, 4, 4, 4);
    frame->addWidget(pages);

    // Training.
    trainingName = nameBox(training, "Joueur0");
    trainingName->setText(QStringLiteral("Mister X"));
    trainingRoll = named(new QListWidget(training), "ListBox8");
    QGroupBox* colour =
        colourGroup(training, "Choixcouleur1", engineWhite, engineBlack, "Corvanda_blanc", "Corvanda_noir");
    startTraining = button(training, "BitBtn15", "OK");
    cancelTraining = button(training, "Annule_nouveau", "Annuler");
    {
        auto* grid = new QGridLayout(training);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(caption(training, "Nom_joueur", "Joueur :"));
        nameRow->addWidget(trainingName, 1);
        grid->addLayout(nameRow, 0, 0);
        grid->addWidget(trainingRoll, 1, 0, 2, 1);
        grid->addWidget(colour, 1, 1);
        grid->setRowStretch(2, 1);
        grid->addLayout(okCancel(startTraining, cancelTraining), 3, 0, 1, 2);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(1, 2);
    }

    // A rated match.
    matchName = nameBox(match, "Joueur1");
    matchName->setText(QStringLiteral("Mister X"));
    matchRoll = named(new QListWidget(match), "ListBox9");
    matchRatings = named(new QListWidget(match), "ListBox14");
    matchRatings->setMaximumWidth(matchRatings->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 24);
    QGroupBox* colour1 =
        colourGroup(match, "RadioGroup2", matchEngineWhite, matchEngineBlack, "Corvanda_blanc1", "Corvanda_noir1");
    resetEngineRating = button(match, "RamenerCorvanda", "Ramener Tavolex à 2050");
    matchRefusal = caption(match, "Refus_match", "");
    matchRefusal->setWordWrap(true);
    matchRefusal->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    startMatch = button(match, "BitBtn16", "OK");
    cancelMatch = button(match, "BitBtn18", "Annuler");
    {
        auto* grid = new QGridLayout(match);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(caption(match, "Label15", "Joueur :"));
        nameRow->addWidget(matchName, 1);
        grid->addLayout(nameRow, 0, 0, 1, 2);
        grid->addWidget(matchRoll, 1, 0, 4, 1);
        grid->addWidget(matchRatings, 1, 1, 4, 1);
        grid->addWidget(colour1, 1, 2);
        grid->addWidget(resetEngineRating, 2, 2);
        grid->addWidget(matchRefusal, 3, 2);
        grid->setRowStretch(4, 1);
        grid->addLayout(okCancel(startMatch, cancelMatch), 5, 0, 1, 3);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(2, 2);
    }

    // Two people.
    whiteName = nameBox(twoPeople, "Joueur2");
    blackName = nameBox(twoPeople, "Joueur3");
    whiteRoll = named(new QListWidget(twoPeople), "ListBox10");
    whiteRatings = named(new QListWidget(twoPeople), "ListBox12");
    blackRoll = named(new QListWidget(twoPeople), "ListBox11");
    blackRatings = named(new QListWidget(twoPeople), "ListBox13");
    for (QListWidget* l : {whiteRatings, blackRatings})
        l->setMaximumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 24);
    startTwoPeople = button(twoPeople, "BitBtn17", "OK");
    cancelTwoPeople = button(twoPeople, "BitBtn19", "Annuler");
    {
        auto* grid = new QGridLayout(twoPeople);
        grid->addWidget(caption(twoPeople, "Label16", "Joueur blanc :"), 0, 0, 1, 2);
        grid->addWidget(caption(twoPeople, "Label17", "Joueur noir :"), 0, 2, 1, 2);
        grid->addWidget(whiteName, 1, 0, 1, 2);
        grid->addWidget(blackName, 1, 2, 1, 2);
        grid->addWidget(whiteRoll, 2, 0);
        grid->addWidget(whiteRatings, 2, 1);
        grid->addWidget(blackRoll, 2, 2);
        grid->addWidget(blackRatings, 2, 3);
        grid->setRowStretch(2, 1);
        grid->addLayout(okCancel(startTwoPeople, cancelTwoPeople), 3, 0, 1, 4);
    }

    for (QWidget* page : {training, match, twoPeople}) page->setAutoFillBackground(true);
    connect(pages, &QTabWidget::currentChanged, this, &NewGamePanel::followPage);
    // A name picked from the roll goes into the name box.
    connect(trainingRoll, &QListWidget::itemClicked, trainingName,
            [this](QListWidgetItem* i) { trainingName->setText(i->text()); });
    connect(matchRoll, &QListWidget::itemClicked, matchName,
            [this](QListWidgetItem* i) { matchName->setText(i->text()); });
    connect(whiteRoll, &QListWidget::itemClicked, whiteName,
            [this](QListWidgetItem* i) { whiteName->setText(i->text()); });
    connect(blackRoll, &QListWidget::itemClicked, blackName,
            [this](QListWidgetItem* i) { blackName->setText(i->text()); });
    followPage();
}

// Return and Escape act on the page shown.
void NewGamePanel::followPage() {
    QWidget* page = pages->currentWidget();
    if (page == training)
        setButtons(startTraining, cancelTraining);
    else if (page == match)
        setButtons(startMatch, cancelMatch);
    else
        setButtons(startTwoPeople, cancelTwoPeople);
    if (isVisible()) firstField(page, this)->setFocus(Qt::TabFocusReason);
}

}  // namespace ui

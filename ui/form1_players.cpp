// The players' side of the main window: the new-game page control and its
// three modes, the roll's panels, the name change, swapping sides, the
// resign buttons and the rating lines of the end-of-game panel, the mode
// shown on every pass, and game analysis with its window and strip.

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "engine/analysis.h"
#include "engine/search.h"
#include "files/setup.h"
#include "files/text_export.h"
#include "game/end_of_game.h"
#include "players/new_game.h"
#include "ui/form1.h"
#include "ui/widgets.h"
#include "ui/form4.h"

namespace ui {

namespace {

template <class W>
W* make(QWidget* parent, const char* name, QRect geometry) {
    W* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel* caption(QWidget* parent, const char* name, const char* text, QRect geometry) {
    QLabel* l = make<QLabel>(parent, name, geometry);
    l->setText(QString::fromUtf8(text));
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, QRect geometry) {
    QPushButton* b = make<QPushButton>(parent, name, geometry);
    b->setText(QString::fromUtf8(text));
    return b;
}

QRadioButton* radio(QWidget* parent, const char* name, const char* text, QRect geometry, bool checked = false) {
    QRadioButton* r = make<QRadioButton>(parent, name, geometry);
    r->setText(QString::fromUtf8(text));
    r->setChecked(checked);
    return r;
}

// Names are single-byte Latin-1, in the window as in the files.
std::string latin1(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }
QString fromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

void fill(QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const std::string& l : lines) list->addItem(fromLatin1(l));
}

// The items a rated game switches off, besides whole menus; "Niveau" goes
// from ply 11 on.
// "Joueurs" keeps "Inverser les joueurs" (F4): handing one's side to the
// computer is how a person leaves a match without a rated result.
constexpr const char* MatchItems[] = {"Rflexionsurtempsadverse1", "Horlogeszro1", "Arrtducalcul1", "Reprendrecoups1",
                                      "Avancercoups1", "Reveniraudebut1", "Allerlafin1", "Arretrflexionparclicsouris1",
                                      "Match21", "Effacerunjoueur1", "Changerlesnoms1"};

// The analysis reaches the windows line by line and shows its progress.
class AnalysisView : public engine::AnalysisObserver {
public:
    AnalysisView(QListWidget* longList, QListWidget* shortList, QLabel* state, int language,
                 std::function<void()> redraw)
        : m_long(longList), m_short(shortList), m_state(state), m_language(language),
          m_redraw(std::move(redraw)) {}
    void positionStarted(int ply, int remaining) override {
        m_redraw();
        m_state->setText(captions::text(captions::Text::AnalysisProgress, m_language)
                             .arg(ply / 2 + 1)
                             .arg(ply)
                             .arg(remaining));
    }
    void lineWritten(const engine::AnalysisLine& line) override {
        // The walk goes backwards and inserts at the top, so the lists read
        // in game order.
        m_long->insertItem(0, QString::fromUtf8(engine::analysisLongLine(line, m_language)));
        m_short->insertItem(0, QString::fromUtf8(engine::analysisShortLine(line, m_language)));
        ++lines;
    }
    int lines = 0;

private:
    QListWidget* m_long;
    QListWidget* m_short;
    QLabel* m_state;
    int m_language;
    std::function<void()> m_redraw;
};

}  // namespace

void TForm1::buildPlayers() {
    QWidget* area = centralWidget();

    // The new-game page control, over the board.
    Nouvelle_partie = make<QTabWidget>(area, "Nouvelle_partie", QRect(20, 60, 480, 400));
    Nouvelle_partie->hide();
    Entrainement = make<QWidget>(nullptr, "Entrainement", QRect());
    Match1 = make<QWidget>(nullptr, "Match1", QRect());
    Humain = make<QWidget>(nullptr, "Humain", QRect());
    Nouvelle_partie->addTab(Entrainement, QStringLiteral("Entrainement"));
    Nouvelle_partie->addTab(Match1, QStringLiteral("Match "));
    Nouvelle_partie->addTab(Humain, QStringLiteral("Humain contre humain"));
    for (QWidget* page : {Entrainement, Match1, Humain}) page->setAutoFillBackground(true);

    caption(Entrainement, "Nom_joueur", "Joueur :", QRect(10, 12, 70, 24));
    Joueur0 = make<QLineEdit>(Entrainement, "Joueur0", QRect(84, 10, 180, 26));
    Joueur0->setText(QStringLiteral("Mister X"));
    Joueur0->setMaxLength(19);
    ListBox8 = make<QListWidget>(Entrainement, "ListBox8", QRect(10, 44, 254, 250));
    QGroupBox* colour = make<QGroupBox>(Entrainement, "Choixcouleur1", QRect(280, 44, 180, 90));
    colour->setTitle(QStringLiteral("Couleur de Tavolex"));
    Corvanda_blanc = radio(colour, "Corvanda_blanc", "blanc", QRect(12, 26, 150, 24));
    Corvanda_noir = radio(colour, "Corvanda_noir", "noir", QRect(12, 54, 150, 24), true);
    BitBtn15 = button(Entrainement, "BitBtn15", "OK", QRect(280, 300, 86, 30));
    Annule_nouveau = button(Entrainement, "Annule_nouveau", "Annuler", QRect(374, 300, 86, 30));

    caption(Match1, "Label15", "Joueur :", QRect(10, 12, 70, 24));
    Joueur1 = make<QLineEdit>(Match1, "Joueur1", QRect(84, 10, 180, 26));
    Joueur1->setText(QStringLiteral("Mister X"));
    Joueur1->setMaxLength(19);
    ListBox9 = make<QListWidget>(Match1, "ListBox9", QRect(10, 44, 190, 250));
    ListBox14 = make<QListWidget>(Match1, "ListBox14", QRect(202, 44, 62, 250));
    QGroupBox* colour1 = make<QGroupBox>(Match1, "RadioGroup2", QRect(280, 44, 180, 90));
    colour1->setTitle(QStringLiteral("Couleur de Tavolex"));
    Corvanda_blanc1 = radio(colour1, "Corvanda_blanc1", "blanc", QRect(12, 26, 150, 24));
    Corvanda_noir1 = radio(colour1, "Corvanda_noir1", "noir", QRect(12, 54, 150, 24), true);
    RamenerCorvanda = button(Match1, "RamenerCorvanda", "Ramener Tavolex à 2050", QRect(280, 146, 180, 30));
    Refus_match = caption(Match1, "Refus_match", "", QRect(280, 184, 180, 110));
    Refus_match->setWordWrap(true);
    Refus_match->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    BitBtn16 = button(Match1, "BitBtn16", "OK", QRect(280, 300, 86, 30));
    BitBtn18 = button(Match1, "BitBtn18", "Annuler", QRect(374, 300, 86, 30));

    caption(Humain, "Label16", "Joueur blanc :", QRect(10, 12, 100, 24));
    Joueur2 = make<QLineEdit>(Humain, "Joueur2", QRect(10, 38, 210, 26));
    caption(Humain, "Label17", "Joueur noir :", QRect(240, 12, 100, 24));
    Joueur3 = make<QLineEdit>(Humain, "Joueur3", QRect(240, 38, 210, 26));
    for (QLineEdit* e : {Joueur2, Joueur3}) e->setMaxLength(19);
    ListBox10 = make<QListWidget>(Humain, "ListBox10", QRect(10, 70, 150, 224));
    ListBox12 = make<QListWidget>(Humain, "ListBox12", QRect(162, 70, 58, 224));
    ListBox11 = make<QListWidget>(Humain, "ListBox11", QRect(240, 70, 150, 224));
    ListBox13 = make<QListWidget>(Humain, "ListBox13", QRect(392, 70, 58, 224));
    BitBtn17 = button(Humain, "BitBtn17", "OK", QRect(280, 300, 86, 30));
    BitBtn19 = button(Humain, "BitBtn19", "Annuler", QRect(374, 300, 86, 30));

    connect(ListBox8, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { Joueur0->setText(i->text()); });
    connect(ListBox9, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { Joueur1->setText(i->text()); });
    connect(ListBox10, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { Joueur2->setText(i->text()); });
    connect(ListBox11, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { Joueur3->setText(i->text()); });
    connect(BitBtn15, &QPushButton::clicked, this, &TForm1::BitBtn15Click);
    connect(BitBtn16, &QPushButton::clicked, this, &TForm1::BitBtn16Click);
    connect(BitBtn17, &QPushButton::clicked, this, &TForm1::BitBtn17Click);
    for (QPushButton* b : {Annule_nouveau, BitBtn18, BitBtn19}) connect(b, &QPushButton::clicked, this, &TForm1::Annule_nouveauClick);
    connect(RamenerCorvanda, &QPushButton::clicked, this, &TForm1::RamenerCorvandaClick);

    // Adding a player.
    Nouveau_joueur = overlay(area, "Nouveau_joueur", QRect(60, 120, 400, 250));
    caption(Nouveau_joueur, "Label13", "Nom du joueur :", QRect(12, 14, 120, 24));
    Joueur = make<QLineEdit>(Nouveau_joueur, "Joueur", QRect(136, 12, 250, 26));
    Joueur->setMaxLength(19);
    QGroupBox* capital = make<QGroupBox>(Nouveau_joueur, "Capital", QRect(12, 48, 376, 140));
    capital->setTitle(QStringLiteral("Capital points"));
    K1600 = radio(capital, "K1600", "1600 (l'ordinateur vous laisse le double de son temps)", QRect(10, 26, 360, 28));
    K1700 = radio(capital, "K1700", "1700 (l'ordinateur vous laisse voir sa réflexion)", QRect(10, 62, 360, 28));
    K1800 = radio(capital, "K1800", "1800 (l'ordinateur ne vous fait pas de cadeau)", QRect(10, 98, 360, 28), true);
    BitBtn7 = button(Nouveau_joueur, "BitBtn7", "OK", QRect(200, 200, 86, 30));
    O = button(Nouveau_joueur, "O", "Annuler", QRect(296, 200, 86, 30));
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::BitBtn7Click);
    connect(O, &QPushButton::clicked, this, &TForm1::OClick);

    // Deleting a player.
    Efface_j = overlay(area, "Efface_j", QRect(100, 80, 320, 360));
    caption(Efface_j, "Label18", "Joueur à effacer :", QRect(12, 10, 200, 24));
    ListBox15 = make<QListWidget>(Efface_j, "ListBox15", QRect(12, 36, 296, 230));
    joueur_efface = make<QLineEdit>(Efface_j, "joueur_efface", QRect(12, 272, 296, 26));
    joueur_efface->setReadOnly(true);
    BitBtn20 = button(Efface_j, "BitBtn20", "OK", QRect(126, 310, 86, 30));
    BitBtn12 = button(Efface_j, "BitBtn12", "Annuler", QRect(222, 310, 86, 30));
    connect(ListBox15, &QListWidget::itemClicked, this, [this] { ListBox7Click(); });
    connect(BitBtn20, &QPushButton::clicked, this, &TForm1::BitBtn20Click);
    connect(BitBtn12, &QPushButton::clicked, this, &TForm1::BitBtn12Click);

    // Changing the names.
    Joueurs = overlay(area, "Joueurs", QRect(100, 170, 320, 150));
    caption(Joueurs, "Nom_blancs", "Blancs :", QRect(12, 14, 70, 24));
    Edit2 = make<QLineEdit>(Joueurs, "Edit2", QRect(86, 12, 220, 26));
    caption(Joueurs, "Nom_noirs", "Noirs :", QRect(12, 50, 70, 24));
    Edit3 = make<QLineEdit>(Joueurs, "Edit3", QRect(86, 48, 220, 26));
    for (QLineEdit* e : {Edit2, Edit3}) e->setMaxLength(19);
    OKjoueur = button(Joueurs, "OKjoueur", "OK", QRect(124, 100, 86, 30));
    Cancel_joueurs = button(Joueurs, "Cancel_joueurs", "Annuler", QRect(220, 100, 86, 30));
    connect(OKjoueur, &QPushButton::clicked, this, &TForm1::OKjoueurClick);
    connect(Cancel_joueurs, &QPushButton::clicked, this, &TForm1::Cancel_joueursClick);

    // Resigning, in rated games only: below the board and on the two pages.
    Abandon = button(area, "Abandon", "Abandonner", QRect(400, 526, 112, 30));
    Abandon->hide();
    for (QPushButton* b : {Abandon, Abandon1, Abandon2}) connect(b, &QPushButton::clicked, this, &TForm1::AbandonClick);

    // The analysis strip over the side pages, and the learning prompt.
    Panel17 = overlay(area, "Panel17", QRect(528, 98, 264, 324));
    ListBox6 = make<QListWidget>(Panel17, "ListBox6", QRect(4, 4, 256, 272));
    ListBox6->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPushButton* next = button(Panel17, "Button10", "Suivant", QRect(4, 282, 82, 30));
    QPushButton* edit = button(Panel17, "Button12", "Editer", QRect(90, 282, 82, 30));
    QPushButton* end = button(Panel17, "Button11", "Fin analyse", QRect(176, 282, 84, 30));
    connect(next, &QPushButton::clicked, this, &TForm1::pauseAnalysis);
    connect(edit, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(end, &QPushButton::clicked, this, &TForm1::fin_analyse);
    Learn = overlay(area, "Learn", QRect(100, 200, 320, 120));
    caption(Learn, "Label_learn", "Apprendre ?", QRect(12, 14, 296, 40))->setWordWrap(true);
    button(Learn, "Learn_yes", "Oui", QRect(60, 70, 86, 30));  // wired with the libraries
    QPushButton* learnNo = button(Learn, "Learn_no", "Non", QRect(170, 70, 86, 30));
    connect(learnNo, &QPushButton::clicked, this, &TForm1::Learn_noClick);

    Form4 = new TForm4(this);
    connect(Form4->BitBtn1, &QPushButton::clicked, this, &TForm1::pauseAnalysis);
    connect(Form4->BitBtn2, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Form4->BitBtn3, &QPushButton::clicked, this, &TForm1::Button3aClick);
    connect(Form4->BitBtn4, &QPushButton::clicked, this, &TForm1::fin_analyse);
    connect(Form4, &TForm4::closedByFrame, this, &TForm1::fin_analyse);

    auto item = [this](const char* name) { return findChild<QAction*>(name); };
    connect(item("Nouveau2"), &QAction::triggered, this, &TForm1::Nouveau2Click);
    connect(item("Match21"), &QAction::triggered, this, &TForm1::Match21Click);
    connect(item("Effacerunjoueur1"), &QAction::triggered, this, &TForm1::Effacerunjoueur1Click);
    connect(item("Inverserlesjoueurs1"), &QAction::triggered, this, &TForm1::inverser_joueurs);
    connect(item("Changerlesnoms1"), &QAction::triggered, this, &TForm1::Changerlesnoms1Click);
    connect(item("Analyser1"), &QAction::triggered, this, &TForm1::Analyser);
    connect(item("Arrtercettephase1"), &QAction::triggered, this, &TForm1::pauseAnalysis);
    connect(item("Terminerlanalyse1"), &QAction::triggered, this, &TForm1::fin_analyse);
}

// ---------------------------------------------------------------------------
// New games

void TForm1::fillRollLists() {
    const players::Roll& roll = m_core.players;
    for (QListWidget* l : {ListBox8, ListBox9, ListBox10, ListBox11}) fill(l, roll.names);
    for (QListWidget* l : {ListBox12, ListBox13, ListBox14}) fill(l, roll.ratings);
}

void TForm1::Nouveau2Click() {
    if (busy() || m_analysisRunning) return;
    abandonThinking();
    finishOps();
    const bool wasSetup = m_core.game.setupMode;
    players::Nouveau2Click(m_core);
    if (wasSetup) {
        refreshSetupState();
        refreshSetupCaptions();
    }
    fillRollLists();
    Panel13->hide();
    Panel14->hide();
    Refus_match->clear();
    Nouvelle_partie->show();
    Nouvelle_partie->raise();
}

// What every mode shows once its game is set up.
void TForm1::startedNewGame() {
    clearThinking();
    Nouvelle_partie->hide();
    fin_de_parties->hide();
    Match_nul->hide();
    Nulrefus->hide();
    const game::GameState& g = m_core.game;
    Humaincontrehumain1->setChecked(g.options.humanVsHuman);
    if (QAction* a = findChild<QAction*>("Ordinateurcontreordinateur1")) a->setChecked(g.options.selfPlay);
    if (QAction* a = findChild<QAction*>("Arretrflexionparclicsouris1")) a->setChecked(g.options.stopByClick);
    showCaptureLabels(false);
    repaintBoard();
    refreshPlayers();
    refreshMoveList();
    refreshSetupCaptions();
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(1));
    requestPass();
}

void TForm1::BitBtn15Click() {
    if (!players::BitBtn15Click(m_core, latin1(Joueur0), Corvanda_noir->isChecked()).accepted()) return;
    startedNewGame();
}

void TForm1::BitBtn16Click() {
    const players::NewGame out =
        players::BitBtn16Click(m_core, latin1(Joueur1), ListBox9->currentRow(), Corvanda_noir1->isChecked());
    if (out.refusal == players::Refusal::RatingBelowOne) {
        // The formula divides by both ratings: such a game cannot be rated.
        Refus_match->setText(runText(captions::Text::UnreadableRating).arg(fromLatin1(out.badName)));
        return;
    }
    if (!out.accepted()) return;
    Refus_match->clear();
    startedNewGame();
}

void TForm1::BitBtn17Click() {
    if (!players::BitBtn17Click(m_core, latin1(Joueur2), latin1(Joueur3), ListBox10->currentRow(), ListBox11->currentRow())
             .accepted())
        return;
    startedNewGame();
}

void TForm1::Annule_nouveauClick() {
    Nouvelle_partie->hide();
    repaintBoard();
}

void TForm1::RamenerCorvandaClick() {
    players::RamenerCorvandaClick(m_core);
    const QString rating = QString::number(players::ComputerRating);
    for (QListWidget* l : {ListBox12, ListBox13, ListBox14}) {
        if (l->count() == 0) l->addItem(rating);
        else l->item(0)->setText(rating);
    }
    Joueur1->clear();
}

// ---------------------------------------------------------------------------
// The roll

void TForm1::Match21Click() {
    if (busy()) return;
    m_core.players = players::loadRoll(m_core.programDir);
    fill(ListBox9, m_core.players.names);
    fill(ListBox14, m_core.players.ratings);
    Nouveau_joueur->show();
    Nouveau_joueur->raise();
    Joueur->setFocus();
}

void TForm1::BitBtn7Click() {
    const int rating = K1600->isChecked() ? 1600 : K1700->isChecked() ? 1700 : 1800;
    // The ratings as on disk: a reset not yet saved is not written with them.
    players::Roll roll = players::loadRoll(m_core.programDir);
    roll.names = m_core.players.names;
    if (!players::addPlayer(roll, latin1(Joueur), rating)) return;  // an empty name: the panel stays
    Nouveau_joueur->hide();
    Joueur->clear();
    m_core.players = roll;
    fill(ListBox9, roll.names);
    fill(ListBox14, roll.ratings);
    if (!players::saveNames(m_core.programDir, roll) || !players::saveRatings(m_core.programDir, roll)) showFileError();
}

void TForm1::OClick() {
    Nouveau_joueur->hide();
    repaintBoard();
}

void TForm1::Effacerunjoueur1Click() {
    if (busy()) return;
    m_core.players = players::loadRoll(m_core.programDir);
    fill(ListBox15, m_core.players.names);
    joueur_efface->clear();
    Efface_j->show();
    Efface_j->raise();
}

void TForm1::ListBox7Click() {
    if (QListWidgetItem* i = ListBox15->currentItem()) joueur_efface->setText(i->text());
}

void TForm1::BitBtn20Click() {
    players::Roll roll = players::loadRoll(m_core.programDir);
    roll.names = m_core.players.names;
    if (!players::deletePlayer(roll, ListBox15->currentRow())) return;  // line 0 or nothing: the panel stays
    Efface_j->hide();
    m_core.players = roll;
    if (!players::saveNames(m_core.programDir, roll) || !players::saveRatings(m_core.programDir, roll)) showFileError();
    repaintBoard();
}

void TForm1::BitBtn12Click() {
    Efface_j->hide();
    repaintBoard();
}

// ---------------------------------------------------------------------------
// Names, sides, resigning, the end of a rated game

void TForm1::Changerlesnoms1Click() {
    if (busy()) return;
    Edit2->setText(Nom_blanc->text());
    Edit3->setText(Nom_noir->text());
    Joueurs->show();
    Joueurs->raise();
}

void TForm1::OKjoueurClick() {
    Joueurs->hide();
    players::OKjoueurClick(m_core, latin1(Edit2), latin1(Edit3));
    refreshPlayers();
}

void TForm1::Cancel_joueursClick() { Joueurs->hide(); }

void TForm1::inverser_joueurs() {
    if (busy() || m_analysisRunning) return;
    abandonThinking();
    finishOps();
    players::inverser_joueurs(m_core);
    refreshSetupCaptions();
    requestPass();
}

void TForm1::AbandonClick() {
    if (!m_introDone || m_core.game.ratedGame != game::RatedState::InProgress) return;
    // A search running for the engine's move is given up: its move is not
    // played.
    abandonThinking();
    finishOps();
    m_core.game.engineToMove = false;
    showEndOfGame(game::endOfGame(m_core, game::EndReason::PersonResigned));
    m_core.game.ratedGame = game::RatedState::None;  // the match is over; its result is saved
    requestPass();
}

void TForm1::showRatingLines(const game::EndOfGame& end) {
    Resultat_blanc->clear();
    Resultat_noir->clear();
    if (!end.ratings) return;
    const players::RatingChange& r = *end.ratings;
    Resultat_blanc->setText(Nom_blanc->text() + QString::fromStdString(players::ratingChangeText(r.whiteOld, r.whiteNew)));
    Resultat_noir->setText(Nom_noir->text() + QString::fromStdString(players::ratingChangeText(r.blackOld, r.blackNew)));
}

// The mode on every pass: a rated game shows "Match" and the resign
// buttons and switches off what would help the person; other games get
// back what the match took.
void TForm1::refreshMode() {
    const game::GameState& g = m_core.game;
    const bool rated = g.ratedGame == game::RatedState::InProgress;
    if (rated) Panel11->setText(runText(captions::Text::RatedGame));
    for (QPushButton* b : {Abandon, Abandon1, Abandon2}) b->setVisible(rated);
    auto switchOff = [this](QAction* a, bool off) {
        if (!a) return;
        if (off && a->isEnabled()) {
            a->setEnabled(false);
            m_matchDisabled.emplace_back(a);
        } else if (!off) {
            for (auto it = m_matchDisabled.begin(); it != m_matchDisabled.end(); ++it)
                if (*it == a) {
                    a->setEnabled(true);
                    m_matchDisabled.erase(it);
                    break;
                }
        }
    };
    for (QMenu* m : {Fichier1, Analyse2, Ouvertures1}) switchOff(m->menuAction(), rated);
    for (const char* name : MatchItems) switchOff(findChild<QAction*>(name), rated);
    switchOff(Niveau1->menuAction(), rated && g.record.plyCounter > 10);
    if (rated) Probleme->setEnabled(false);
    else Probleme->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Analysis

void TForm1::Analyser() {
    if (busy() || m_analysisRunning || m_core.game.record.plyCounter == 0) return;
    abandonThinking();
    finishOps();
    if (!m_analysis.begin(m_core, m_fixedLimits)) return;
    const int language = interfaceLanguage();
    auto item = [this](const char* name) { return findChild<QAction*>(name); };
    item("Analyser1")->setEnabled(false);
    item("Arrtercettephase1")->setEnabled(true);
    item("Terminerlanalyse1")->setEnabled(true);
    fin_de_parties->hide();
    Learn->hide();
    Form4->ListBox1->clear();
    ListBox6->clear();
    Form4->ListBox1->addItem(QString::fromUtf8(engine::analysisHeader(language)));
    Form4->ListBox1->insertItem(0, QString::fromUtf8(engine::analysisLegend(language)));
    Form4->show();
    Panel17->show();
    Panel17->raise();

    // The walk owns the record until it is over: nothing may move it
    // meanwhile (navigation, files, new games, levels). A session's analysis
    // leaves "Apprentissage" open, so that the session can be stopped.
    m_analysisFrozen.clear();
    for (QMenu* m : {Fichier1, Edition1, Joueurs1, Niveau1, Ouvertures1, Apprentissage1})
        if (m->menuAction()->isEnabled() && !(m == Apprentissage1 && m_core.engine.learning.session)) {
            m->menuAction()->setEnabled(false);
            m_analysisFrozen.emplace_back(m->menuAction());
        }
    m_analysisView = std::make_unique<AnalysisView>(Form4->ListBox1, ListBox6, Form4->Etat, language, [this] {
        repaintBoard();
        refreshPlayers();
    });
    m_analysisRunning = true;
    m_finishRequested = false;
    analyseNextPosition();
}

// The next position of the walk goes to the engine; the walk ends when there
// is none left.
void TForm1::analyseNextPosition() {
    std::optional<engine::SearchInput> in = m_analysis.next(m_core, m_analysisView.get());
    if (!in) {
        analysisFinished();
        return;
    }
    askEngine(std::move(*in), Thinking::Analysis);
}

void TForm1::analysisAnswered(const engine::SearchOutput& out) {
    m_core.engine.random = out.random;
    m_analysis.take(m_core, out, m_analysisView.get());
    analyseNextPosition();
}

void TForm1::analysisFinished() {
    const engine::AnalysisOutcome out = m_analysis.finish(m_core);
    m_analysisRunning = false;
    for (const QPointer<QAction>& a : m_analysisFrozen)
        if (a) a->setEnabled(true);
    m_analysisFrozen.clear();
    m_analysedLines = static_cast<int>(out.lines.size());
    m_analysisView.reset();
    Form4->Etat->setText(runText(out.completed ? captions::Text::AnalysisDone : captions::Text::AnalysisStopped));
    findChild<QAction*>("Arrtercettephase1")->setEnabled(false);
    repaintBoard();
    refreshPlayers();
    refreshMoveList();
    if (m_finishRequested) {
        finishAnalysis();
        return;
    }
    // A session goes on by itself: the game is learned and the next begins.
    if (m_core.engine.learning.session) continueSession();
}

// "Arrêter cette phase", "Suivant": the position being analysed gets the
// best move found so far, and the walk goes on.
void TForm1::pauseAnalysis() {
    if (m_thinking == Thinking::Analysis && m_worker) m_worker->stop();
}

// "Terminer l'analyse", "Fin analyse": the walk stops where it is, and the
// analysis is closed.
void TForm1::fin_analyse() {
    if (m_analysisRunning) {
        m_finishRequested = true;
        engine::stopAnalysis(m_core);
        abandonThinking();
        analysisFinished();
        return;
    }
    if (!Form4->isVisible() && !Panel17->isVisible()) return;
    finishAnalysis();
}

void TForm1::finishAnalysis() {
    m_finishRequested = false;
    engine::fin_analyse(m_core);
    findChild<QAction*>("Analyser1")->setEnabled(true);
    findChild<QAction*>("Arrtercettephase1")->setEnabled(false);
    findChild<QAction*>("Terminerlanalyse1")->setEnabled(false);
    Form4->hide();
    Panel17->hide();
    refreshSetupCaptions();
    Learn->show();
    Learn->raise();
    requestPass();
}

void TForm1::Button3Click() {
    const FileAnswer answer =
        m_fileDialog({true, QString::fromStdString(m_core.programDir.string()), {QStringLiteral("Fichiers texte (*.txt)")}, "txt"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
    std::vector<std::string> lines;
    // The game's text files are single-byte Latin-1.
    for (int i = 0; i < Form4->ListBox1->count(); ++i) lines.push_back(Form4->ListBox1->item(i)->text().toLatin1().toStdString());
    if (!files::writeTextFile(path.toLocal8Bit().toStdString(), files::analysisReportText(lines))) showFileError();
}

void TForm1::Button3aClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Analyse"));
    if (!m_printDialog(printer)) return;
    std::vector<std::string> lines;
    // The analysed moves, without the legend and the header below them.
    const int count = std::min(m_analysedLines, Form4->ListBox1->count());
    for (int i = 0; i < count; ++i) lines.push_back(Form4->ListBox1->item(i)->text().toStdString());
    const std::vector<std::string> report =
        files::printedAnalysisReport(Nom_blanc->text().toStdString(), Nom_noir->text().toStdString(), interfaceLanguage(), lines);
    QPainter painter;
    if (!painter.begin(&printer)) {
        showFileError();
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    int y = metrics.ascent();
    for (const std::string& line : report) {
        if (y + metrics.descent() > printer.height()) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, QString::fromStdString(line));  // UTF-8 throughout
        y += metrics.lineSpacing();
    }
    painter.end();
}

}  // namespace ui

#include "ui/player_commands.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "players/new_game.h"
#include "ui/dialog_panel.h"
#include "ui/file_commands.h"
#include "ui/form1.h"
#include "ui/game_panels.h"
#include "ui/main_menus.h"
#include "ui/new_game_panel.h"
#include "ui/play_area.h"
#include "ui/setup_page.h"
#include "ui/side_parts.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// Names are single-byte Latin-1, in the window as in the files.
std::string latin1(const QLineEdit* edit) { return edit->text().toLatin1().toStdString(); }
QString fromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

void fill(QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const std::string& l : lines) list->addItem(fromLatin1(l));
}

}  // namespace

PlayerCommands::PlayerCommands(TForm1& window) : w(window) {
    newGame = new NewGamePanel(w.area);
    connect(newGame->startTraining, &QPushButton::clicked, this, &PlayerCommands::startTrainingGame);
    connect(newGame->startMatch, &QPushButton::clicked, this, &PlayerCommands::startMatch);
    connect(newGame->startTwoPeople, &QPushButton::clicked, this, &PlayerCommands::startTwoPersonGame);
    for (QPushButton* b : {newGame->cancelTraining, newGame->cancelMatch, newGame->cancelTwoPeople})
        connect(b, &QPushButton::clicked, this, &PlayerCommands::cancelNewGame);
    connect(newGame->resetEngineRating, &QPushButton::clicked, this, &PlayerCommands::resetEngineRating);

    // Adding a player.
    newPlayer = new DialogPanel(w.area, "Nouveau_joueur", QSize(400, 220));
    newPlayerName = named(new QLineEdit(newPlayer), "Joueur");
    newPlayerName->setMaxLength(19);
    QGroupBox* capital = named(new QGroupBox(QStringLiteral("Capital points"), newPlayer), "Capital");
    startAt1600 =
        named(new QRadioButton(QString::fromUtf8("1600 (l'ordinateur vous laisse le double de son temps)"), capital),
              "K1600");
    startAt1700 = named(
        new QRadioButton(QString::fromUtf8("1700 (l'ordinateur vous laisse voir sa réflexion)"), capital), "K1700");
    startAt1800 =
        named(new QRadioButton(QString::fromUtf8("1800 (l'ordinateur ne vous fait pas de cadeau)"), capital), "K1800");
    startAt1800->setChecked(true);
    {
        auto* choices = new QVBoxLayout(capital);
        for (QRadioButton* r : {startAt1600, startAt1700, startAt1800}) choices->addWidget(r);
        QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), newPlayer), "BitBtn7");
        QPushButton* cancel = named(new QPushButton(QStringLiteral("Annuler"), newPlayer), "O");
        auto* column = new QVBoxLayout(newPlayer);
        column->setContentsMargins(12, 12, 12, 12);
        auto* nameRow = new QHBoxLayout;
        nameRow->addWidget(named(new QLabel(QStringLiteral("Nom du joueur :"), newPlayer), "Label13"));
        nameRow->addWidget(newPlayerName, 1);
        column->addLayout(nameRow);
        column->addWidget(capital);
        column->addLayout(okCancel(ok, cancel));
        newPlayer->setButtons(ok, cancel);
        connect(ok, &QPushButton::clicked, this, &PlayerCommands::addPlayer);
        connect(cancel, &QPushButton::clicked, this, [this] {
            newPlayer->hide();
            w.repaintBoard();
        });
    }

    // Deleting a player.
    deletion = new DialogPanel(w.area, "Efface_j", QSize(320, 340));
    deletionRoll = named(new QListWidget(deletion), "ListBox15");
    deletedName = named(new QLineEdit(deletion), "joueur_efface");
    deletedName->setReadOnly(true);
    {
        QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), deletion), "BitBtn20");
        QPushButton* cancel = named(new QPushButton(QStringLiteral("Annuler"), deletion), "BitBtn12");
        auto* column = new QVBoxLayout(deletion);
        column->setContentsMargins(12, 10, 12, 12);
        column->addWidget(named(new QLabel(QString::fromUtf8("Joueur à effacer :"), deletion), "Label18"));
        column->addWidget(deletionRoll, 1);
        column->addWidget(deletedName);
        column->addLayout(okCancel(ok, cancel));
        deletion->setButtons(ok, cancel);
        connect(deletionRoll, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* i) { deletedName->setText(i->text()); });
        connect(ok, &QPushButton::clicked, this, &PlayerCommands::deletePlayer);
        connect(cancel, &QPushButton::clicked, this, [this] {
            deletion->hide();
            w.repaintBoard();
        });
    }

    // Changing the names.
    renaming = new DialogPanel(w.area, "Joueurs", QSize(320, 130));
    whiteName = named(new QLineEdit(renaming), "Edit2");
    blackName = named(new QLineEdit(renaming), "Edit3");
    for (QLineEdit* e : {whiteName, blackName}) e->setMaxLength(19);
    {
        QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), renaming), "OKjoueur");
        QPushButton* cancel = named(new QPushButton(QStringLiteral("Annuler"), renaming), "Cancel_joueurs");
        auto* grid = new QGridLayout;
        grid->addWidget(named(new QLabel(QStringLiteral("Blancs :"), renaming), "Nom_blancs"), 0, 0);
        grid->addWidget(whiteName, 0, 1);
        grid->addWidget(named(new QLabel(QStringLiteral("Noirs :"), renaming), "Nom_noirs"), 1, 0);
        grid->addWidget(blackName, 1, 1);
        auto* column = new QVBoxLayout(renaming);
        column->setContentsMargins(12, 12, 12, 12);
        column->addLayout(grid);
        column->addLayout(okCancel(ok, cancel));
        renaming->setButtons(ok, cancel);
        connect(ok, &QPushButton::clicked, this, &PlayerCommands::rename);
        connect(cancel, &QPushButton::clicked, renaming, &QWidget::hide);
    }

    // Resigning, in rated games only: below the board and on the two pages.
    for (QPushButton* b : {w.resign, w.moveListPage->resign, w.thinkingPage->resign})
        connect(b, &QPushButton::clicked, this, &PlayerCommands::resign);
}

// ---------------------------------------------------------------------------
// New games

void PlayerCommands::fillRollLists() {
    const players::Roll& roll = w.core().players;
    for (QListWidget* l : {newGame->trainingRoll, newGame->matchRoll, newGame->whiteRoll, newGame->blackRoll})
        fill(l, roll.names);
    for (QListWidget* l : {newGame->whiteRatings, newGame->blackRatings, newGame->matchRatings}) fill(l, roll.ratings);
}

void PlayerCommands::offerNewGame() {
    if (w.busy() || w.analysisRunning()) return;
    w.abandonThinking();
    w.finishOps();
    const bool wasSetup = w.core().game.setupMode;
    players::resetForNewGame(w.core());
    if (wasSetup) w.positionSetup().newGameBegun();
    fillRollLists();
    w.moveListPage->nextProblem->hide();
    w.moveListPage->replayProblem->hide();
    newGame->matchRefusal->clear();
    w.openPanel(newGame);
}

void PlayerCommands::startedNewGame() {
    w.thinkingPage->clear();
    w.core().engine.statsShown = false;
    w.fileCommands().keepForRecovery();
    newGame->hide();
    w.endOfGame->hide();
    w.drawOffer->hide();
    w.drawRefused->hide();
    const game::GameState& g = w.core().game;
    MainMenus& m = w.menus();
    m.twoPeople->setChecked(g.options.humanVsHuman);
    m.selfPlay->setChecked(g.options.selfPlay);
    m.stopByClick->setChecked(g.options.stopByClick);
    w.showCaptureLabels(false);
    w.repaintBoard();
    w.refreshPlayers();
    w.refreshMoveList();
    w.positionSetup().refreshCaptions();
    w.moveNumber->setText(w.runText(captions::Text::Moves).arg(1));
    w.requestPass();
}

void PlayerCommands::startTrainingGame() {
    if (!players::startTrainingGame(w.core(), latin1(newGame->trainingName), newGame->engineBlack->isChecked())
             .accepted())
        return;
    startedNewGame();
}

void PlayerCommands::startMatch() {
    const players::NewGame out = players::startMatch(
        w.core(), latin1(newGame->matchName), newGame->matchRoll->currentRow(), newGame->matchEngineBlack->isChecked());
    if (out.refusal == players::Refusal::RatingBelowOne) {
        // The formula divides by both ratings: such a game cannot be rated.
        newGame->matchRefusal->setText(w.runText(captions::Text::UnreadableRating).arg(fromLatin1(out.badName)));
        return;
    }
    if (!out.accepted()) return;
    newGame->matchRefusal->clear();
    startedNewGame();
}

void PlayerCommands::startTwoPersonGame() {
    if (!players::startTwoPersonGame(w.core(), latin1(newGame->whiteName), latin1(newGame->blackName),
                                     newGame->whiteRoll->currentRow(), newGame->blackRoll->currentRow())
             .accepted())
        return;
    startedNewGame();
}

void PlayerCommands::cancelNewGame() {
    newGame->hide();
    w.repaintBoard();
}

void PlayerCommands::resetEngineRating() {
    players::restoreComputerRating(w.core());
    const QString rating = QString::number(players::ComputerRating);
    for (QListWidget* l : {newGame->whiteRatings, newGame->blackRatings, newGame->matchRatings}) {
        if (l->count() == 0)
            l->addItem(rating);
        else
            l->item(0)->setText(rating);
    }
    newGame->matchName->clear();
}

// ---------------------------------------------------------------------------
// The roll

void PlayerCommands::offerNewPlayer() {
    if (w.busy()) return;
    w.core().players = players::loadRoll(w.core().programDir);
    fill(newGame->matchRoll, w.core().players.names);
    fill(newGame->matchRatings, w.core().players.ratings);
    w.openPanel(newPlayer);
}

void PlayerCommands::addPlayer() {
    const int rating = startAt1600->isChecked() ? 1600 : startAt1700->isChecked() ? 1700 : 1800;
    // The ratings as on disk: a reset not yet saved is not written with them.
    players::Roll roll = players::loadRoll(w.core().programDir);
    roll.names = w.core().players.names;
    if (!players::addPlayer(roll, latin1(newPlayerName), rating)) return;  // an empty name: the panel stays
    newPlayer->hide();
    newPlayerName->clear();
    w.core().players = roll;
    fill(newGame->matchRoll, roll.names);
    fill(newGame->matchRatings, roll.ratings);
    if (!players::saveRoll(w.core().programDir, roll)) w.showSaveError(w.core().programDir / "points.dat");
}

void PlayerCommands::offerPlayerDeletion() {
    if (w.busy()) return;
    w.core().players = players::loadRoll(w.core().programDir);
    fill(deletionRoll, w.core().players.names);
    deletedName->clear();
    w.openPanel(deletion);
}

void PlayerCommands::deletePlayer() {
    players::Roll roll = players::loadRoll(w.core().programDir);
    roll.names = w.core().players.names;
    if (!players::deletePlayer(roll, deletionRoll->currentRow())) return;  // line 0 or nothing: the panel stays
    deletion->hide();
    w.core().players = roll;
    if (!players::saveRoll(w.core().programDir, roll)) w.showSaveError(w.core().programDir / "points.dat");
    w.repaintBoard();
}

// ---------------------------------------------------------------------------
// Names, sides, resigning, the end of a rated game

void PlayerCommands::offerRenaming() {
    if (w.busy()) return;
    const game::GameState& g = w.core().game;
    whiteName->setText(fromLatin1(game::nameText(g.whiteName)));
    blackName->setText(fromLatin1(game::nameText(g.blackName)));
    w.openPanel(renaming);
}

void PlayerCommands::rename() {
    renaming->hide();
    players::renamePlayers(w.core(), latin1(whiteName), latin1(blackName));
    w.refreshPlayers();
}

void PlayerCommands::swapSides() {
    if (w.busy() || w.analysisRunning()) return;
    w.abandonThinking();
    w.finishOps();
    players::swapPlayers(w.core());
    w.positionSetup().refreshCaptions();
    w.requestPass();
}

void PlayerCommands::resign() {
    if (!w.started() || w.core().game.ratedGame != game::RatedState::InProgress) return;
    // A search running for the engine's move is given up: its move is not
    // played.
    w.abandonThinking();
    w.finishOps();
    w.core().game.engineToMove = false;
    w.showEndOfGame(game::endOfGame(w.core(), game::EndReason::PersonResigned));
    w.core().game.ratedGame = game::RatedState::None;  // the match is over; its result is saved
    w.requestPass();
}

void PlayerCommands::showRatingLines(const game::EndOfGame& end) {
    w.whiteRating->clear();
    w.blackRating->clear();
    if (!end.ratings) return;
    const players::RatingChange& r = *end.ratings;
    const game::GameState& g = w.core().game;
    w.whiteRating->setText(fromLatin1(game::nameText(g.whiteName)) +
                           QString::fromStdString(players::ratingChangeText(r.whiteOld, r.whiteNew)));
    w.blackRating->setText(fromLatin1(game::nameText(g.blackName)) +
                           QString::fromStdString(players::ratingChangeText(r.blackOld, r.blackNew)));
}

void PlayerCommands::refreshMode() {
    const game::GameState& g = w.core().game;
    const bool rated = g.ratedGame == game::RatedState::InProgress;
    if (rated) w.mode->setText(w.runText(captions::Text::RatedGame));
    for (QPushButton* b : {w.resign, w.moveListPage->resign, w.thinkingPage->resign}) b->setVisible(rated);
    auto switchOff = [this](QAction* a, bool off) {
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
    MainMenus& m = w.menus();
    for (QMenu* menu : {m.file, m.analysis, m.settings}) switchOff(menu->menuAction(), rated);
    // "Joueurs" keeps "Inverser les joueurs" (F4): handing one's side to the
    // computer is how a person leaves a match without a rated result.
    for (QAction* a : {m.ponder, m.resetClocks, m.stopThinking, m.takeBack, m.stepForward, m.goToStart, m.goToEnd,
                       m.stopByClick, m.addPlayer, m.deletePlayer, m.renamePlayers})
        switchOff(a, rated);
    // "Niveau" goes from ply 11 on.
    switchOff(m.level->menuAction(), rated && g.record.plyCounter > 10);
    w.setupPage->group->setEnabled(!rated);
}

}  // namespace ui

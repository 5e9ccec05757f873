#include "ui/engine_commands.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <thread>

#include "engine/levels.h"
#include "engine/tables.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "game/engine_turn.h"
#include "ui/dialog_panel.h"
#include "ui/form1.h"
#include "ui/main_menus.h"
#include "ui/perspective_panel.h"
#include "ui/play_area.h"
#include "ui/settings_file.h"
#include "ui/setup_page.h"
#include "ui/side_parts.h"
#include "ui/widgets.h"

namespace ui {

EngineCommands::EngineCommands(TForm1& window) : w(window) {
    // "Autre": the custom time control.
    customTime = new DialogPanel(w.area, "Panel9", QSize(300, 100));
    QLabel* moves = named(new QLabel(QStringLiteral("30 coups en : "), customTime), "N50coupsen");
    minutesBox = named(new QLineEdit(QString::fromLatin1(w.core().engine.level.nbMinutes), customTime), "Nbminutes");
    minutesBox->setMaximumWidth(minutesBox->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    QLabel* unit = named(new QLabel(QStringLiteral("minutes"), customTime), "Label_minutes");
    QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), customTime), "BitBtn24");
    QPushButton* cancel = named(new QPushButton(QStringLiteral("Annuler"), customTime), "BitBtn25");
    auto* column = new QVBoxLayout(customTime);
    column->setContentsMargins(14, 12, 14, 12);
    auto* row = new QHBoxLayout;
    row->addWidget(moves);
    row->addWidget(minutesBox);
    row->addWidget(unit);
    row->addStretch(1);
    column->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    customTime->setButtons(ok, cancel);
    connect(ok, &QPushButton::clicked, this, &EngineCommands::acceptCustomTime);
    connect(cancel, &QPushButton::clicked, this, &EngineCommands::cancelCustomTime);
    connect(w.thinkingPage->saveLines, &QPushButton::clicked, this, &EngineCommands::saveThinkingLines);

    // The threads chosen in an earlier run, within what this machine has.
    w.core().engine.threads = keptSearchThreads(w.core().programDir, std::thread::hardware_concurrency());
    showSearchThreads();
}

void EngineCommands::selectLevelItem(int item) {
    engine::selectLevel(w.core().engine.level, item);
    minutesBox->setText(QString::fromLatin1(w.core().engine.level.nbMinutes));
    showLevel();
}

void EngineCommands::offerCustomTime() {
    engine::showCustomTimePanel(w.core().engine.level);
    showLevel();  // "Autre" is checked only once OK accepts a number
    w.openPanel(customTime);
}

void EngineCommands::acceptCustomTime() {
    const QByteArray text = minutesBox->text().toLatin1();
    if (!engine::setCustomTime(w.core().engine.level,
                               std::string_view(text.constData(), static_cast<std::size_t>(text.size()))))
        return;  // refused: the panel stays
    customTime->hide();
    showLevel();
}

void EngineCommands::cancelCustomTime() {
    engine::hideCustomTimePanel(w.core().engine.level);
    customTime->hide();
    showLevel();
    w.repaintBoard();
}

void EngineCommands::showLevel() {
    const int level = w.core().engine.level.levelNumber;
    MainMenus& m = w.menus();
    for (std::size_t i = 0; i < m.levels.size(); ++i) m.levels[i]->setChecked(engine::LevelTable[i].number == level);
    m.customTime->setChecked(level == engine::CustomLevelNumber);
}

void EngineCommands::applyLevelSettings(const files::GameSettings& s) {
    m_settings.minutes = s.minutes;
    m_settings.level = s.level;
    m_settings.searchControl1 = s.searchControl1;
    m_settings.searchControl2 = s.searchControl2;
    engine::LevelState& l = w.core().engine.level;
    l.levelBudget = s.searchControl1;
    l.levelHardBudget = s.searchControl2;
    l.levelNumber = s.level;
    l.checkedItem = -1;
    for (std::size_t i = 0; i < engine::LevelTable.size(); ++i)
        if (engine::LevelTable[i].number == s.level) l.checkedItem = static_cast<int>(i);
    std::snprintf(l.nbMinutes, sizeof l.nbMinutes, "%d", static_cast<int>(s.minutes));
    minutesBox->setText(QString::fromLatin1(l.nbMinutes));
    showLevel();
}

// The level in force and the minutes typed in Panel9's box.
files::GameSettings EngineCommands::gameSettings() const {
    files::GameSettings s = m_settings;
    s.language = static_cast<std::uint8_t>(w.interfaceLanguage());
    const engine::LevelState& l = w.core().engine.level;
    s.level = static_cast<std::uint8_t>(l.levelNumber);
    s.searchControl1 = l.levelBudget;
    s.searchControl2 = l.levelHardBudget;
    s.minutes = minutesBox->text().trimmed().toInt();
    return s;
}

void EngineCommands::selectTableSize(int item) {
    // The worker takes the new size before its next search.
    engine::setTableSize(w.core().engine.tables, item);
    const int checked = w.core().engine.tables.sizeItem;  // a refused size keeps the previous one
    MainMenus& m = w.menus();
    for (std::size_t i = 0; i < m.tableSize.size(); ++i) m.tableSize[i]->setChecked(static_cast<int>(i) == checked);
}

// The worker copies the number with each search, so one under way keeps
// its threads and the next has the new number.
void EngineCommands::selectSearchThreads(int threads) {
    w.core().engine.threads = threads;
    keepSearchThreads(w.core().programDir, threads);
    showSearchThreads();
}

void EngineCommands::showSearchThreads() {
    const std::vector<QAction*>& items = w.menus().searchThreads;
    for (std::size_t k = 0; k < items.size(); ++k)
        items[k]->setChecked(static_cast<int>(k) + 1 == w.core().engine.threads);
}

void EngineCommands::resetClocks() {
    game::resetClocks(w.core());
    // Every clock label reads "0" until the clocks next tick.
    for (QLabel* l : {w.whitePanel->minutes, w.whitePanel->seconds, w.blackPanel->minutes, w.blackPanel->seconds,
                      w.perspective->whiteMinutes, w.perspective->whiteSeconds, w.perspective->blackMinutes,
                      w.perspective->blackSeconds})
        l->setText(QStringLiteral("0"));
}

// The mark is on while the clocks stand still.
void EngineCommands::pauseClocks() {
    game::switchClockPause(w.core());
    w.menus().pauseClocks->setChecked(w.core().game.paused);
    w.refreshTimer();
}

void EngineCommands::switchPonder() {
    w.readOptions();
    if (!w.menus().ponder->isChecked() && w.thinking() == TForm1::Thinking::PersonTime) w.abandonThinking();
    // Ticked during the person's turn, the engine may think on it now.
    w.requestPass();
}

void EngineCommands::switchSelfPlay() {
    MainMenus& m = w.menus();
    const bool on = m.selfPlay->isChecked();
    if (on) {
        m.twoPeople->setChecked(false);
        // A search on the person's time gives way to the engine's own.
        if (w.thinking() == TForm1::Thinking::PersonTime) w.abandonThinking();
    } else if (w.thinking() == TForm1::Thinking::OwnMove) {
        w.abandonThinking();
    }
    game::setSelfPlay(w.core(), on);
    w.readOptions();
    w.refreshPlayers();
    w.positionSetup().refreshCaptions();
    w.requestPass();
}

void EngineCommands::saveThinkingLines() {
    if (!game::saveThinkingList(w.core(), w.core().programDir, captions::thinkingWords(w.interfaceLanguage())))
        w.showFileError();
}

}  // namespace ui

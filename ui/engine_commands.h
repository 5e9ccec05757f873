#pragma once
// The engine's settings as the window offers them: the levels with "Autre"
// (Panel9, the custom time control), the table sizes, the number of search
// threads (kept in the program folder's tavolex.ini), the clocks, thinking
// on the person's time, self-play, and keeping the thinking lines in a
// file. The work is done by the core (engine/levels.h, game/clocks.h).

#include <QObject>

#include "files/game_file.h"

class QLineEdit;

namespace ui {

class DialogPanel;
class TForm1;

class EngineCommands : public QObject {
    Q_OBJECT
public:
    explicit EngineCommands(TForm1& window);

    void selectLevelItem(int item);  // an item of engine::LevelTable
    // "Autre": the panel asks for the minutes for 30 moves.
    void offerCustomTime();
    void acceptCustomTime();
    void cancelCustomTime();
    void selectTableSize(int item);  // an item of engine::TableSizes
    // The next search uses `threads` threads, and so do the next runs.
    void selectSearchThreads(int threads);
    void resetClocks();
    // The clocks stand still, or go on.
    void pauseClocks();
    void switchPonder();
    // The engine plays both sides; two people no longer do. Turned off, the
    // side to move is the person's, at once.
    void switchSelfPlay();
    // "Editer coups": the thinking lines as they stand, in the program folder.
    void saveThinkingLines();

    // The level and minutes a game file brings, or the defaults.
    void applyLevelSettings(const files::GameSettings& settings);
    // The settings a game file carries, as the window holds them now.
    files::GameSettings gameSettings() const;

    DialogPanel* customTime;  // "Panel9"
    QLineEdit* minutesBox;    // "Nbminutes"

private:
    // The check marks follow the level number: one item, or none for
    // numbers without an item.
    void showLevel();
    void showSearchThreads();

    TForm1& w;
    files::GameSettings m_settings;
};

}  // namespace ui

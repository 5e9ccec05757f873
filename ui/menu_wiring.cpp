#include "ui/menu_wiring.h"

#include <QAction>
#include <QPushButton>

#include "ui/analysis_commands.h"
#include "ui/book_commands.h"
#include "ui/engine_commands.h"
#include "ui/file_commands.h"
#include "ui/form1.h"
#include "ui/look_commands.h"
#include "ui/main_menus.h"
#include "ui/player_commands.h"
#include "ui/setup_page.h"
#include "ui/start_panel.h"

namespace ui {

// Every command of the menus, wired once to what it does.
void wireMenus(TForm1& w) {
    MainMenus& m = w.menus();
    EngineCommands& e = w.engineCommands();
    FileCommands& f = w.fileCommands();
    PositionSetup& s = w.positionSetup();
    PlayerCommands& p = w.playerCommands();
    AnalysisCommands& a = w.analysisCommands();
    BookCommands& b = w.bookCommands();
    LookCommands& l = w.lookCommands();
    TForm1* window = &w;

    m.on(m.newGame, window, [&p] { p.offerNewGame(); });
    m.on(m.twoPeople, window, [window] { window->switchTwoPeople(); });
    m.on(m.selfPlay, window, [&e] { e.switchSelfPlay(); });
    m.on(m.saveGame, window, [&f] { f.saveGame(); });
    m.on(m.openGame, window, [&f] { f.openGame(); });
    m.on(m.openProblem, window, [&f] { f.openProblem(); });
    m.on(m.setUpPosition, window, [&s] { s.setUpFromMenu(); });
    m.on(m.printGame, window, [&f] { f.printGame(); });
    m.on(m.exportText, window, [&f] { f.exportText(); });
    m.on(m.importText, window, [&f] { f.importText(); });
    m.on(m.exportPicture, window, [&l] { l.exportPicture(); });
    m.on(m.quit, window, [window] { window->quit(); });

    m.on(m.takeBack, window, [window] { window->takeBack(); });
    m.on(m.stepForward, window, [window] { window->stepForward(); });
    m.on(m.goToStart, window, [window] { window->goToStart(); });
    m.on(m.goToEnd, window, [window] { window->goToEnd(); });

    for (int style = 0; style <= 8; ++style)
        m.on(m.styles[static_cast<std::size_t>(style)], window, [&l, style] { l.chooseStyle(style); });
    m.on(m.invertBoard, window, [window] { window->invertBoard(); });

    m.on(m.addPlayer, window, [&p] { p.offerNewPlayer(); });
    m.on(m.deletePlayer, window, [&p] { p.offerPlayerDeletion(); });
    m.on(m.swapSides, window, [&p] { p.swapSides(); });
    m.on(m.renamePlayers, window, [&p] { p.offerRenaming(); });

    for (std::size_t i = 0; i < m.levels.size(); ++i)
        m.on(m.levels[i], window, [&e, i] { e.selectLevelItem(static_cast<int>(i)); });
    m.on(m.customTime, window, [&e] { e.offerCustomTime(); });

    m.on(m.booksActive, window, [&b] { b.switchBooks(); });
    m.on(m.changeLibrarySet, window, [&b] { b.changeLibrarySet(); });
    m.on(m.editWhiteOpenings, window, [&b] { b.openEditor(rules::White); });
    m.on(m.editBlackOpenings, window, [&b] { b.openEditor(rules::Black); });
    m.on(m.editParameters, window, [&l] { l.openParameterEditor(); });
    m.on(m.saveParameters, window, [&l] { l.saveParameters(); });
    m.on(m.loadParameters, window, [&l] { l.loadParameters(); });

    m.on(m.startAnalysis, window, [&a] { a.start(); });
    m.on(m.stopPhase, window, [&a] { a.nextPosition(); });
    m.on(m.endAnalysis, window, [&a] { a.end(); });

    m.on(m.startSession, window, [&b] { b.startSession(); });
    m.on(m.stopSession, window, [&b] { b.stopSession(); });
    m.on(m.loadLessons, window, [&b] { b.loadLessons(); });

    m.on(m.numberSquares, window, [window] {
        window->finishOps();
        if (window->started()) window->repaintBoard();
    });
    m.on(m.stopThinking, window, [window] { window->stopSearch(); });
    m.on(m.resetClocks, window, [&e] { e.resetClocks(); });
    m.on(m.pauseClocks, window, [&e] { e.pauseClocks(); });
    m.on(m.ponder, window, [&e] { e.switchPonder(); });
    for (QAction* option : {m.stopByClick, m.showMoveMarks, m.decomposeCaptures, m.beepEachMove, m.otherSounds})
        m.on(option, window, [window] { window->readOptions(); });
    m.on(m.blindPlay, window, [&l] { l.switchBlindPlay(); });
    for (std::size_t i = 0; i < m.tableSize.size(); ++i)
        m.on(m.tableSize[i], window, [&e, i] { e.selectTableSize(static_cast<int>(i)); });
    for (std::size_t k = 0; k < m.searchThreads.size(); ++k)
        m.on(m.searchThreads[k], window, [&e, k] { e.selectSearchThreads(static_cast<int>(k) + 1); });

    m.on(m.guide, window, [&l] { l.showGuide(); });
    m.on(m.rules, window, [&l] { l.showRules(); });
    m.on(m.about, window, [&l] { l.showAbout(); });
    for (int language = 0; language < captions::NumLanguages; ++language)
        m.on(m.languages[static_cast<std::size_t>(language)], window, [&l, language] { l.selectLanguage(language); });

    // The start panel's buttons do what the menu's items do.
    for (int style = 0; style <= 8; ++style)
        QObject::connect(w.startPanel->styles[static_cast<std::size_t>(style)], &QPushButton::clicked, window,
                         [&l, style] { l.chooseStyle(style); });
    for (int language = 0; language < captions::NumLanguages; ++language)
        QObject::connect(w.startPanel->languages[static_cast<std::size_t>(language)], &QPushButton::clicked, window,
                         [&l, language] { l.selectLanguage(language); });
}

}  // namespace ui

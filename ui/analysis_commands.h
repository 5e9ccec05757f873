#pragma once
// Game analysis as the window offers it: the engine walks the game back
// from the position shown, a position at a time on its worker, and writes
// a line per move into the analysis window (TForm4) and the strip over the
// side pages (Panel17). Once it is over, a click on an analysed move shows
// the position where it was played.

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

#include "engine/analysis.h"

class QAction;
class QFrame;
class QListWidget;

namespace ui {

class TForm1;
class TForm4;

class AnalysisCommands : public QObject {
    Q_OBJECT
public:
    explicit AnalysisCommands(TForm1& window);
    ~AnalysisCommands() override;

    // "Débuter une analyse".
    void start();
    // "Arrêter cette phase", "Suivant": the position being analysed gets the
    // best move found so far, and the walk goes on.
    void nextPosition();
    // "Terminer l'analyse", "Fin analyse": the walk stops where it is, and
    // the analysis is closed.
    void end();
    // The engine's answer for the position being analysed.
    void answered(const engine::SearchOutput& out);
    // Closes the analysis once its walk is over (sessions go on from here).
    void close();
    void saveReport();   // "Editer analyse"
    void printReport();  // "Imprimer analyse"
    bool running() const { return m_running; }

    TForm4* analysisWindow;   // "Analyse"
    QFrame* strip;            // "Panel17"
    QListWidget* stripLines;  // "ListBox6"

private:
    void analyseNextPosition();
    void walkFinished();
    void showAnalysedMove(int row);

    TForm1& w;
    engine::GameAnalysis m_analysis;
    std::unique_ptr<engine::AnalysisObserver> m_view;
    std::vector<engine::AnalysisLine> m_lines;  // the last analysis, in game order
    std::vector<QPointer<QAction>> m_frozen;    // the menus an analysis closed
    bool m_running = false;
    bool m_closeRequested = false;
};

}  // namespace ui

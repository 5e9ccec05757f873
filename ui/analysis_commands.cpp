#include "ui/analysis_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "files/text_export.h"
#include "game/navigation.h"
#include "ui/book_commands.h"
#include "ui/dialog_panel.h"
#include "ui/form1.h"
#include "ui/form4.h"
#include "ui/game_panels.h"
#include "ui/main_menus.h"
#include "ui/play_area.h"
#include "ui/setup_page.h"
#include "ui/side_parts.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// The analysis reaches the windows line by line and shows its progress.
class AnalysisView : public engine::AnalysisObserver {
public:
    AnalysisView(QListWidget* longList, QListWidget* shortList, QLabel* state, int language,
                 std::function<void()> redraw)
        : m_long(longList), m_short(shortList), m_state(state), m_language(language), m_redraw(std::move(redraw)) {}
    void positionStarted(int ply, int remaining) override {
        m_redraw();
        m_state->setText(
            captions::text(captions::Text::AnalysisProgress, m_language).arg(ply / 2 + 1).arg(ply).arg(remaining));
    }
    void lineWritten(const engine::AnalysisLine& line) override {
        // The walk goes backwards and inserts at the top, so the lists read
        // in game order.
        m_long->insertItem(0, captions::analysisLine(line, captions::AnalysisForm::Long, m_language));
        m_short->insertItem(0, captions::analysisLine(line, captions::AnalysisForm::Short, m_language));
    }

private:
    QListWidget* m_long;
    QListWidget* m_short;
    QLabel* m_state;
    int m_language;
    std::function<void()> m_redraw;
};

}  // namespace

AnalysisCommands::AnalysisCommands(TForm1& window) : w(window) {
    // The strip over the side pages.
    strip = named(new QFrame(w.area), "Panel17");
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    strip->setLineWidth(3);
    strip->setAutoFillBackground(true);
    strip->hide();
    stripLines = named(new QListWidget(strip), "ListBox6");
    stripLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPushButton* next = named(new QPushButton(QStringLiteral("Suivant"), strip), "Button10");
    QPushButton* edit = named(new QPushButton(QStringLiteral("Editer"), strip), "Button12");
    QPushButton* finish = named(new QPushButton(QStringLiteral("Fin analyse"), strip), "Button11");
    {
        auto* column = new QVBoxLayout(strip);
        column->setContentsMargins(4, 4, 4, 4);
        column->addWidget(stripLines, 1);
        auto* row = new QHBoxLayout;
        for (QPushButton* b : {next, edit, finish}) row->addWidget(b);
        column->addLayout(row);
    }
    w.area->keepOver(strip, w.pages);
    connect(next, &QPushButton::clicked, this, &AnalysisCommands::nextPosition);
    connect(edit, &QPushButton::clicked, this, &AnalysisCommands::saveReport);
    connect(finish, &QPushButton::clicked, this, &AnalysisCommands::end);

    analysisWindow = new TForm4(&w);
    connect(analysisWindow->BitBtn1, &QPushButton::clicked, this, &AnalysisCommands::nextPosition);
    connect(analysisWindow->BitBtn2, &QPushButton::clicked, this, &AnalysisCommands::saveReport);
    connect(analysisWindow->BitBtn3, &QPushButton::clicked, this, &AnalysisCommands::printReport);
    connect(analysisWindow->BitBtn4, &QPushButton::clicked, this, &AnalysisCommands::end);
    connect(analysisWindow, &TForm4::closedByFrame, this, &AnalysisCommands::end);
    connect(analysisWindow->ListBox1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showAnalysedMove(analysisWindow->ListBox1->row(item)); });
    connect(stripLines, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showAnalysedMove(stripLines->row(item)); });
}

AnalysisCommands::~AnalysisCommands() = default;

void AnalysisCommands::start() {
    if (w.busy() || m_running || w.core().game.record.plyCounter == 0) return;
    w.abandonThinking();
    w.finishOps();
    if (!m_analysis.begin(w.core(), w.fixedSearchLimits())) return;
    const int language = w.interfaceLanguage();
    MainMenus& m = w.menus();
    m.startAnalysis->setEnabled(false);
    m.stopPhase->setEnabled(true);
    m.endAnalysis->setEnabled(true);
    w.endOfGame->hide();
    w.bookCommands().hideLearnPrompt();
    m_lines.clear();
    analysisWindow->ListBox1->clear();
    stripLines->clear();
    analysisWindow->ListBox1->addItem(captions::text(captions::Text::AnalysisHeader, language));
    analysisWindow->ListBox1->insertItem(0, captions::text(captions::Text::AnalysisLegend, language));
    // Beside the main window rather than over its board, the first time.
    if (!analysisWindow->isVisible() && !analysisWindow->property("placed").toBool()) {
        analysisWindow->setProperty("placed", true);
        const QRect frame = w.frameGeometry();
        analysisWindow->move(frame.right() + 8, frame.top());
    }
    analysisWindow->show();
    strip->show();
    strip->raise();

    // The walk owns the record until it is over: nothing may move it
    // meanwhile (navigation, files, new games, levels). A session's analysis
    // leaves "Apprentissage" open, so that the session can be stopped.
    m_frozen.clear();
    for (QMenu* menu : {m.file, m.edit, m.players, m.level, m.settings, m.learning})
        if (menu->menuAction()->isEnabled() && !(menu == m.learning && w.core().engine.learning.session)) {
            menu->menuAction()->setEnabled(false);
            m_frozen.emplace_back(menu->menuAction());
        }
    m_view =
        std::make_unique<AnalysisView>(analysisWindow->ListBox1, stripLines, analysisWindow->Etat, language, [this] {
            w.repaintBoard();
            w.refreshPlayers();
        });
    m_running = true;
    m_closeRequested = false;
    analyseNextPosition();
}

// The next position of the walk goes to the engine; the walk ends when there
// is none left.
void AnalysisCommands::analyseNextPosition() {
    std::optional<engine::SearchInput> in = m_analysis.next(w.core(), m_view.get());
    if (!in) {
        walkFinished();
        return;
    }
    w.askEngine(std::move(*in), TForm1::Thinking::Analysis);
}

void AnalysisCommands::answered(const engine::SearchOutput& out) {
    w.core().engine.random = out.random;
    m_analysis.take(w.core(), out, m_view.get());
    analyseNextPosition();
}

void AnalysisCommands::walkFinished() {
    const engine::AnalysisOutcome out = m_analysis.finish(w.core());
    m_running = false;
    for (const QPointer<QAction>& a : m_frozen)
        if (a) a->setEnabled(true);
    m_frozen.clear();
    m_lines = out.lines;
    m_view.reset();
    analysisWindow->Etat->setText(
        w.runText(out.completed ? captions::Text::AnalysisDone : captions::Text::AnalysisStopped));
    w.menus().stopPhase->setEnabled(false);
    w.repaintBoard();
    w.refreshPlayers();
    w.refreshMoveList();
    if (m_closeRequested) {
        close();
        return;
    }
    // A session goes on by itself: the game is learned and the next begins.
    if (w.core().engine.learning.session) w.bookCommands().continueSession();
}

void AnalysisCommands::nextPosition() {
    if (w.thinking() == TForm1::Thinking::Analysis) w.stopSearch();
}

void AnalysisCommands::end() {
    if (m_running) {
        m_closeRequested = true;
        engine::stopAnalysis(w.core());
        w.abandonThinking();
        walkFinished();
        return;
    }
    if (!analysisWindow->isVisible() && !strip->isVisible()) return;
    close();
}

void AnalysisCommands::close() {
    m_closeRequested = false;
    engine::endAnalysis(w.core());
    MainMenus& m = w.menus();
    m.startAnalysis->setEnabled(true);
    m.stopPhase->setEnabled(false);
    m.endAnalysis->setEnabled(false);
    analysisWindow->hide();
    strip->hide();
    w.positionSetup().refreshCaptions();
    w.bookCommands().offerLearning();
    w.requestPass();
}

// The position where an analysed move was played, once the walk is over.
void AnalysisCommands::showAnalysedMove(int row) {
    if (m_running || row < 0 || row >= static_cast<int>(m_lines.size())) return;
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    game::goToPly(w.core(), m_lines[static_cast<std::size_t>(row)].ply);
    w.afterNavigation();
}

void AnalysisCommands::saveReport() {
    const FileAnswer answer = w.askFile(
        {true, QString::fromStdString(w.core().programDir.string()), {w.runText(captions::Text::TextFiles)}, "txt"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".txt");
    std::vector<std::string> lines;
    // The game's text files are single-byte Latin-1.
    for (int i = 0; i < analysisWindow->ListBox1->count(); ++i)
        lines.push_back(analysisWindow->ListBox1->item(i)->text().toLatin1().toStdString());
    const std::string file = QFile::encodeName(path).toStdString();
    if (!files::writeTextFile(file, files::analysisReportText(lines))) w.showSaveError(file);
}

void AnalysisCommands::printReport() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Analyse"));
    if (!w.askPrinter(printer)) return;
    std::vector<std::string> lines;
    // The analysed moves, without the legend and the header below them.
    const int count = std::min(static_cast<int>(m_lines.size()), analysisWindow->ListBox1->count());
    for (int i = 0; i < count; ++i) lines.push_back(analysisWindow->ListBox1->item(i)->text().toStdString());
    const game::GameState& g = w.core().game;
    const std::vector<std::string> report =
        files::printedAnalysisReport(QString::fromLatin1(game::nameText(g.whiteName)).toStdString(),
                                     QString::fromLatin1(game::nameText(g.blackName)).toStdString(),
                                     w.runText(captions::Text::AnalysisLegend).toStdString(), lines);
    QPainter painter;
    if (!painter.begin(&printer)) {
        w.showFileError();
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

#include "ui/file_commands.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "files/program_folder.h"
#include "files/save_file.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "rules/move_input.h"
#include "ui/dialog_panel.h"
#include "ui/engine_commands.h"
#include "ui/form1.h"
#include "ui/game_print.h"
#include "ui/look_commands.h"
#include "ui/play_area.h"
#include "ui/side_parts.h"
#include "ui/widgets.h"

namespace ui {

namespace {

// The game as it stood at the last move (see keepForRecovery).
constexpr const char* RecoveryFileName = "recovery.dam";
constexpr const char* ResumeFileName = "last32.dam";

// The suffix a filter such as "Fichiers texte (*.txt)" gives a bare name.
QString suffixOfFilter(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.([A-Za-z0-9]+)")).match(filter);
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

// A name typed without an extension takes the chosen type's.
QString withSuffix(const FileAnswer& answer, const QString& fallback) {
    if (!QFileInfo(answer.path).suffix().isEmpty()) return answer.path;
    const QString suffix = suffixOfFilter(answer.filter);
    return answer.path + '.' + (suffix.isEmpty() ? fallback : suffix);
}

std::string pathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

FileAnswer runFileDialog(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(request.directory);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // Choosing another type changes the extension a bare name receives.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& filter) {
        const QString suffix = suffixOfFilter(filter);
        dialog.setDefaultSuffix(suffix.isEmpty() ? request.defaultSuffix : suffix);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {dialog.selectedFiles().front(), dialog.selectedNameFilter()};
}

FileCommands::FileCommands(TForm1& window) : w(window) {
    // The chooser of a game among several in a text file.
    // As wide as the board allows for a line with both players, the event,
    // the date and the result; longer lines scroll sideways.
    chooser = new DialogPanel(w.area, "Panel2", QSize(440, 340));
    gameLines = named(new QListWidget(chooser), "ListBox16");
    gameLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    gameLines->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), chooser), "ListeOK");
    QPushButton* cancel = named(new QPushButton(QStringLiteral("Annuler"), chooser), "ListeCancel");
    auto* column = new QVBoxLayout(chooser);
    column->setContentsMargins(10, 10, 10, 10);
    column->addWidget(gameLines, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    column->addLayout(buttons);
    chooser->setButtons(ok, cancel);
    connect(ok, &QPushButton::clicked, this, &FileCommands::acceptChoice);
    connect(cancel, &QPushButton::clicked, this, &FileCommands::cancelChoice);
    connect(gameLines, &QListWidget::itemDoubleClicked, this, &FileCommands::acceptChoice);

    MoveListPage* list = w.moveListPage;
    connect(list->nextProblem, &QPushButton::clicked, this, &FileCommands::nextProblem);
    connect(list->replayProblem, &QPushButton::clicked, this, &FileCommands::replayProblem);
}

// ---------------------------------------------------------------------------
// The resume and recovery files

void FileCommands::windowShown() {
    if (m_resumeRead) return;
    QTimer::singleShot(0, this, [this] {
        if (!m_resumeRead) readResumeSettings();
    });
}

// Read once: the error box of a missing file takes the activation away and
// gives it back, which must not read again. Here, and only here, the file's
// language becomes the interface's.
void FileCommands::readResumeSettings() {
    if (m_resumeRead || w.started()) return;
    m_resumeRead = true;
    files::GameFile file;
    const std::filesystem::path resume = files::resolveInFolder(w.core().programDir, ResumeFileName);
    if (files::readGameFile(resume.string(), file) != files::FileError::None) {
        w.showFileError();
        return;
    }
    w.lookCommands().selectLanguage(file.settings.language);
}

void FileCommands::restoreResumeFile() {
    if (offerRecovery()) return;
    files::GameFile file;
    const std::filesystem::path resume = files::resolveInFolder(w.core().programDir, ResumeFileName);
    if (files::readGameFile(resume.string(), file) != files::FileError::None) {
        w.showFileError();
        return;
    }
    showGameFile(file, false);
}

void FileCommands::saveResumeFile() {
    const std::filesystem::path resume = files::resolveInFolder(w.core().programDir, ResumeFileName);
    if (!files::saveGame(w.core(), resume.string(), w.engineCommands().gameSettings())) w.showSaveError(resume);
    forgetRecovery();
}

void FileCommands::keepForRecovery() {
    if (!w.started()) return;
    const std::filesystem::path file = files::resolveInFolder(w.core().programDir, RecoveryFileName);
    files::saveGame(w.core(), file.string(), w.engineCommands().gameSettings());
}

void FileCommands::forgetRecovery() {
    std::error_code ec;
    std::filesystem::remove(files::resolveInFolder(w.core().programDir, RecoveryFileName), ec);
}

// The last run kept a game and did not end normally: offered back. True when
// the person took it.
bool FileCommands::offerRecovery() {
    const std::filesystem::path recovery = files::resolveInFolder(w.core().programDir, RecoveryFileName);
    std::error_code ec;
    if (!std::filesystem::exists(recovery, ec)) return false;
    files::GameFile file;
    if (files::readGameFile(recovery.string(), file) == files::FileError::None &&
        w.askYesNo(w.runText(captions::Text::ResumeInterrupted))) {
        showGameFile(file, false);
        return true;
    }
    forgetRecovery();
    return false;
}

void FileCommands::showGameFile(const files::GameFile& file, bool problem) {
    w.core().engine.stopRequested = true;
    w.engineCommands().applyLevelSettings(file.settings);
    files::installGameFile(w.core(), file, problem);
    w.afterGameChange();
}

// ---------------------------------------------------------------------------
// Saving and opening

void FileCommands::saveGame() {
    if (w.busy()) return;
    const std::filesystem::path folder = w.folderOf("Sauve", true);
    const FileAnswer answer =
        w.askFile({true, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
    if (answer.path.isEmpty()) return;
    // The displayed position is what is saved; a move half entered is let go.
    if (const std::filesystem::path file = pathOf(withSuffix(answer, "dam"));
        !files::saveGame(w.core(), file.string(), w.engineCommands().gameSettings()))
        w.showSaveError(file);
    rules::clearMoveEntry(w.core().rules);
    w.repaintBoard();
}

void FileCommands::openGame() {
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    const std::filesystem::path folder = w.folderOf("Sauve", true);
    const FileAnswer answer =
        w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
    if (answer.path.isEmpty()) return;
    files::GameFile file;
    if (files::readGameFile(pathOf(answer.path), file) != files::FileError::None) {
        w.showFileError();
        return;
    }
    showGameFile(file, false);
}

// ---------------------------------------------------------------------------
// Problems

// The problems of a folder in the order "Suivant ->" visits them: game
// files only, never their comments files, by name whatever its case.
QStringList FileCommands::problemListing() const {
    QStringList names;
    for (const QString& n : QDir(m_problemFolder).entryList(QDir::Files))
        if (n.endsWith(QStringLiteral(".dam"), Qt::CaseInsensitive) &&
            !n.contains(QStringLiteral(".damt"), Qt::CaseInsensitive))
            names << n;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

bool FileCommands::loadProblem(const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    files::GameFile file;
    if (files::readGameFile(pathOf(path), file) != files::FileError::None) {
        w.showFileError();
        return false;
    }
    // The comments go to the desktop's viewer, which the program does not wait for.
    if (QFileInfo::exists(path + 't')) w.showTextFile(path + 't');
    showGameFile(file, true);
    return true;
}

void FileCommands::openProblem() {
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    const std::filesystem::path folder = w.folderOf("Problemes", false);
    const FileAnswer answer =
        w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
    if (answer.path.isEmpty()) return;
    const QFileInfo chosen(answer.path);
    if (!loadProblem(chosen.absolutePath(), chosen.fileName())) return;
    // "Suivant ->" goes on from here in this folder.
    m_problemFolder = chosen.absolutePath();
    m_problemName = chosen.fileName();
    w.moveListPage->nextProblem->show();
    w.moveListPage->replayProblem->show();
}

void FileCommands::nextProblem() {
    if (w.busy() || m_problemFolder.isEmpty()) return;
    w.abandonThinking();
    w.finishOps();
    const QStringList names = problemListing();
    if (names.isEmpty()) return;
    // The entry after the current one; past the last, the first again. A
    // current file removed meanwhile is followed by the next name after it.
    qsizetype next = names.indexOf(m_problemName);
    if (next >= 0) {
        ++next;
    } else {
        next = 0;
        while (next < names.size() && QString::compare(names[next], m_problemName, Qt::CaseInsensitive) <= 0) ++next;
    }
    if (next >= names.size()) next = 0;
    // The place moves on even when the file is damaged, so the next press passes it.
    m_problemName = names[next];
    loadProblem(m_problemFolder, m_problemName);
}

void FileCommands::replayProblem() {
    if (w.busy() || m_problemFolder.isEmpty()) return;
    w.abandonThinking();
    w.finishOps();
    loadProblem(m_problemFolder, m_problemName);
}

// ---------------------------------------------------------------------------
// Text export and printing

void FileCommands::exportText() {
    if (w.busy()) return;
    const game::Core& core = w.core();
    const FileAnswer answer = w.askFile({true,
                                         QString::fromStdString(core.programDir.string()),
                                         {w.runText(captions::Text::TextFiles), w.runText(captions::Text::CommentFiles),
                                          w.runText(captions::Text::PdnFiles)},
                                         "txt"});
    if (answer.path.isEmpty()) return;
    const QString path = withSuffix(answer, "txt");
    const files::ResultCode result = core.game.lastResult;
    const files::ExportedText out = QFileInfo(path).suffix().compare(QStringLiteral("pdn"), Qt::CaseInsensitive) == 0
                                        ? files::exportPdn(core, result)
                                        : files::exportText(core, result);
    // A name the format cannot hold is refused rather than written so that
    // it would read back as something else.
    if (!out.written) {
        w.host().showError(
            w.runText(captions::Text::NameNotWritable).arg(QString::fromLatin1(out.unwritableName)).toStdString());
        return;
    }
    if (!files::writeTextFile(pathOf(path), out.text)) w.showSaveError(pathOf(path));
}

void FileCommands::printGame() {
    if (w.busy()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tavolex"));
    if (!w.askPrinter(printer)) return;
    const game::GameState& g = w.core().game;
    const QString event = w.runText(g.ratedGame != game::RatedState::None ? captions::Text::RatedGame
                                    : g.options.humanVsHuman              ? captions::Text::TwoPeople
                                                                          : captions::Text::Training);
    if (!ui::printGame(printer, printedGame(g, event, QDate::currentDate(), w.interfaceLanguage()))) w.showFileError();
}

// ---------------------------------------------------------------------------
// Text import

void FileCommands::importText() {
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    const FileAnswer answer = w.askFile({false,
                                         QString::fromStdString(w.core().programDir.string()),
                                         {w.runText(captions::Text::TextFiles), w.runText(captions::Text::DocFiles),
                                          w.runText(captions::Text::PdnFiles)},
                                         "txt"});
    if (answer.path.isEmpty()) return;
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readWholeFile(pathOf(answer.path), error, files::MaxTextFileSize);
    if (error == files::FileError::WrongSize) {
        // Megabytes with one decimal, so that a file just past the bound
        // does not read as the bound itself.
        const double megabytes = static_cast<double>(QFileInfo(answer.path).size()) / (1 << 20);
        w.host().showError(w.runText(captions::Text::FileTooLarge)
                               .arg(megabytes, 0, 'f', 1)
                               .arg(static_cast<qulonglong>(files::MaxTextFileSize >> 20))
                               .toStdString());
        return;
    }
    if (error != files::FileError::None) {
        w.showFileError();
        return;
    }
    // The same chooser serves our layout and PDN.
    m_importGames = files::readTextGames(bytes);
    if (m_importGames.empty()) {
        w.host().showError(w.runText(captions::Text::NoGameInFile).toStdString());
        return;
    }
    if (m_importGames.size() == 1) {
        importChosenGame(0);
        return;
    }
    // Several games: the chooser lists them and the import goes on when one
    // is chosen. Meanwhile the commands that replace the game and the
    // board's presses wait (see TForm1::busy); the window's own event loop
    // keeps running, with no second loop inside this command.
    gameLines->clear();
    for (std::size_t i = 0; i < m_importGames.size(); ++i)
        gameLines->addItem(QString::fromUtf8(files::chooserLine(m_importGames[i], static_cast<int>(i) + 1)));
    gameLines->clearSelection();
    // As wide as the longest line and as tall as the list, within the board;
    // beyond that the list scrolls.
    const QRect board = w.area->boardArea();
    const int frame = 2 * gameLines->frameWidth();
    const int scrollBar = gameLines->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    gameLines->setMinimumSize(
        std::clamp(gameLines->sizeHintForColumn(0) + frame + scrollBar, 0, std::max(0, board.width() - 60)),
        std::clamp(gameLines->count() * gameLines->sizeHintForRow(0) + frame + scrollBar, 0,
                   std::max(0, board.height() * 2 / 3)));
    m_choosing = true;
    w.openPanel(chooser);
}

void FileCommands::acceptChoice() {
    if (!m_choosing) return;
    // OK without a line selected is a cancel.
    const QList<QListWidgetItem*> selected = gameLines->selectedItems();
    const int chosen = selected.isEmpty() ? -1 : gameLines->row(selected.front());
    m_choosing = false;
    chooser->hide();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= m_importGames.size()) {
        m_importGames.clear();
        return;
    }
    importChosenGame(static_cast<std::size_t>(chosen));
}

void FileCommands::cancelChoice() {
    m_choosing = false;
    chooser->hide();
    m_importGames.clear();
}

// A replay that stops says which game, which move and why; a game that
// cannot be set up changes nothing.
void FileCommands::importChosenGame(std::size_t index) {
    w.abandonThinking();
    w.finishOps();
    const files::ParsedGame parsed = m_importGames[index];
    m_importGames.clear();
    game::Core& core = w.core();
    core.engine.stopRequested = true;
    const files::ReplayOutcome out = files::replayGame(core, parsed);
    const bool unchanged = out.stop == files::ReplayStop::BadPosition || out.stop == files::ReplayStop::OtherGameType;
    if (!unchanged) {
        core.game.engineToMove = false;
        w.afterGameChange();
    }
    if (out.stop != files::ReplayStop::None)
        w.host().showError(importMessage(parsed, static_cast<int>(index) + 1, out).toStdString());
}

QString FileCommands::importMessage(const files::ParsedGame& parsed, int number,
                                    const files::ReplayOutcome& out) const {
    using captions::Text;
    // "?" for a name the file does not give, as in the chooser.
    const auto name = [](const std::string& n) { return n.empty() ? QStringLiteral("?") : QString::fromUtf8(n); };
    const QString players = name(parsed.white) + QStringLiteral(" - ") + name(parsed.black);
    const QString detail = QString::fromUtf8(out.detail);
    switch (out.stop) {
        case files::ReplayStop::BadPosition:
            return w.runText(Text::ImportRefused)
                .arg(number)
                .arg(players, w.runText(Text::BadStartingPosition).arg(detail));
        case files::ReplayStop::OtherGameType:
            return w.runText(Text::ImportRefused).arg(number).arg(players, w.runText(Text::OtherGameType).arg(detail));
        default: break;
    }
    QString why;
    switch (out.stop) {
        case files::ReplayStop::NotLegal: why = w.runText(Text::MoveNotLegal); break;
        case files::ReplayStop::Ambiguous: why = w.runText(Text::MoveAmbiguous); break;
        case files::ReplayStop::Unreadable: why = w.runText(Text::NotAMove); break;
        case files::ReplayStop::Missing: why = w.runText(Text::MoveMissing); break;
        case files::ReplayStop::RecordFull: why = w.runText(Text::GameTooLong).arg(game::MaxRecordedPly); break;
        default: break;
    }
    const QString move =
        QString::number(out.moveNumber) + (out.blackMove ? QStringLiteral("...") : QStringLiteral("."));
    if (out.moveText.empty()) return w.runText(Text::ImportStoppedNoText).arg(number).arg(players, move, why);
    return w.runText(Text::ImportStopped).arg(number).arg(players, move, QString::fromUtf8(out.moveText), why);
}

}  // namespace ui

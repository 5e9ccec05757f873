#include "ui/file_commands.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
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
    chooser = new DialogPanel(w.area, "Panel2", QSize(300, 300));
    gameLines = named(new QListWidget(chooser), "ListBox16");
    gameLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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
    const FileAnswer answer = w.askFile({true, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
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
    const FileAnswer answer = w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
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
        if (n.endsWith(QStringLiteral(".dam"), Qt::CaseInsensitive) && !n.contains(QStringLiteral(".damt"), Qt::CaseInsensitive))
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
    const FileAnswer answer = w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::GameFiles)}, "dam"});
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
    const FileAnswer answer = w.askFile({true, QString::fromStdString(core.programDir.string()),
                                         {w.runText(captions::Text::TextFiles), w.runText(captions::Text::CommentFiles),
                                          w.runText(captions::Text::PdnFiles)},
                                         "txt"});
    if (answer.path.isEmpty()) return;
    const QString path = withSuffix(answer, "txt");
    const game::GameState& g = core.game;
    const auto result = static_cast<files::ResultCode>(g.lastResult);
    const std::string text =
        QFileInfo(path).suffix().compare(QStringLiteral("pdn"), Qt::CaseInsensitive) == 0
            ? files::exportPdn(core, result)
            : files::exportText(game::nameText(g.whiteName), game::nameText(g.blackName), result, g.record.plyCounter,
                                g.moveList);
    if (!files::writeTextFile(pathOf(path), text)) w.showSaveError(pathOf(path));
}

void FileCommands::printGame() {
    if (w.busy()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tavolex"));
    if (!w.askPrinter(printer)) return;
    const game::GameState& g = w.core().game;
    const std::vector<std::string> lines =
        files::printedText(game::nameText(g.whiteName), game::nameText(g.blackName), g.record.plyCounter, g.moveList);
    QPainter painter;
    if (!painter.begin(&printer)) {
        w.showFileError();
        return;
    }
    // A fixed-width font keeps the moves in columns, as on a line printer.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(11);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const int pageHeight = printer.height();
    int y = metrics.ascent();
    for (const std::string& line : lines) {
        if (y + metrics.descent() > pageHeight) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, QString::fromLatin1(line));  // the game's texts are single-byte Latin-1
        y += metrics.lineSpacing();
    }
    painter.end();
}

// ---------------------------------------------------------------------------
// Text import

void FileCommands::importText() {
    if (w.busy()) return;
    w.abandonThinking();
    w.finishOps();
    const FileAnswer answer = w.askFile({false, QString::fromStdString(w.core().programDir.string()),
                                         {w.runText(captions::Text::TextFiles), w.runText(captions::Text::DocFiles),
                                          w.runText(captions::Text::PdnFiles)},
                                         "txt"});
    if (answer.path.isEmpty()) return;
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readFileStart(pathOf(answer.path), error, files::TextBufferSize);
    if (error != files::FileError::None) {
        w.showFileError();
        return;
    }
    // The same chooser serves our layout and PDN.
    const bool pdn = files::looksLikePdn(bytes);
    std::vector<files::ParsedGame> pdnGames;
    QStringList lines;
    if (pdn) {
        pdnGames = files::parsePdnGames(bytes);
        for (std::size_t i = 0; i < pdnGames.size(); ++i)
            lines << QString::asprintf("%2d:", static_cast<int>(i + 1)) + QString::fromLatin1(pdnGames[i].white);
    } else {
        for (const std::string& l : files::listTextGames(bytes)) lines << QString::fromLatin1(l);
    }
    if (lines.isEmpty()) return;  // no game in the text: nothing changes
    const int chosen = lines.size() == 1 ? 0 : chooseGame(lines);
    if (chosen < 0) return;
    const std::optional<files::ParsedGame> parsed =
        pdn ? std::optional(pdnGames[static_cast<std::size_t>(chosen)]) : files::parseTextGame(bytes, chosen);
    if (!parsed) return;
    w.core().engine.stopRequested = true;
    files::replayGame(w.core(), *parsed);
    w.core().game.engineToMove = false;
    w.afterGameChange();
}

// Shows Panel2 and lets window events run until OK or Cancel. Meanwhile the
// commands that replace the game and the board's presses are ignored.
int FileCommands::chooseGame(const QStringList& lines) {
    gameLines->clear();
    gameLines->addItems(lines);
    gameLines->clearSelection();
    w.openPanel(chooser);
    m_chosenGame = -1;
    QEventLoop wait;
    m_chooserLoop = &wait;
    wait.exec();
    m_chooserLoop = nullptr;
    chooser->hide();
    return m_chosenGame;
}

void FileCommands::acceptChoice() {
    // OK without a line selected is a cancel.
    const QList<QListWidgetItem*> selected = gameLines->selectedItems();
    m_chosenGame = selected.isEmpty() ? -1 : gameLines->row(selected.front());
    if (m_chooserLoop) m_chooserLoop->quit();
}

void FileCommands::cancelChoice() {
    m_chosenGame = -1;
    if (m_chooserLoop) m_chooserLoop->quit();
}

}  // namespace ui

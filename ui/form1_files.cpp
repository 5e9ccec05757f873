// TForm1's commands for game files, problems, the resume file, text export,
// printing, text import and position set-up. The work on the game is done
// by files/; this side asks for names, shows boxes and redraws.

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <array>

#include "eval/evaluate.h"
#include "files/program_folder.h"
#include "files/setup.h"
#include "files/text_export.h"
#include "files/text_import.h"
#include "rules/move_input.h"
#include "ui/flat_board.h"
#include "ui/form1.h"

namespace ui {

namespace {

const char* const CannotOpen = "Impossible d'ouvrir ce fichier";
const QString GameFilter = QStringLiteral("Fichiers Tavolex (*.dam)");

// The level items by level number: 0..8, then 11..18 for the timed ones.
constexpr std::array<const char*, 19> LevelItems = {
    "Dbutant1",        "Niveau01",        "Niveau02",         "Niveau03",         "Niveau04",
    "Niveau05",        "Niveau06",        "Niveau07",         "Niveau081",        nullptr,
    nullptr,           "N150coupsen3mn1", "N250coupsen5mn1",  "N350coupsen10mn1", "N450coupsen30mn1",
    "N550coupsen1h1",  "N650coupsen2h1",  "N7longlong1",      "N8Autre1",
};
// The language items by interface language index.

// The state-dependent captions of the set-up group, by language index.
constexpr std::array<const char*, 6> BottomUp = {"Blancs:Bas->Haut",  "White:Down->Up",    "Wit:Beneden->Boven",
                                                 "Br.:Embaixo->Acima", "Bl.:Abajo->Arriba", "Bl.:Bianco:Giù->Su"};
constexpr std::array<const char*, 6> TopDown = {"Blancs:Haut->Bas",  "White:Up->Down",    "Wit:Boven->Beneden",
                                                "Br.:Acima->Embaixo", "Bl.:Arriba->Abajo", "Bl.:Bianco:Su->Giù"};
constexpr std::array<const char*, 6> ComputerBlack = {"Ordinateur noir",   "Computer black",  "Computer zwart",
                                                      "Computador pretas", "Ordenador negras", "Calcolatore nero"};
constexpr std::array<const char*, 6> ComputerWhite = {"Ordinateur blanc",   "Computer white",    "Computer wit",
                                                      "Computador brancas", "Ordenador blancas", "Calcolatore blanco"};
constexpr std::array<const char*, 6> PlayerTurn = {"Joueur joue",  "Player's turn",   "Speler aan zet",
                                                   "Jogador joga", "Jugador juegue",  "Tocca al giocatore"};
constexpr std::array<const char*, 6> ComputerTurn = {"Ordinateur joue",  "Computer's turn",   "Computer aan zet",
                                                     "Computador joga",  "Ordenador juegue",  "Tocca al calcolatore"};

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

// ---------------------------------------------------------------------------
// Panels

void TForm1::buildFilePanels() {
    m_printDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    // The desktop's viewer for text; it returns at once and failing to find
    // one is not an error.
    m_showText = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    Panel2 = new QFrame(centralWidget());
    Panel2->setObjectName("Panel2");
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setLineWidth(3);
    Panel2->setAutoFillBackground(true);
    // Wide enough for a line with both players, the event, the date and
    // the result; longer lines scroll sideways.
    Panel2->setGeometry(40, 80, 560, 400);
    Panel2->hide();
    ListBox16 = new QListWidget(Panel2);
    ListBox16->setObjectName("ListBox16");
    ListBox16->setGeometry(10, 10, 540, 336);
    ListBox16->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    ListBox16->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListeOK = new QPushButton(QStringLiteral("OK"), Panel2);
    ListeOK->setObjectName("ListeOK");
    ListeOK->setGeometry(170, 356, 90, 30);
    ListeCancel = new QPushButton(QStringLiteral("Annuler"), Panel2);
    ListeCancel->setObjectName("ListeCancel");
    ListeCancel->setGeometry(300, 356, 90, 30);
    connect(ListeOK, &QPushButton::clicked, this, &TForm1::ListBox16Click);
    connect(ListeCancel, &QPushButton::clicked, this, &TForm1::ListeCancelClick);
    connect(ListBox16, &QListWidget::itemDoubleClicked, this, [this] { ListBox16Click(); });
}

void TForm1::buildSetupGroup() {
    Probleme = new QGroupBox(QStringLiteral("PLACEZ LES PIONS"), Probleme0);
    Probleme->setObjectName("Probleme");
    Probleme->setGeometry(2, 2, 254, 290);

    struct Selector {
        QToolButton*& button;
        const char* name;
        const char* picture;
        const char* text;  // shown when the picture is missing
        void (TForm1::*handler)();
    };
    const Selector selectors[] = {
        {SpeedButton10, "SpeedButton10", "b48.Bmp", "Pion blanc", &TForm1::SpeedButton10Click},
        {SpeedButton11, "SpeedButton11", "bd48.Bmp", "Dame blanche", &TForm1::SpeedButton11Click},
        {SpeedButton12, "SpeedButton12", "n48.Bmp", "Pion noir", &TForm1::SpeedButton12Click},
        {SpeedButton13, "SpeedButton13", "nd48.Bmp", "Dame noire", &TForm1::SpeedButton13Click},
        {SpeedButton14, "SpeedButton14", "v48.Bmp", "Vide", &TForm1::SpeedButton14Click},
    };
    int x = 6;
    for (const Selector& s : selectors) {
        s.button = new QToolButton(Probleme);
        s.button->setObjectName(QString::fromLatin1(s.name));
        s.button->setGeometry(x, 20, 46, 46);
        const QPixmap picture(QString::fromStdString(
            files::resolveInFolder(m_core.programDir, std::string("Images1/") + s.picture).string()));
        if (picture.isNull()) {
            s.button->setText(QString::fromUtf8(s.text));
        } else {
            s.button->setIcon(picture);
            s.button->setIconSize(QSize(40, 40));
        }
        s.button->setToolTip(QString::fromUtf8(s.text));
        connect(s.button, &QToolButton::clicked, this, s.handler);
        x += 49;
    }

    QLabel* shown = new QLabel(QString::fromUtf8("Pièce placée :"), Probleme);
    shown->setObjectName("Label_piece_placee");
    shown->setGeometry(6, 80, 120, 20);
    Piontemoin = new QLabel(Probleme);
    Piontemoin->setObjectName("Piontemoin");
    Piontemoin->setGeometry(130, 68, 44, 44);
    Piontemoin->setFrameShape(QFrame::Box);
    Piontemoin->setAlignment(Qt::AlignCenter);
    Piontemoin->setToolTip(QString::fromUtf8("Indique le type pion sélectionné"));

    auto button = [this](QPushButton*& b, const char* name, const char* text, QRect r, void (TForm1::*handler)()) {
        b = new QPushButton(QString::fromUtf8(text), Probleme);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(r);
        connect(b, &QPushButton::clicked, this, handler);
    };
    // Whether clicks on the board place pieces yet.
    Etat_installation = new QLabel(Probleme);
    Etat_installation->setObjectName("Etat_installation");
    Etat_installation->setGeometry(6, 114, 242, 36);
    Etat_installation->setWordWrap(true);
    QFont small = Etat_installation->font();
    small.setPixelSize(11);
    Etat_installation->setFont(small);

    button(vider1, "vider1", "Vider le damier", QRect(6, 152, 119, 26), &TForm1::vider);
    button(remplir1, "remplir1", "Remplir le damier", QRect(129, 152, 119, 26), &TForm1::remplir);
    button(Bas_Haut, "Bas_Haut", BottomUp[0], QRect(6, 182, 242, 26), &TForm1::Change_dir);
    button(Couleurordi, "Couleurordi", ComputerBlack[0], QRect(6, 212, 119, 26), &TForm1::Change_couleur);
    button(Couleurjoue, "Couleurjoue", PlayerTurn[0], QRect(129, 212, 119, 26), &TForm1::Couleur_joue);

    auto box = [this](QLineEdit*& e, const char* name, QRect r) {
        e = new QLineEdit(Probleme);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(r);
        e->setReadOnly(true);
        e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    };
    box(Blancs, "Blancs", QRect(6, 242, 242, 22));
    box(Noirs, "Noirs", QRect(6, 266, 242, 22));
    selectPiece(rules::Empty);
}

// ---------------------------------------------------------------------------
// Common steps

// Commands that replace the game wait while the chooser waits for a choice
// (a move being shown is finished at once by those that change the board).
bool TForm1::busy() const { return !m_introDone || m_choosing; }

void TForm1::showFileError() { m_host.showError(CannotOpen); }

std::filesystem::path TForm1::folderOf(const char* name, bool create) const {
    const std::filesystem::path folder = files::resolveInFolder(m_core.programDir, name);
    std::error_code ec;
    if (create) std::filesystem::create_directories(folder, ec);
    return folder;
}

// One level item carries the mark; numbers without an item (9, 10, above
// 18) leave every item clear.
void TForm1::showLevel(int level) {
    for (const char* name : LevelItems)
        if (name)
            if (QAction* a = findChild<QAction*>(name)) a->setChecked(false);
    if (level >= 0 && level < static_cast<int>(LevelItems.size()) && LevelItems[static_cast<std::size_t>(level)])
        if (QAction* a = findChild<QAction*>(LevelItems[static_cast<std::size_t>(level)])) a->setChecked(true);
}

// The level in force and the minutes typed in Panel9's box.
files::GameSettings TForm1::activeSettings() const {
    files::GameSettings s = m_settings;
    s.language = static_cast<std::uint8_t>(interfaceLanguage());
    const engine::LevelState& l = m_core.engine.level;
    s.level = static_cast<std::uint8_t>(l.levelNumber);
    s.searchControl1 = l.levelBudget;
    s.searchControl2 = l.levelHardBudget;
    s.minutes = Nbminutes->text().trimmed().toInt();
    return s;
}

void TForm1::showGameFile(const files::GameFile& file, bool problem) {
    m_core.engine.stopRequested = true;
    // Step 3: the level and minutes of the file; the language stays.
    applyLevelSettings(file.settings);
    // Steps 5 to 9.
    files::installGameFile(m_core, file, problem);
    afterGameChange();
}

// The board, lists, names, clocks and counters after the game was replaced.
void TForm1::afterGameChange() {
    clearThinking();
    fin_de_parties->hide();
    Nulrefus->hide();
    m_core.game.drawRefusedShown = false;
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
    if (m_core.game.setupMode) showEvaluation();
    requestPass();
}

// ---------------------------------------------------------------------------
// The resume file

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The box of a missing file must not open inside the activation itself.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_resumeRead)
        QTimer::singleShot(0, this, [this] {
            if (!m_resumeRead) FormActivate();
        });
}

// Without a window manager (or before it activates the window) the first
// showing counts as the first activation, so the resume file's language is
// in place before anyone can choose another on the start panel.
void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_resumeRead)
        QTimer::singleShot(0, this, [this] {
            if (!m_resumeRead) FormActivate();
        });
}

// Read once, at the first activation: the error box of a missing file
// takes the activation away and gives it back, which must not read again.
void TForm1::FormActivate() {
    if (m_resumeRead || m_introDone) return;
    m_resumeRead = true;
    files::GameFile file;
    const std::filesystem::path resume = files::resolveInFolder(m_core.programDir, "last32.dam");
    if (files::ReadGameFile(resume.string(), file) != files::FileError::None) {
        showFileError();
        return;
    }
    // Here, and only here, the file's language becomes the interface's.
    m_settings = file.settings;
    selectLanguage(file.settings.language);
}

void TForm1::restoreResumeFile() {
    files::GameFile file;
    const std::filesystem::path resume = files::resolveInFolder(m_core.programDir, "last32.dam");
    if (files::ReadGameFile(resume.string(), file) != files::FileError::None) {
        showFileError();
        return;
    }
    showGameFile(file, false);
}

// ---------------------------------------------------------------------------
// Saving and opening

void TForm1::save() {
    if (busy()) return;
    const std::filesystem::path folder = folderOf("Sauve", true);
    const FileAnswer answer = m_fileDialog({true, QString::fromStdString(folder.string()), {GameFilter}, "dam"});
    if (answer.path.isEmpty()) return;
    // The displayed position is what is saved; a move half entered is let go.
    if (!files::saveGame(m_core, pathOf(withSuffix(answer, "dam")), activeSettings())) showFileError();
    rules::clearMoveEntry(m_core.rules);
    repaintBoard();
}

void TForm1::ouvre() {
    if (busy()) return;
    abandonThinking();
    finishOps();
    const std::filesystem::path folder = folderOf("Sauve", true);
    const FileAnswer answer = m_fileDialog({false, QString::fromStdString(folder.string()), {GameFilter}, "dam"});
    if (answer.path.isEmpty()) return;
    files::GameFile file;
    if (files::ReadGameFile(pathOf(answer.path), file) != files::FileError::None) {
        showFileError();
        return;
    }
    showGameFile(file, false);
}

// ---------------------------------------------------------------------------
// Problems

// The problems of a folder in the order "Suivant ->" visits them: game
// files only, never their comments files, by name whatever its case.
QStringList TForm1::problemListing() const {
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

bool TForm1::loadProblem(const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    files::GameFile file;
    if (files::ReadGameFile(pathOf(path), file) != files::FileError::None) {
        showFileError();
        return false;
    }
    // The comments go to the desktop's viewer, which the program does not wait for.
    if (QFileInfo::exists(path + 't')) m_showText(path + 't');
    showGameFile(file, true);
    return true;
}

void TForm1::Problmes1Click() {
    if (busy()) return;
    abandonThinking();
    finishOps();
    const std::filesystem::path folder = folderOf("Problemes", false);
    const FileAnswer answer = m_fileDialog({false, QString::fromStdString(folder.string()), {GameFilter}, "dam"});
    if (answer.path.isEmpty()) return;
    const QFileInfo chosen(answer.path);
    if (!loadProblem(chosen.absolutePath(), chosen.fileName())) return;
    // "Suivant ->" goes on from here in this folder.
    m_problemFolder = chosen.absolutePath();
    m_problemName = chosen.fileName();
    Panel13->show();
    Panel14->show();
}

void TForm1::Button1Click() {
    if (busy() || m_problemFolder.isEmpty()) return;
    abandonThinking();
    finishOps();
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

void TForm1::Panel14Click() {
    if (busy() || m_problemFolder.isEmpty()) return;
    abandonThinking();
    finishOps();
    loadProblem(m_problemFolder, m_problemName);
}

// ---------------------------------------------------------------------------
// Text export and printing

void TForm1::Crerunfichiertexte1Click() {
    if (busy()) return;
    const FileAnswer answer = m_fileDialog({true, QString::fromStdString(m_core.programDir.string()),
                                            {QStringLiteral("Fichiers texte (*.txt)"),
                                             QStringLiteral("Fichiers commentaires (*.damt)"),
                                             QStringLiteral("Fichiers PDN (*.pdn)")},
                                            "txt"});
    if (answer.path.isEmpty()) return;
    const QString path = withSuffix(answer, "txt");
    const files::ResultCode result = m_core.game.lastResult;
    const files::ExportedText out = QFileInfo(path).suffix().compare(QStringLiteral("pdn"), Qt::CaseInsensitive) == 0
                                        ? files::exportPdn(m_core, result)
                                        : files::exportText(m_core, result);
    // A name the format cannot hold is refused rather than written so that
    // it would read back as something else.
    if (!out.written) {
        m_host.showError(runText(captions::Text::NameNotWritable)
                             .arg(QString::fromLatin1(out.unwritableName))
                             .toStdString());
        return;
    }
    if (!files::writeTextFile(pathOf(path), out.text)) showFileError();
}

void TForm1::Imprimer1Click() {
    if (busy()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Tavolex"));
    if (!m_printDialog(printer)) return;
    const game::GameState& g = m_core.game;
    const std::vector<std::string> lines =
        files::printedText(game::nameText(g.whiteName), game::nameText(g.blackName), g.record.plyCounter, g.moveList);
    QPainter painter;
    if (!painter.begin(&printer)) {
        showFileError();
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

void TForm1::Ouvrirunfichiertexte1Click() {
    if (busy()) return;
    abandonThinking();
    finishOps();
    const FileAnswer answer = m_fileDialog({false, QString::fromStdString(m_core.programDir.string()),
                                            {QStringLiteral("Fichiers texte (*.txt)"),
                                             QStringLiteral("Fichiers doc (*.doc)"),
                                             QStringLiteral("Fichiers PDN (*.pdn)")},
                                            "txt"});
    if (answer.path.isEmpty()) return;
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readWholeFile(pathOf(answer.path), error, files::MaxTextFileSize);
    if (error == files::FileError::WrongSize) {
        // Megabytes with one decimal, so that a file just past the bound
        // does not read as the bound itself.
        const double megabytes = static_cast<double>(QFileInfo(answer.path).size()) / (1 << 20);
        m_host.showError(runText(captions::Text::FileTooLarge)
                             .arg(megabytes, 0, 'f', 1)
                             .arg(static_cast<qulonglong>(files::MaxTextFileSize >> 20))
                             .toStdString());
        return;
    }
    if (error != files::FileError::None) {
        showFileError();
        return;
    }
    // The same chooser serves our layout and PDN.
    m_importGames = files::readTextGames(bytes);
    if (m_importGames.empty()) {
        m_host.showError(runText(captions::Text::NoGameInFile).toStdString());
        return;
    }
    if (m_importGames.size() == 1) {
        importChosenGame(0);
        return;
    }
    // Several games: the chooser lists them and the import goes on when
    // one is chosen (or ends when the person cancels). Meanwhile the
    // commands that replace the game and the board's clicks wait.
    ListBox16->clear();
    for (std::size_t i = 0; i < m_importGames.size(); ++i)
        ListBox16->addItem(QString::fromUtf8(files::chooserLine(m_importGames[i], static_cast<int>(i) + 1)));
    ListBox16->clearSelection();
    m_choosing = true;
    Panel2->show();
    Panel2->raise();
}

void TForm1::ListBox16Click() {
    if (!m_choosing) return;
    // OK without a line selected is a cancel.
    const QList<QListWidgetItem*> selected = ListBox16->selectedItems();
    const int chosen = selected.isEmpty() ? -1 : ListBox16->row(selected.front());
    m_choosing = false;
    Panel2->hide();
    if (chosen < 0 || chosen >= static_cast<int>(m_importGames.size())) {
        m_importGames.clear();
        return;
    }
    importChosenGame(chosen);
}

void TForm1::ListeCancelClick() {
    m_choosing = false;
    Panel2->hide();
    m_importGames.clear();
}

// Replays game `index` of the text just read. A replay that stops says which
// game, which move and why; a game that cannot be set up changes nothing.
void TForm1::importChosenGame(int index) {
    abandonThinking();
    finishOps();
    const files::ParsedGame parsed = m_importGames[static_cast<std::size_t>(index)];
    m_importGames.clear();
    m_core.engine.stopRequested = true;
    const files::ReplayOutcome out = files::replayGame(m_core, parsed);
    const bool unchanged = out.stop == files::ReplayStop::BadPosition || out.stop == files::ReplayStop::OtherGameType;
    if (!unchanged) {
        m_core.game.engineToMove = false;
        afterGameChange();
    }
    if (out.stop != files::ReplayStop::None) m_host.showError(importMessage(parsed, index + 1, out).toStdString());
}

QString TForm1::importMessage(const files::ParsedGame& parsed, int number, const files::ReplayOutcome& out) const {
    using captions::Text;
    // "?" for a name the file does not give, as in the chooser.
    const auto name = [](const std::string& n) { return n.empty() ? QStringLiteral("?") : QString::fromUtf8(n); };
    const QString players = name(parsed.white) + QStringLiteral(" - ") + name(parsed.black);
    const QString detail = QString::fromUtf8(out.detail);
    switch (out.stop) {
        case files::ReplayStop::BadPosition:
            return runText(Text::ImportRefused).arg(number).arg(players, runText(Text::BadStartingPosition).arg(detail));
        case files::ReplayStop::OtherGameType:
            return runText(Text::ImportRefused).arg(number).arg(players, runText(Text::OtherGameType).arg(detail));
        default: break;
    }
    QString why;
    switch (out.stop) {
        case files::ReplayStop::NotLegal: why = runText(Text::MoveNotLegal); break;
        case files::ReplayStop::Ambiguous: why = runText(Text::MoveAmbiguous); break;
        case files::ReplayStop::Unreadable: why = runText(Text::NotAMove); break;
        case files::ReplayStop::Missing: why = runText(Text::MoveMissing); break;
        case files::ReplayStop::RecordFull: why = runText(Text::GameTooLong).arg(game::MaxRecordedPly); break;
        default: break;
    }
    const QString move = QString::number(out.moveNumber) + (out.blackMove ? QStringLiteral("...") : QStringLiteral("."));
    if (out.moveText.empty()) return runText(Text::ImportStoppedNoText).arg(number).arg(players, move, why);
    return runText(Text::ImportStopped).arg(number).arg(players, move, QString::fromUtf8(out.moveText), why);
}

// ---------------------------------------------------------------------------
// Position set-up

void TForm1::Installeruneposition1Click() {
    if (busy()) return;
    abandonThinking();
    finishOps();
    Damier2D1Click();
    setPage(Probleme0);
    showSetupPage();
    Entrerpositionclick();
    // Ended from the menu, the set-up leaves its page: the move list is
    // shown, unless the computer's thinking was just put there.
    if (!m_core.game.setupMode && Onglet->currentWidget() == Probleme0) setPage(Liste);
}

void TForm1::Entrerpositionclick() {
    if (m_core.game.setupMode) {
        endSetup();
        return;
    }
    beginSetup();
}

// A set-up action on the page: pieces may be placed from now on. The engine
// stops thinking, and the books, which know no set-up position, are off.
void TForm1::beginSetup() {
    if (m_core.game.setupMode) return;
    abandonThinking();
    finishOps();
    files::beginSetup(m_core);
    m_core.engine.books.booksActive = false;
    Bibliothquesactives1->setChecked(false);
    Ouvertures1->menuAction()->setEnabled(false);
    showCaptureLabels(false);
    refreshSetupState();
    repaintBoard();
}

// The set-up ends (the page is left, or the menu asks): a changed position
// becomes the new game.
void TForm1::endSetup() {
    const files::SetupEnd end = files::endSetup(m_core);
    if (Damier2D1->isChecked()) {
        Ouvertures1->menuAction()->setEnabled(true);
        Numeroterlescases1->setEnabled(true);
    }
    refreshSetupState();
    if (end.moveNow) setPage(Calcul);
    if (end.newGame) {
        afterGameChange();
        return;
    }
    repaintBoard();
    requestPass();
}

// The page shows its tools whenever it is shown; they act once a set-up
// has begun, and the page says which it is.
void TForm1::showSetupPage() {
    refreshSetupCaptions();
    showEvaluation();
    refreshSetupState();
    Probleme->show();
}

void TForm1::refreshSetupState() {
    const bool on = m_core.game.setupMode;
    Etat_installation->setText(runText(on ? captions::Text::SetupActive : captions::Text::SetupIdle));
    QPalette pal = Etat_installation->palette();
    pal.setColor(QPalette::WindowText, on ? QColor(170, 0, 0) : palette().color(QPalette::WindowText));
    Etat_installation->setPalette(pal);
}

void TForm1::selectPiece(rules::PieceCode code) {
    m_core.game.setupPiece = code;
    static constexpr std::array<const char*, 5> pictures = {"v48.Bmp", "b48.Bmp", "bd48.Bmp", "n48.Bmp", "nd48.Bmp"};
    const QPixmap picture(QString::fromStdString(
        files::resolveInFolder(m_core.programDir, std::string("Images1/") + pictures[code]).string()));
    if (picture.isNull())
        Piontemoin->setText(QString::number(code));
    else
        Piontemoin->setPixmap(picture);
}

// Choosing a piece to place begins the set-up.
void TForm1::choosePieceToPlace(rules::PieceCode code) {
    if (busy()) return;
    selectPiece(code);
    beginSetup();
}

void TForm1::SpeedButton10Click() { choosePieceToPlace(rules::WhiteMan); }
void TForm1::SpeedButton11Click() { choosePieceToPlace(rules::WhiteKing); }
void TForm1::SpeedButton12Click() { choosePieceToPlace(rules::BlackMan); }
void TForm1::SpeedButton13Click() { choosePieceToPlace(rules::BlackKing); }
void TForm1::SpeedButton14Click() { choosePieceToPlace(rules::Empty); }

// The captions that follow the state, in the interface language.
void TForm1::refreshSetupCaptions() {
    const auto i = static_cast<std::size_t>(interfaceLanguage());
    const game::GameState& g = m_core.game;
    Bas_Haut->setText(QString::fromUtf8(g.inverted ? TopDown[i] : BottomUp[i]));
    Couleurordi->setText(QString::fromUtf8(g.computerColour == rules::Black ? ComputerBlack[i] : ComputerWhite[i]));
    Couleurjoue->setText(QString::fromUtf8(g.computerToMove ? ComputerTurn[i] : PlayerTurn[i]));
}

// Each side's static evaluation in hundredths of a man (halved, towards zero).
void TForm1::showEvaluation() {
    const rules::Board& board = m_core.rules.gamePosition;
    const int white = eval::evaluateStatic(m_core.eval, board, rules::White) / 2;
    const int black = eval::evaluateStatic(m_core.eval, board, rules::Black) / 2;
    Blancs->setText(QString::asprintf("Eval stat blancs:%4d", white));
    Noirs->setText(QString::asprintf("Eval stat noirs:%4d", black));
}

// The set-up's buttons: each begins the set-up (when it has not begun) and
// changes what the new game will start from.
void TForm1::vider() {
    if (busy()) return;
    beginSetup();
    files::vider(m_core);
    repaintBoard();
    showEvaluation();
}

void TForm1::remplir() {
    if (busy()) return;
    beginSetup();
    files::remplir(m_core);
    refreshSetupCaptions();
    afterGameChange();
    showEvaluation();
}

void TForm1::Change_dir() {
    if (busy()) return;
    beginSetup();
    files::Change_dir(m_core);
    refreshSetupCaptions();
    repaintBoard();
    showEvaluation();
}

void TForm1::Change_couleur() {
    if (busy()) return;
    beginSetup();
    files::Change_couleur(m_core);
    refreshSetupCaptions();
}

void TForm1::Couleur_joue() {
    if (busy()) return;
    beginSetup();
    files::Couleur_joue(m_core);
    refreshSetupCaptions();
}

// ---------------------------------------------------------------------------
// Page switching

void TForm1::setPage(QWidget* page) {
    m_pageGuard = true;
    Onglet->setCurrentWidget(page);
    m_shownPage = page;
    m_pageGuard = false;
}

// Qt tells of a page change after it happened: the page left is the one
// shown before.
void TForm1::pageChanged() {
    QWidget* from = m_shownPage;
    QWidget* to = Onglet->currentWidget();
    m_shownPage = to;
    if (m_pageGuard || from == to) return;
    OngletChanging(from);
    OngletChange(to);
}

// Leaving the set-up page ends a set-up under way: the position becomes the
// game's.
void TForm1::OngletChanging(QWidget*) {
    if (m_core.game.setupMode) endSetup();
}

void TForm1::OngletChange(QWidget* to) {
    const game::GameState& g = m_core.game;
    if (g.engineToMove || g.ratedGame == game::RatedState::InProgress) {
        // No page of the person's choosing while the engine is to move or a
        // rated game is on: the move list, or the thinking if that was chosen.
        setPage(to == Calcul ? Calcul : Liste);
        return;
    }
    // Showing the set-up page changes nothing: its tools wait for a set-up
    // action.
    if (to == Probleme0 && m_introDone) showSetupPage();
}

}  // namespace ui

#include "ui/book_commands.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/book.h"
#include "engine/learning.h"
#include "ui/analysis_commands.h"
#include "ui/dialog_panel.h"
#include "ui/engine_commands.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/main_menus.h"
#include "ui/play_area.h"
#include "ui/widgets.h"

namespace ui {

namespace {

std::filesystem::path pathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

BookCommands::BookCommands(TForm1& window) : w(window) {
    whiteEditor = new TForm2(rules::White, &w);
    blackEditor = new TForm2(rules::Black, &w);
    for (TForm2* editor : {whiteEditor, blackEditor}) {
        connect(editor->BitBtn1, &QPushButton::clicked, this, [this, editor] { saveEditor(editor->side()); });
        connect(editor->BitBtn2, &QPushButton::clicked, this, [this, editor] { discardEditor(editor->side()); });
        connect(editor, &TForm2::cancelled, this, [this, editor] { discardEditor(editor->side()); });
    }
    w.menus().booksActive->setChecked(w.core().engine.books.booksActive);

    learnPrompt = new DialogPanel(w.area, "Learn", QSize(320, 110), DialogPanel::Placement::AwayFromLastMove);
    QLabel* question = named(new QLabel(QStringLiteral("Apprendre ?"), learnPrompt), "Label_learn");
    question->setWordWrap(true);
    QPushButton* yes = named(new QPushButton(QStringLiteral("Oui"), learnPrompt), "Learn_yes");
    QPushButton* no = named(new QPushButton(QStringLiteral("Non"), learnPrompt), "Learn_no");
    auto* column = new QVBoxLayout(learnPrompt);
    column->setContentsMargins(12, 12, 12, 12);
    column->addWidget(question);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(yes);
    row->addWidget(no);
    row->addStretch(1);
    column->addLayout(row);
    learnPrompt->setButtons(yes, no);
    connect(yes, &QPushButton::clicked, this, &BookCommands::learnFinalPosition);
    connect(no, &QPushButton::clicked, learnPrompt, &QWidget::hide);
}

// Without a library the engine simply searches from the first move, so a
// missing one is no reason to stop the person with a message box.
void BookCommands::loadBooks() {
    engine::loadDefaultBooks(w.core().engine.books, w.core().programDir);
    w.core().engine.random.seed(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    whiteEditor->setLines(w.core().engine.books.white);
    blackEditor->setLines(w.core().engine.books.black);
}

void BookCommands::switchBooks() {
    engine::OpeningBooks& books = w.core().engine.books;
    books.booksActive = !books.booksActive;
    w.menus().booksActive->setChecked(books.booksActive);
}

void BookCommands::changeLibrarySet() {
    const std::filesystem::path folder = w.folderOf("Parametres", true);
    const FileAnswer answer =
        w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::LibraryFiles)}, "ovv"});
    if (answer.path.isEmpty()) return;
    engine::OpeningBooks& books = w.core().engine.books;
    switch (engine::switchLibrarySet(books, w.core().programDir, pathOf(answer.path))) {
        case engine::LibraryStatus::Ok: break;
        case engine::LibraryStatus::Unreadable: w.showFileError(); return;
        case engine::LibraryStatus::NotWritten: w.showFileError(); break;
    }
    whiteEditor->setLines(books.white);
    blackEditor->setLines(books.black);
}

// ---------------------------------------------------------------------------
// The editors

void BookCommands::openEditor(rules::Side side) {
    if (w.busy()) return;
    const QString line = QString::fromLatin1(engine::openingLineOf(w.core().game.record).c_str());
    whiteEditor->Nouvelle_Ouverture->setText(line);
    blackEditor->Nouvelle_Ouverture->setText(line);
    // The list shows the active book as it is on disk.
    engine::reloadActiveBook(w.core().engine.books, w.core().programDir, side);
    TForm2* editor = editorOf(side);
    editor->setLines(w.core().engine.books.of(side));
    editor->Fiche_Ouvertures->show();
    editor->show();
    editor->raise();
}

void BookCommands::saveEditor(rules::Side side) {
    TForm2* editor = editorOf(side);
    const std::filesystem::path folder = w.folderOf("Parametres", true);
    const FileAnswer answer =
        w.askFile({true, QString::fromStdString(folder.string()), {w.runText(captions::Text::LibraryFiles)}, "ovv"});
    if (answer.path.isEmpty()) {
        // A cancelled dialog discards the edits.
        discardEditor(side);
        return;
    }
    const QFileInfo chosen(answer.path);
    const std::filesystem::path marker =
        pathOf(chosen.absolutePath()) / engine::libraryFileName(QFile::encodeName(chosen.fileName()).toStdString());
    std::vector<std::string> analysis;
    QListWidget* strip = w.analysisCommands().stripLines;
    for (int i = 0; i < strip->count(); ++i) analysis.push_back(strip->item(i)->text().toLatin1().toStdString());
    if (engine::saveLibrarySet(w.core().engine.books, w.core().programDir, marker, analysis, side, editor->lines()) !=
        engine::LibraryStatus::Ok)
        w.showFileError();
    editor->setLines(w.core().engine.books.of(side));
    whiteEditor->hide();
    blackEditor->hide();
}

void BookCommands::discardEditor(rules::Side side) {
    engine::OpeningBooks& books = w.core().engine.books;
    books.of(side).clear();
    engine::reloadActiveBook(books, w.core().programDir, side);
    editorOf(side)->setLines(books.of(side));
    whiteEditor->hide();
    blackEditor->hide();
}

// ---------------------------------------------------------------------------
// Learning

void BookCommands::offerLearning() { w.openPanel(learnPrompt); }
void BookCommands::hideLearnPrompt() { learnPrompt->hide(); }

void BookCommands::learnFinalPosition() {
    learnPrompt->hide();
    if (w.busy()) return;
    const bool qualifies = engine::learningQualifies(w.core());
    w.afterNavigation();
    if (!qualifies) return;
    const std::filesystem::path folder = w.folderOf("Parametres", true);
    const FileAnswer answer =
        w.askFile({true, QString::fromStdString(folder.string()), {w.runText(captions::Text::LearningFiles)}, "dal"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dal");
    engine::learnFinalPosition(w.core());
    if (!engine::writeLearningFile(w.core().engine.tables, pathOf(path))) w.showSaveError(pathOf(path));
}

void BookCommands::loadLessons() {
    const std::filesystem::path folder = w.folderOf("Parametres", true);
    const FileAnswer answer =
        w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::LearningFiles)}, "dal"});
    if (answer.path.isEmpty()) return;
    switch (engine::readLearningFile(w.core().engine.tables, pathOf(answer.path))) {
        case engine::LearningFileStatus::Ok: break;
        case engine::LearningFileStatus::Short:
            w.host().showError("Fichier incomplet : " + QFileInfo(answer.path).fileName().toStdString());
            break;
        case engine::LearningFileStatus::Unreadable: w.showFileError(); break;
    }
}

void BookCommands::startSession() {
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
    engine::startLearningSession(w.core(), stamp);
    MainMenus& m = w.menus();
    m.selfPlay->setChecked(true);
    m.twoPeople->setChecked(false);
    m.stopSession->setEnabled(true);
    m.startSession->setEnabled(false);
    w.engineCommands().switchSelfPlay();
}

void BookCommands::stopSession() {
    engine::stopLearningSession(w.core());
    MainMenus& m = w.menus();
    m.selfPlay->setChecked(false);
    m.stopSession->setEnabled(false);
    m.startSession->setEnabled(true);
    if (w.analysisRunning()) w.analysisCommands().end();
    w.engineCommands().switchSelfPlay();
}

void BookCommands::sessionStep() {
    if (!w.core().engine.learning.session || w.analysisRunning()) return;
    if (w.busy()) {
        QTimer::singleShot(50, this, &BookCommands::sessionStep);
        return;
    }
    w.analysisCommands().start();
}

void BookCommands::continueSession() {
    w.analysisCommands().close();
    learnPrompt->hide();
    if (!engine::continueSession(w.core())) w.showFileError();
    w.menus().selfPlay->setChecked(true);
    w.afterGameChange();
    w.engineCommands().switchSelfPlay();
}

}  // namespace ui

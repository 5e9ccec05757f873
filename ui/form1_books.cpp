// The main window's opening libraries and learning: "Bibliothèques
// actives", changing the library set, the two editors, position learning
// after an analysis, learning files and sessions.

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "engine/book.h"
#include "engine/learning.h"
#include "ui/form1.h"
#include "ui/form2.h"

namespace ui {

namespace {

const QString LibraryFilter = QString::fromUtf8("Fichiers d'ouvertures (*.ovv)");
const QString LearningFilter = QStringLiteral("parameters (*.dal)");

std::filesystem::path pathOf(const QString& path) { return QFile::encodeName(path).toStdString(); }

QAction* item(QObject* window, const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }

}  // namespace

void TForm1::buildBooks() {
    Form2 = new TForm2(rules::White, this);
    Form3 = new TForm2(rules::Black, this);
    for (TForm2* editor : {Form2, Form3}) {
        connect(editor->BitBtn1, &QPushButton::clicked, this, [this, editor] { BitBtn1Click(editor->side()); });
        connect(editor->BitBtn2, &QPushButton::clicked, this, [this, editor] { BitBtn2Click(editor->side()); });
        connect(editor, &TForm2::cancelled, this, [this, editor] { BitBtn2Click(editor->side()); });
    }

    struct Command {
        const char* item;
        void (TForm1::*handler)();
    };
    const Command commands[] = {
        {"Bibliothquesactives1", &TForm1::Bibliothquesactives1Click},
        {"Changerbibliothqueouvertures1", &TForm1::Changerbibliothqueouvertures1Click},
        {"Ouverturespourlesblancs1", &TForm1::Ouverturespourlesblancs1Click},
        {"Ouverturespourlesnoirs1", &TForm1::Ouverturespourlesnoirs1Click},
        {"Lancerunesession1", &TForm1::Lancerunesession1Click},
        {"Arrterlasession1", &TForm1::Arrterlasession1Click},
        {"Chargerdesleons1", &TForm1::Chargerdesleons1Click},
    };
    for (const Command& c : commands)
        if (QAction* a = item(this, c.item)) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, c.handler);
        }
    // The editors are offered in "Paramétrage" beside the library commands.
    for (const char* name : {"Ouverturespourlesblancs1", "Ouverturespourlesnoirs1"}) item(this, name)->setVisible(true);
    Bibliothquesactives1->setCheckable(true);
    Bibliothquesactives1->setChecked(m_core.engine.books.booksActive);
    // No session runs when the program starts.
    item(this, "Arrterlasession1")->setEnabled(false);

    QPushButton* yes = findChild<QPushButton*>("Learn_yes");
    yes->setEnabled(true);
    connect(yes, &QPushButton::clicked, this, &TForm1::Apprendreposition1Click);
}

// Start-up: both libraries from the program folder, and the book choices'
// random numbers from the clock. Without a library the engine simply
// searches from the first move, so a missing one is no reason to stop the
// person with a message box.
void TForm1::loadBooks() {
    engine::loadDefaultBooks(m_core.engine.books, m_core.programDir);
    m_core.engine.random.seed(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    Form2->setLines(m_core.engine.books.white);
    Form3->setLines(m_core.engine.books.black);
}

void TForm1::Bibliothquesactives1Click() {
    m_core.engine.books.booksActive = !m_core.engine.books.booksActive;
    Bibliothquesactives1->setChecked(m_core.engine.books.booksActive);
}

void TForm1::Changerbibliothqueouvertures1Click() {
    const std::filesystem::path folder = folderOf("Parametres", true);
    const FileAnswer answer = m_fileDialog({false, QString::fromStdString(folder.string()), {LibraryFilter}, "ovv"});
    if (answer.path.isEmpty()) return;
    switch (engine::switchLibrarySet(m_core.engine.books, m_core.programDir, pathOf(answer.path))) {
        case engine::LibraryStatus::Ok: break;
        case engine::LibraryStatus::Unreadable: showFileError(); return;
        case engine::LibraryStatus::NotWritten: showFileError(); break;
    }
    Form2->setLines(m_core.engine.books.white);
    Form3->setLines(m_core.engine.books.black);
}

// ---------------------------------------------------------------------------
// The editors

void TForm1::openEditor(rules::Side side) {
    if (busy()) return;
    const QString line = QString::fromLatin1(engine::Nouvelle_ouv(m_core.game.record).c_str());
    Form2->Nouvelle_Ouverture->setText(line);
    Form3->Nouvelle_Ouverture->setText(line);
    // The list shows the active book as it is on disk.
    engine::reloadActiveBook(m_core.engine.books, m_core.programDir, side);
    TForm2* editor = side == rules::White ? Form2 : Form3;
    editor->setLines(m_core.engine.books.of(side));
    editor->Fiche_Ouvertures->show();
    editor->show();
    editor->raise();
    m_editorSide = side;
}

void TForm1::Ouverturespourlesblancs1Click() { openEditor(rules::White); }
void TForm1::Ouverturespourlesnoirs1Click() { openEditor(rules::Black); }

void TForm1::BitBtn1Click(rules::Side side) {
    TForm2* editor = side == rules::White ? Form2 : Form3;
    const std::filesystem::path folder = folderOf("Parametres", true);
    const FileAnswer answer = m_fileDialog({true, QString::fromStdString(folder.string()), {LibraryFilter}, "ovv"});
    if (!answer.path.isEmpty()) {
        const QFileInfo chosen(answer.path);
        const std::filesystem::path marker =
            pathOf(chosen.absolutePath()) / engine::libraryFileName(QFile::encodeName(chosen.fileName()).toStdString());
        std::vector<std::string> analysis;
        for (int i = 0; i < ListBox6->count(); ++i) analysis.push_back(ListBox6->item(i)->text().toLatin1().toStdString());
        if (engine::saveLibrarySet(m_core.engine.books, m_core.programDir, marker, analysis, side, editor->lines()) !=
            engine::LibraryStatus::Ok)
            showFileError();
    } else {
        // A cancelled dialog discards the edits.
        BitBtn2Click(side);
        return;
    }
    editor->setLines(m_core.engine.books.of(side));
    Form2->hide();
    Form3->hide();
}

void TForm1::BitBtn2Click(rules::Side side) {
    TForm2* editor = side == rules::White ? Form2 : Form3;
    m_core.engine.books.of(side).clear();
    engine::reloadActiveBook(m_core.engine.books, m_core.programDir, side);
    editor->setLines(m_core.engine.books.of(side));
    Form2->hide();
    Form3->hide();
}

// ---------------------------------------------------------------------------
// Learning

void TForm1::Apprendreposition1Click() {
    Learn->hide();
    if (busy()) return;
    const bool qualifies = engine::learningQualifies(m_core);
    afterNavigation();
    if (!qualifies) return;
    const std::filesystem::path folder = folderOf("Parametres", true);
    const FileAnswer answer = m_fileDialog({true, QString::fromStdString(folder.string()), {LearningFilter}, "dal"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".dal");
    engine::learnFinalPosition(m_core);
    if (!engine::writeLearningFile(m_core.engine.tables, pathOf(path))) showFileError();
}

void TForm1::Learn_noClick() { Learn->hide(); }

void TForm1::Chargerdesleons1Click() {
    const std::filesystem::path folder = folderOf("Parametres", true);
    const FileAnswer answer = m_fileDialog({false, QString::fromStdString(folder.string()), {LearningFilter}, "dal"});
    if (answer.path.isEmpty()) return;
    switch (engine::ReadLearningFile(m_core.engine.tables, pathOf(answer.path))) {
        case engine::LearningFileStatus::Ok: break;
        case engine::LearningFileStatus::Short:
            m_host.showError("Fichier incomplet : " + QFileInfo(answer.path).fileName().toStdString());
            break;
        case engine::LearningFileStatus::Unreadable: showFileError(); break;
    }
}

void TForm1::Lancerunesession1Click() {
    const std::string stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
    engine::Lancerunesession(m_core, stamp);
    Ordinateurcontreordinateur1->setChecked(true);
    Humaincontrehumain1->setChecked(false);
    item(this, "Arrterlasession1")->setEnabled(true);
    item(this, "Lancerunesession1")->setEnabled(false);
    Ordinateurcontreordinateur1Click();
}

void TForm1::Arrterlasession1Click() {
    engine::Arrterlasession(m_core);
    Ordinateurcontreordinateur1->setChecked(false);
    item(this, "Arrterlasession1")->setEnabled(false);
    item(this, "Lancerunesession1")->setEnabled(true);
    if (m_analysisRunning) fin_analyse();
    Ordinateurcontreordinateur1Click();
}

// A session's game has ended: it is analysed, and when the analysis is over
// (continueSession) its final position is learned into the session's file
// and the next game begins.
void TForm1::sessionStep() {
    if (!m_core.engine.learning.session || m_analysisRunning) return;
    if (busy()) {
        QTimer::singleShot(50, this, &TForm1::sessionStep);
        return;
    }
    Analyser();
}

void TForm1::continueSession() {
    finishAnalysis();
    Learn->hide();
    if (!engine::continueSession(m_core)) showFileError();
    Ordinateurcontreordinateur1->setChecked(true);
    afterGameChange();
    Ordinateurcontreordinateur1Click();
}

}  // namespace ui

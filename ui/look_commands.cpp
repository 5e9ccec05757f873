#include "ui/look_commands.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

#include "eval/parameter_file.h"
#include "files/program_folder.h"
#include "files/save_file.h"
#include "ui/board3d.h"
#include "ui/dialog_panel.h"
#include "ui/flat_board.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/help_viewer.h"
#include "ui/main_menus.h"
#include "ui/perspective_panel.h"
#include "ui/play_area.h"
#include "ui/setup_page.h"
#include "ui/side_parts.h"
#include "ui/start_panel.h"
#include "ui/translations.h"
#include "ui/widgets.h"

namespace ui {

namespace {}  // namespace

LookCommands::LookCommands(TForm1& window) : w(window) {
    // The about box.
    about = new DialogPanel(w.area, "Panel8", QSize(340, 220));
    QLabel* text = named(new QLabel(about), "Label_apropos");
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setText(QString::fromUtf8("<h2>Tavolex 3D</h2><p>Jeu de dames brésiliennes<br>version %1</p>"
                                    "<p>Moteur, évaluation, tables de finales, damiers et aide : l'équipe Tavolex.</p>")
                      .arg(QStringLiteral("0.1.0")));
    QPushButton* ok = named(new QPushButton(QStringLiteral("OK"), about), "BitBtn6");
    auto* column = new QVBoxLayout(about);
    column->setContentsMargins(12, 12, 12, 12);
    column->addWidget(text, 1);
    column->addWidget(ok, 0, Qt::AlignHCenter);
    about->setButtons(ok, nullptr);
    connect(ok, &QPushButton::clicked, this, [this] {
        about->hide();
        if (w.started()) w.repaintBoard();
    });

    parameters = new TForm5(&w);
    connect(parameters->parametreOK, &QPushButton::clicked, this, &LookCommands::acceptParameters);
    // Nothing is copied back: the boxes are filled afresh at the next opening.
    connect(parameters->parametrecancel, &QPushButton::clicked, parameters, &QWidget::hide);
    help = new HelpViewer(&w);
}

// ---------------------------------------------------------------------------
// Board styles

void LookCommands::chooseStyle(int style) {
    if (style < 0 || style > 8) return;
    // From the start panel every style runs the same start-up first.
    if (!w.started()) w.startFromIntro();
    w.finishOps();
    if (style > 0) {
        selectPerspectiveStyle(style);
        return;
    }
    MainMenus& m = w.menus();
    for (std::size_t i = 0; i < m.styles.size(); ++i) m.styles[i]->setChecked(i == 0);
    m_style = 0;
    w.showBoardStyle(false);
    // Blind play belongs to the perspective board.
    m.blindPlay->setChecked(false);
    m.blindPlay->setEnabled(false);
    w.perspective->board->setBlind(false);
    w.repaintBoard();
}

// Styles 1 to 3 load only what changed since the perspective style last
// shown (styles 1 and 2 share their square pictures); styles 4 to 8 load
// everything at every selection. Coming back from the flat board counts
// from the perspective style shown before it, whose files are still held.
void LookCommands::selectPerspectiveStyle(int style) {
    PerspectiveBoard* image = w.perspective->board;
    const std::filesystem::path& programDir = w.core().programDir;
    const int from = m_lastPerspective;
    std::optional<std::string> missing;
    auto load = [&](std::optional<std::string> result) {
        if (result && !missing) missing = result;
    };
    if (style >= 4) {
        load(image->loadSquarePictures(programDir, style));
        load(image->loadBackground(programDir, style));
    } else if (!(style == 3 && from == 3)) {
        const int dir = PerspectiveBoard::directoryOf(style);
        if (from == 0 || PerspectiveBoard::directoryOf(from) != dir) load(image->loadSquarePictures(programDir, dir));
        if (from != style) load(image->loadBackground(programDir, style));
    }
    m_lastPerspective = missing ? 0 : style;  // a failed load is tried again next time
    MainMenus& m = w.menus();
    for (std::size_t i = 0; i < m.styles.size(); ++i) m.styles[i]->setChecked(static_cast<int>(i) == style);
    m.blindPlay->setEnabled(true);
    m_style = style;
    w.showBoardStyle(true);
    image->paintBackground();
    w.repaintBoard();
    if (missing) w.host().showError("Impossible d'ouvrir ce fichier\n" + *missing);
}

// The mark has already flipped when the handler runs.
void LookCommands::switchBlindPlay() {
    MainMenus& m = w.menus();
    PerspectiveBoard* image = w.perspective->board;
    if (m_style == 0) {
        m.blindPlay->setChecked(false);
        return;
    }
    if (m.blindPlay->isChecked()) {
        image->setBlind(true);
        image->paintBackground();
        // The engine can no longer be stopped by a press on the board.
        m.stopByClick->setChecked(false);
        w.core().game.options.stopByClick = false;
    } else {
        image->setBlind(false);
        w.repaintBoard();
    }
}

void LookCommands::exportPicture() {
    const FileAnswer answer = w.askFile(
        {true, QString::fromStdString(w.core().programDir.string()), {w.runText(captions::Text::PictureFiles)}, "bmp"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".bmp");
    // The board as shown: the flat board's picture when it is the one in use.
    const QImage picture = m_style == 0 ? w.flatBoard->designImage() : w.perspective->board->canvas();
    // Encoded first, then saved as every file is: a failed save keeps the
    // picture it would have replaced.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    const std::filesystem::path file = QFile::encodeName(path).toStdString();
    if (!picture.save(&buffer, "BMP") ||
        files::saveFile(file.string(), std::span(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                                                 static_cast<std::size_t>(encoded.size()))) != files::SaveStatus::Saved)
        w.showSaveError(file);
}

// ---------------------------------------------------------------------------
// About and help

void LookCommands::showAbout() { w.openPanel(about); }

// Each language has its own pages; a page missing in a language falls back
// to the English one.
void LookCommands::showGuide() {
    static const std::array<const char*, 6> pages = {"Tavolex.html",   "Tavolex_e.html",  "Tavolex_n.html",
                                                     "Tavolex_p.html", "Tavolex_es.html", "Tavolex_i.html"};
    showHelp(QString::fromLatin1(pages[static_cast<std::size_t>(w.interfaceLanguage())]));
}

void LookCommands::showRules() {
    static const std::array<const char*, 6> pages = {"RTavolex_f.html", "RTavolex_e.html",  "RTavolex_n.html",
                                                     "RTavolex_p.html", "RTavolex_es.html", "RTavolex_i.html"};
    showHelp(QString::fromLatin1(pages[static_cast<std::size_t>(w.interfaceLanguage())]));
}

void LookCommands::showHelp(const QString& page) {
    const std::filesystem::path folder = files::resolveInFolder(w.core().programDir, "Aide");
    const QDir dir(QString::fromStdString(folder.string()));
    if (help->showPage(dir.filePath(page))) return;
    const QString english = page.startsWith('R') ? QStringLiteral("RTavolex_e.html") : QStringLiteral("Tavolex_e.html");
    if (!help->showPage(dir.filePath(english)))
        w.host().showError("Impossible d'ouvrir ce fichier\n" + page.toStdString());
}

// ---------------------------------------------------------------------------
// Parameters

void LookCommands::openParameterEditor() {
    parameters->show();
    parameters->raise();
    parameters->fillParameterEditor(w.core().eval.params);
}

void LookCommands::acceptParameters() {
    parameters->hide();
    parameters->readParameterEditor(w.core().eval.params);
}

void LookCommands::saveParameters() {
    const std::filesystem::path folder = files::resolveInFolder(w.core().programDir, "Parametres");
    const FileAnswer answer =
        w.askFile({true, QString::fromStdString(folder.string()), {w.runText(captions::Text::ParameterFiles)}, "par"});
    if (answer.path.isEmpty()) return;
    QString path = answer.path;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".par");
    eval::saveParameters(w.core().eval, &w.host(), QFile::encodeName(path).toStdString());
}

void LookCommands::loadParameters() {
    const std::filesystem::path folder = files::resolveInFolder(w.core().programDir, "Parametres");
    const FileAnswer answer =
        w.askFile({false, QString::fromStdString(folder.string()), {w.runText(captions::Text::ParameterFiles)}, "par"});
    if (answer.path.isEmpty()) return;
    eval::loadParameters(w.core().eval, &w.host(), QFile::encodeName(answer.path).toStdString());
}

// ---------------------------------------------------------------------------
// Languages

void LookCommands::selectLanguage(int language) {
    if (language < 0 || language >= captions::NumLanguages) language = 0;
    w.setWindowTitle(QString::fromUtf8(captions::windowTitle()[static_cast<std::size_t>(language)]));
    if (!w.started()) captions::apply(w.startPanel, captions::startPanel(), language);
    MainMenus& m = w.menus();
    for (std::size_t i = 0; i < m.languages.size(); ++i) m.languages[i]->setChecked(static_cast<int>(i) == language);
    captions::applyAll(&w, language);
    translations::useQtTranslations(language);
    w.host().setLanguage(language);
    QListWidget* thinking = w.thinkingPage->thinkingLines;
    for (int i = 0; i < thinking->count(); ++i)
        thinking->item(i)->setText(captions::thinkingLineIn(thinking->item(i)->text(), language));
    if (w.started()) w.refreshMoveNumber();
    if (w.core().game.ratedGame == game::RatedState::InProgress) w.mode->setText(w.runText(captions::Text::RatedGame));
    if (const QVariant message = w.endMessage->property("endMessage"); message.isValid())
        w.endMessage->setText(captions::endMessage(static_cast<game::EndMessage>(message.toInt()),
                                                   w.endMessage->property("winner").toString(), language));
    w.positionSetup().refreshCaptions();
    w.positionSetup().refreshState();
    // The evaluations, once shown, are said again in the language.
    if (!w.setupPage->whiteEvaluation->text().isEmpty()) w.positionSetup().showEvaluation();
}

}  // namespace ui

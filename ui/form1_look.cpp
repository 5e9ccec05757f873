// The main window's board styles and perspective board, blind play, the
// picture export, the about box, help, and the parameter editor with the
// parameter files' commands.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <array>

#include "eval/eval_state.h"
#include "eval/parameter_file.h"
#include "files/program_folder.h"
#include "ui/flat_board.h"
#include "ui/form1.h"
#include "ui/form5.h"
#include "ui/help_viewer.h"
#include "ui/board3d.h"
#include "ui/board3d_places.h"

namespace ui {

namespace {

constexpr int WindowWidth = 800;
constexpr int AreaHeight = 572;
constexpr int SideLeft = 528;  // the side column beside the flat board
// The perspective panel: the image sits right of a margin that holds the
// clocks, so that they never cover the board's near corners.
constexpr int ImageLeft = 60;
constexpr int Panel10Width = ImageLeft + perspective::ImageWidth;
constexpr int Panel10Height = perspective::ImageHeight;
constexpr int SideShift = Panel10Width + 4 - SideLeft;
// The perspective clocks' places, top and bottom.
constexpr int ClockTop = 56;
constexpr int ClockBottom = 448;

// The style items by style number.
constexpr std::array<const char*, 9> StyleItems = {"Damier2D1", "Damier3D1", "Damier3D2", "Damier3D3", "Damier3D4",
                                                   "Damier3D5", "Damier3D6", "Damier3D7", "Damier3D8"};
constexpr std::array<const char*, 9> StyleButtons = {"Intro2D",         "IntroClassique", "IntroNuit",
                                                     "IntroLuxe",       "IntroCopacabana", "IntroIpanema",
                                                     "IntroInferno",    "IntroGrandluxe", "IntroSalvador"};
// The language items by interface language index.
constexpr std::array<const char*, 6> LanguageItems = {"Franais1",   "English1", "Nederlands1",
                                                      "Portugues1", "Espanol1", "Italiano1"};

int checkedLanguage(const QObject* window) {
    for (std::size_t i = 0; i < LanguageItems.size(); ++i)
        if (const QAction* a = window->findChild<QAction*>(LanguageItems[i]); a && a->isChecked()) return static_cast<int>(i);
    return 0;
}

bool checked(const QObject* window, const char* item) {
    const QAction* a = window->findChild<QAction*>(item);
    return a && a->isChecked();
}

// A clock of the perspective board: the side's name, minutes and seconds,
// and the side's piece count.
QFrame* clockPanel(QWidget* parent, const char* name, bool white, QLabel*& minutes, QLabel*& seconds, QLabel*& side,
                   QLabel*& count, const char* minName, const char* secName, const char* sideName, const char* countName) {
    QFrame* f = new QFrame(parent);
    f->setObjectName(name);
    f->setGeometry(4, ClockTop, 112, 64);
    const QString face = white ? QStringLiteral("stop:0 #fffdf4, stop:1 #c9bd9c") : QStringLiteral("stop:0 #5a4a44, stop:1 #140e0c");
    const QString ink = white ? QStringLiteral("#201810") : QStringLiteral("#f4ead4");
    f->setStyleSheet(QStringLiteral("QFrame#%1 { border: 2px outset #8a7a5a; border-radius: 8px; "
                                    "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, %2); } QLabel { color: %3; }")
                         .arg(QString::fromLatin1(name), face, ink));
    auto make = [&](const char* objectName, const QString& text, QRect geometry, int pixels, bool bold) {
        QLabel* l = new QLabel(text, f);
        l->setObjectName(QString::fromLatin1(objectName));
        l->setGeometry(geometry);
        QFont font = l->font();
        font.setPixelSize(pixels);
        font.setBold(bold);
        l->setFont(font);
        return l;
    };
    side = make(sideName, QString(), QRect(8, 4, 96, 16), 11, true);
    minutes = make(minName, QStringLiteral("0"), QRect(4, 22, 34, 36), 24, true);
    minutes->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    make("", QStringLiteral(":"), QRect(39, 22, 8, 36), 24, true);
    seconds = make(secName, QStringLiteral("00"), QRect(47, 22, 32, 36), 24, true);
    count = make(countName, QStringLiteral("20"), QRect(80, 28, 28, 28), 16, true);
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return f;
}

QString defaultPathDialog(QWidget* parent, bool save, const QString& folder, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(folder);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

// Called once the rest of the window exists: the perspective panel, the
// about box, the parameter editor, and the commands of this file put to
// work in the menus and on the start panel.
void TForm1::buildLook() {
    QWidget* area = centralWidget();
    Panel10 = new QFrame(area);
    Panel10->setObjectName("Panel10");
    Panel10->setGeometry(0, 0, Panel10Width, Panel10Height);
    Panel10->setAutoFillBackground(true);
    QPalette pal = Panel10->palette();
    pal.setColor(QPalette::Window, QColor(36, 30, 28));
    Panel10->setPalette(pal);
    Image5 = new PerspectiveBoard(Panel10);
    Image5->move(ImageLeft, 0);
    Image5->setMarksAllowed([this] {
        // While the engine thinks, "Indication des mouvements" decides.
        return !m_core.game.engineToMove || checked(this, "Indicationdesmouvements1");
    });
    connect(Image5, &PerspectiveBoard::pressed, this, &TForm1::DamierImage1Click);
    Horlogenoir3d = clockPanel(Panel10, "Horlogenoir3d", false, minnoir3d, secnoir3d, N3D, Nbn3d, "minnoir3d", "secnoir3d",
                               "N3D", "Nbn3d");
    Horlogeblanc3d = clockPanel(Panel10, "Horlogeblanc3d", true, minblanc3d, secblanc3d, B3D, Nbb3d, "minblanc3d",
                                "secblanc3d", "B3D", "Nbb3d");
    Panel10->hide();
    Panel10->lower();  // under every overlay panel
    Damier->setMirror(Image5);

    // The about box.
    Panel8 = new QFrame(area);
    Panel8->setObjectName("Panel8");
    Panel8->setFrameShape(QFrame::Panel);
    Panel8->setFrameShadow(QFrame::Raised);
    Panel8->setLineWidth(3);
    Panel8->setAutoFillBackground(true);
    Panel8->setGeometry(90, 130, 340, 230);
    QLabel* about = new QLabel(Panel8);
    about->setObjectName("Label_apropos");
    about->setGeometry(12, 12, 316, 160);
    about->setAlignment(Qt::AlignCenter);
    about->setWordWrap(true);
    about->setText(QString::fromUtf8("<h2>Tavolex 3D</h2><p>Jeu de dames brésiliennes<br>version %1</p>"
                                     "<p>Moteur, évaluation, tables de finales, damiers et aide : l'équipe Tavolex.</p>")
                       .arg(QStringLiteral("0.1.0")));
    BitBtn6 = new QPushButton(QStringLiteral("OK"), Panel8);
    BitBtn6->setObjectName("BitBtn6");
    BitBtn6->setGeometry(130, 184, 80, 30);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::BitBtn6Click);
    Panel8->hide();

    Form5 = new TForm5(this);
    connect(Form5->parametreOK, &QPushButton::clicked, this, &TForm1::parametreOKClick);
    connect(Form5->parametrecancel, &QPushButton::clicked, this, &TForm1::parametrecancelClick);
    m_help = new HelpViewer(this);
    m_pathDialog = [this](bool save, const QString& folder, const QString& filter) {
        return defaultPathDialog(this, save, folder, filter);
    };

    // The commands.
    void (TForm1::*styleHandlers[])() = {&TForm1::Damier2D1Click, &TForm1::Damier3D1Click, &TForm1::Damier3D2Click,
                                         &TForm1::Damier3D3Click, &TForm1::Damier3D4Click, &TForm1::Damier3D5Click,
                                         &TForm1::Damier3D6Click, &TForm1::Damier3D7Click, &TForm1::Damier3D8Click};
    for (int style = 1; style <= 8; ++style) {
        if (QAction* a = findChild<QAction*>(StyleItems[static_cast<std::size_t>(style)])) {
            a->setEnabled(true);
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, styleHandlers[style]);
        }
        if (QPushButton* b = Intro->findChild<QPushButton*>(StyleButtons[static_cast<std::size_t>(style)])) {
            b->setEnabled(true);
            connect(b, &QPushButton::clicked, this, styleHandlers[style]);
        }
    }
    struct Command {
        const char* item;
        void (TForm1::*handler)();
    };
    const Command commands[] = {
        {"Jeuenaveugle1", &TForm1::Jeuenaveugle1Click},
        {"Editerlimagefichierbmp1", &TForm1::Editerlimagefichierbmp1Click},
        {"Apropos1", &TForm1::Apropos1Click},
        {"Guide1", &TForm1::Guide1Click},
        {"Rgles1", &TForm1::Rgles1Click},
        {"Changer1", &TForm1::Changer1Click},
        {"Sauverlesparamtres1", &TForm1::Sauverlesparamtres1Click},
        {"Chargerdesparamtres1", &TForm1::Chargerdesparamtres1Click},
    };
    for (const Command& c : commands)
        if (QAction* a = findChild<QAction*>(c.item)) {
            a->setEnabled(true);
            connect(a, &QAction::triggered, this, c.handler);
        }
    // Blind play waits for a perspective board.
    Jeuenaveugle1->setEnabled(false);
    // The parameter editor and saving parameters are offered in "Paramétrage".
    for (const char* item : {"Changer1", "Sauverlesparamtres1"})
        if (QAction* a = findChild<QAction*>(item)) a->setVisible(true);
    // "Indication des mouvements" is a mark that the board reads when it frames.
    if (QAction* a = findChild<QAction*>("Indicationdesmouvements1")) a->setEnabled(true);

    // The languages, from the menu and from the start panel.
    void (TForm1::*languageHandlers[])() = {&TForm1::Button5Click, &TForm1::Button6Click, &TForm1::Button7Click,
                                            &TForm1::Button2Click, &TForm1::Button8Click, &TForm1::Button1AClick};
    const char* languageButtons[] = {"Button5", "Button6", "Button7", "Button2", "Button8", "Button1A"};
    for (std::size_t i = 1; i < LanguageItems.size(); ++i) {
        if (QAction* a = findChild<QAction*>(LanguageItems[i])) {
            a->setEnabled(true);
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, languageHandlers[i]);
        }
        if (QPushButton* b = Intro->findChild<QPushButton*>(languageButtons[i])) {
            b->setEnabled(true);
            connect(b, &QPushButton::clicked, this, languageHandlers[i]);
        }
    }
}

// ---------------------------------------------------------------------------
// Board styles

void TForm1::Damier3D1Click() { chooseStyle(1); }
void TForm1::Damier3D2Click() { chooseStyle(2); }
void TForm1::Damier3D3Click() { chooseStyle(3); }
void TForm1::Damier3D4Click() { chooseStyle(4); }
void TForm1::Damier3D5Click() { chooseStyle(5); }
void TForm1::Damier3D6Click() { chooseStyle(6); }
void TForm1::Damier3D7Click() { chooseStyle(7); }
void TForm1::Damier3D8Click() { chooseStyle(8); }

void TForm1::chooseStyle(int style) {
    // From the start panel every style runs the same start-up as the flat
    // board's button, then shows its own board.
    if (!m_introDone) Damier2D1Click();
    if (m_animating) return;
    selectStyle(style);
}

// Styles 1 to 3 load only what changed since the perspective style last
// shown (styles 1 and 2 share their square pictures); styles 4 to 8 load
// everything at every selection. Coming back from the flat board counts
// from the perspective style shown before it, whose files are still held.
void TForm1::selectStyle(int style) {
    if (style < 1 || style > 8) return;
    const int from = m_lastPerspective;
    std::optional<std::string> missing;
    auto load = [&](std::optional<std::string> result) {
        if (result && !missing) missing = result;
    };
    if (style >= 4) {
        load(Image5->loadSquarePictures(m_core.programDir, style));
        load(Image5->loadBackground(m_core.programDir, style));
    } else if (!(style == 3 && from == 3)) {
        const int dir = PerspectiveBoard::directoryOf(style);
        if (from == 0 || PerspectiveBoard::directoryOf(from) != dir) load(Image5->loadSquarePictures(m_core.programDir, dir));
        if (from != style) load(Image5->loadBackground(m_core.programDir, style));
    }
    m_lastPerspective = missing ? 0 : style;  // a failed load is tried again next time
    for (std::size_t i = 0; i < StyleItems.size(); ++i)
        if (QAction* a = findChild<QAction*>(StyleItems[i])) a->setChecked(static_cast<int>(i) == style);
    Jeuenaveugle1->setEnabled(true);
    m_style = style;
    showPerspective(true);
    Image5->paintBackground();
    repaintBoard();
    if (missing) m_host.showError("Impossible d'ouvrir ce fichier\n" + *missing);
}

// The perspective panel takes the flat board's place and its own clocks
// replace the player panels; the side column moves right to make room.
void TForm1::showPerspective(bool on) {
    if (!Panel10) return;
    QWidget* area = centralWidget();
    const bool shown = !Panel10->isHidden();
    if (on != shown) {
        if (on) {
            m_shifted.clear();
            for (QObject* child : area->children()) {
                QWidget* w = qobject_cast<QWidget*>(child);
                if (!w || w == Panel10 || w == Damier || w == Intro || w == Panel6 || w == Panel7 || w->isWindow()) continue;
                if (w->x() < SideLeft) continue;
                w->move(w->x() + SideShift, w->y());
                m_shifted.emplace_back(w);
            }
        } else {
            for (const QPointer<QWidget>& w : m_shifted)
                if (w) w->move(w->x() - SideShift, w->y());
            m_shifted.clear();
        }
        area->setFixedSize(WindowWidth + (on ? SideShift : 0), AreaHeight);
        Panel10->setVisible(on);
        Damier->setVisible(!on);
        Panel6->setVisible(!on);
        Panel7->setVisible(!on);
        adjustSize();
    }
    if (!on) {
        m_style = 0;
        // Blind play belongs to the perspective board.
        Jeuenaveugle1->setChecked(false);
        Image5->setBlind(false);
    }
}

// The perspective clocks and counters show what the player panels show;
// Black's sits at the top in the normal view, as its pieces do.
void TForm1::syncPanel10() {
    if (!Panel10) return;
    minnoir3d->setText(minnoir->text());
    secnoir3d->setText(secnoir->text());
    minblanc3d->setText(minblanc->text());
    secblanc3d->setText(secblanc->text());
    Nbn3d->setText(Nbpionsnoirs->text().trimmed());
    Nbb3d->setText(Nbpionsblancs->text().trimmed());
    N3D->setText(Nom_noir->text());
    B3D->setText(Nom_blanc->text());
    const bool inverted = m_core.game.inverted;
    Horlogenoir3d->move(Horlogenoir3d->x(), inverted ? ClockBottom : ClockTop);
    Horlogeblanc3d->move(Horlogeblanc3d->x(), inverted ? ClockTop : ClockBottom);
}

// A press on the perspective board is turned into the flat board's pixel
// of the same place and handled as a press there.
void TForm1::DamierImage1Click(int x, int y) {
    if (!m_introDone) return;
    const game::GameState& g = m_core.game;
    if (g.engineToMove && (g.ratedGame == game::RatedState::InProgress || !g.options.stopByClick)) return;
    if (Image5->blind()) Image5->paintBackground();
    const std::optional<int> place = PerspectiveBoard::placeAt(x, y);
    if (!place) return;
    const QPoint flat = PerspectiveBoard::flatBoardClick(*place);
    clic(flat.x(), flat.y());
}

// The mark has already flipped when the handler runs.
void TForm1::Jeuenaveugle1Click() {
    if (m_style == 0) {
        Jeuenaveugle1->setChecked(false);
        return;
    }
    if (Jeuenaveugle1->isChecked()) {
        Image5->setBlind(true);
        Image5->paintBackground();
        // The engine can no longer be stopped by a press on the board.
        if (QAction* a = findChild<QAction*>("Arretrflexionparclicsouris1")) a->setChecked(false);
        m_core.game.options.stopByClick = false;
    } else {
        Image5->setBlind(false);
        repaintBoard();
    }
}

void TForm1::Editerlimagefichierbmp1Click() {
    QString path = m_pathDialog(true, QString::fromStdString(m_core.programDir.string()), QStringLiteral("Picture (*.bmp)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".bmp");
    // The board as shown: the flat board's picture when it is the one in use.
    const QImage& picture = m_style == 0 ? Damier->canvas() : Image5->canvas();
    if (!picture.save(path, "BMP")) m_host.showError("Impossible d'ouvrir ce fichier");
}

// ---------------------------------------------------------------------------
// About and help

void TForm1::Apropos1Click() {
    Panel8->show();
    Panel8->raise();
}

void TForm1::BitBtn6Click() {
    Panel8->hide();
    if (m_introDone) repaintBoard();
}

// Each language has its own pages; a page missing in a language falls back
// to the English one.
void TForm1::Guide1Click() {
    static const std::array<const char*, 6> pages = {"Tavolex.html",   "Tavolex_e.html",  "Tavolex_n.html",
                                                     "Tavolex_p.html", "Tavolex_es.html", "Tavolex_i.html"};
    showHelp(QString::fromLatin1(pages[static_cast<std::size_t>(checkedLanguage(this))]));
}

void TForm1::Rgles1Click() {
    static const std::array<const char*, 6> pages = {"RTavolex_f.html", "RTavolex_e.html",  "RTavolex_n.html",
                                                     "RTavolex_p.html", "RTavolex_es.html", "RTavolex_i.html"};
    showHelp(QString::fromLatin1(pages[static_cast<std::size_t>(checkedLanguage(this))]));
}

void TForm1::showHelp(const QString& page) {
    const std::filesystem::path folder = files::resolveInFolder(m_core.programDir, "Aide");
    const QDir dir(QString::fromStdString(folder.string()));
    if (m_help->showPage(dir.filePath(page))) return;
    const QString english = page.startsWith('R') ? QStringLiteral("RTavolex_e.html") : QStringLiteral("Tavolex_e.html");
    if (!m_help->showPage(dir.filePath(english))) m_host.showError("Impossible d'ouvrir ce fichier\n" + page.toStdString());
}

// ---------------------------------------------------------------------------
// Parameters

void TForm1::Changer1Click() {
    Form5->show();
    Form5->raise();
    Form5->fillParameterEditor(m_core.eval.params);
}

void TForm1::parametreOKClick() {
    Form5->hide();
    Form5->readParameterEditor(m_core.eval.params);
}

// Nothing is copied back: the boxes are filled afresh at the next opening.
void TForm1::parametrecancelClick() { Form5->hide(); }

void TForm1::Sauverlesparamtres1Click() {
    const std::filesystem::path folder = files::resolveInFolder(m_core.programDir, "Parametres");
    QString path = m_pathDialog(true, QString::fromStdString(folder.string()), QStringLiteral("parameters (*.par)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".par");
    eval::saveParameters(m_core.eval, &m_host, QFile::encodeName(path).toStdString());
}

void TForm1::Chargerdesparamtres1Click() {
    const std::filesystem::path folder = files::resolveInFolder(m_core.programDir, "Parametres");
    const QString path = m_pathDialog(false, QString::fromStdString(folder.string()), QStringLiteral("parameters (*.par)"));
    if (path.isEmpty()) return;
    eval::loadParameters(m_core.eval, &m_host, QFile::encodeName(path).toStdString());
}

// ---------------------------------------------------------------------------
// Languages

void TForm1::Button6Click() { selectLanguage(1); }
void TForm1::Button7Click() { selectLanguage(2); }
void TForm1::Button2Click() { selectLanguage(3); }
void TForm1::Button8Click() { selectLanguage(4); }
void TForm1::Button1AClick() { selectLanguage(5); }

int TForm1::interfaceLanguage() const { return checkedLanguage(this); }

QString TForm1::runText(captions::Text which) const { return captions::text(which, interfaceLanguage()); }

// The window caption, the start panel while it shows, then the caption set.
void TForm1::selectLanguage(int language) {
    if (language < 0 || language >= captions::NumLanguages) language = 0;
    setWindowTitle(QString::fromUtf8(captions::windowTitle()[static_cast<std::size_t>(language)]));
    if (!m_introDone) captions::apply(Intro, captions::startPanel(), language);
    applyCaptionSet(language);
}

// Only texts change: the mark of the language's item, every caption of the
// set, and the texts chosen at run time that are showing now.
void TForm1::applyCaptionSet(int language) {
    for (std::size_t i = 0; i < LanguageItems.size(); ++i)
        if (QAction* a = findChild<QAction*>(LanguageItems[i])) a->setChecked(static_cast<int>(i) == language);
    captions::applyAll(this, language);
    if (m_introDone) Nbcoups3d->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
    if (m_core.game.ratedGame == game::RatedState::InProgress) Panel11->setText(runText(captions::Text::RatedGame));
    if (const QVariant message = qui_gagne->property("endMessage"); message.isValid())
        qui_gagne->setText(captions::endMessage(static_cast<game::EndMessage>(message.toInt()),
                                                qui_gagne->property("winner").toString(), language));
    if (Bas_Haut) refreshSetupCaptions();
}

}  // namespace ui

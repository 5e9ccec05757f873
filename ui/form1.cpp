#include "ui/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

#include "files/program_folder.h"
#include "files/setup.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "game/engine_turn.h"
#include "game/navigation.h"
#include "rules/move_input.h"
#include "ui/flat_board.h"
#include "ui/widgets.h"

namespace ui {

namespace {

constexpr int WindowWidth = 800;
constexpr int AreaHeight = 572;  // below the menu bar, within an 800 x 600 screen
constexpr int SideLeft = 528;
constexpr int SideWidth = 264;
// The player panels' places beside the flat board, top and bottom.
constexpr int PanelTop = 8;
constexpr int PanelBottom = 428;

enum ItemFlag : unsigned {
    Checkable = 1,
    Checked = 2 | Checkable,
    Disabled = 4,  // its work is not in the program yet
    Hidden = 8,
};

QAction* addItem(QMenu* menu, const char* name, const char* caption, const char* key = nullptr, unsigned flags = 0) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (key) a->setShortcut(QKeySequence(QString::fromLatin1(key)));
    a->setCheckable(flags & Checkable);
    a->setChecked((flags & Checked) == Checked);
    a->setEnabled(!(flags & Disabled));
    a->setVisible(!(flags & Hidden));
    return a;
}

QMenu* addMenu(QWidget* parent, QMenuBar* bar, const char* name, const char* caption) {
    QMenu* m = new QMenu(QString::fromUtf8(caption), parent);
    m->setObjectName(QString::fromLatin1(name));
    bar->addMenu(m);
    return m;
}

QMenu* addSubMenu(QMenu* menu, const char* name, const char* caption) {
    QMenu* m = menu->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    QLabel* l = named(new QLabel(text, parent), name);
    l->setGeometry(geometry);
    return l;
}

QColor colourOf(rules::FrameColour c) {
    const rules::Rgb rgb = rules::frameRgb(c);
    return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace

TForm1::TForm1(std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent), m_host(this, programDir) {
    setObjectName("TForm1");
    setWindowTitle(QString::fromUtf8("Tavolex 3D, le jeu"));
    m_core.host = &m_host;
    m_core.programDir = std::move(programDir);
    m_opsTimer = new QTimer(this);
    m_opsTimer->setSingleShot(true);
    connect(m_opsTimer, &QTimer::timeout, this, &TForm1::continueOps);

    QWidget* area = new QWidget(this);
    area->setObjectName("Area");
    area->setFixedSize(WindowWidth, AreaHeight);
    setCentralWidget(area);

    m_fileDialog = [this](const FileRequest& r) { return runFileDialog(this, r); };

    buildMenus();
    buildBoardSide();
    buildOverlays();
    buildFilePanels();
    buildSetupGroup();
    buildIntro();
    buildLook();
    buildEngine();
    buildPlayers();
    buildBooks();
    readOptions();
}

// The worker goes first: no report of it may arrive at a window being taken
// apart.
TForm1::~TForm1() { m_worker.reset(); }

// The command table. Every command is present with its caption, shortcut
// and initial check mark; those whose work is not in the program yet are
// disabled rather than pretending to work.
void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    Fichier1 = addMenu(this, bar, "Fichier1", "Fichier");
    addItem(Fichier1, "Nouveau2", "Nouveau", "Ctrl+N");
    Humaincontrehumain1 = addItem(Fichier1, "Humaincontrehumain1", "Humain contre humain", "Ctrl+H", Checkable);
    addItem(Fichier1, "Ordinateurcontreordinateur1", "Ordinateur contre ordinateur", "Ctrl+C", Checkable | Disabled);
    Sauver1 = addItem(Fichier1, "Sauver1", "Sauver", "Ctrl+S");
    Ouvrir1 = addItem(Fichier1, "Ouvrir1", "Ouvrir", "Ctrl+O");
    Problmes1 = addItem(Fichier1, "Problmes1", "Leçons, exercices et problèmes", "Ctrl+L");
    Installeruneposition1 = addItem(Fichier1, "Installeruneposition1", "Installer une position", "Ctrl+I");
    Imprimer1 = addItem(Fichier1, "Imprimer1", "Imprimer", "Ctrl+P");
    Crerunfichiertexte1 = addItem(Fichier1, "Crerunfichiertexte1", "Créer un fichier texte", "Ctrl+T");
    Ouvrirunfichiertexte1 = addItem(Fichier1, "Ouvrirunfichiertexte1", "Ouvrir un fichier texte", "Ctrl+F");
    addItem(Fichier1, "OuvrirunfichierVOG1", "Ouvrir un fichier VOG", "Ctrl+V", Disabled | Hidden);
    addItem(Fichier1, "Editerlimagefichierbmp1", "Editer l'image (fichier Bitmap)", "Ctrl+E", Disabled);
    Fichier1->addSeparator();
    Quitter1 = addItem(Fichier1, "Quitter1", "Quitter", "Alt+X");

    Edition1 = addMenu(this, bar, "Edition1", "Edition");
    Reprendrecoups1 = addItem(Edition1, "Reprendrecoups1", "Reprendre coups", "F1");
    Avancercoups1 = addItem(Edition1, "Avancercoups1", "Avancer coups", "F2");
    Reveniraudebut1 = addItem(Edition1, "Reveniraudebut1", "Revenir au début", "Ctrl+F1");
    Allerlafin1 = addItem(Edition1, "Allerlafin1", "Aller à la fin", "Ctrl+F2");

    Affichage1 = addMenu(this, bar, "Affichage1", "Affichage");
    Damier2D1 = addItem(Affichage1, "Damier2D1", "Damier 2D jaune", nullptr, Checkable);
    // The perspective boards.
    addItem(Affichage1, "Damier3D1", "Classique", nullptr, Checked | Disabled);
    addItem(Affichage1, "Damier3D4", "Copacabana", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D2", "Nuit", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D3", "Luxe", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D5", "Ipanema", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D6", "Inferno", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D7", "Grand luxe", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Damier3D8", "Salvador da Bahia", nullptr, Checkable | Disabled);
    addItem(Affichage1, "Naturemortelarglejeu1", "Nature morte à la règle du jeu", nullptr, Disabled | Hidden);
    Affichage1->addSeparator();
    Inverserdamier1 = addItem(Affichage1, "Inverserdamier1", "Inverser damier", "F3");

    // Players and the new-game modes.
    Joueurs1 = addMenu(this, bar, "Joueurs1", "Joueurs");
    addItem(Joueurs1, "Match21", "Nouveau joueur");
    addItem(Joueurs1, "Effacerunjoueur1", "Effacer un joueur");
    addItem(Joueurs1, "Inverserlesjoueurs1", "Inverser les joueurs", "F4");
    addItem(Joueurs1, "Changerlesnoms1", "Changer les noms");

    // Playing levels, with the engine.
    Niveau1 = addMenu(this, bar, "Niveau1", "Niveau");
    const char* levels[][2] = {
        {"Dbutant1", "0 : Néophyte"},       {"Niveau01", "1 : Débutant"},      {"Niveau02", "2 : Amateur"},
        {"Niveau03", "3 : Promotion"},      {"Niveau04", "4 : Honneur"},       {"Niveau05", "5 : Excellence"},
        {"Niveau06", "6 : Maître"},         {"Niveau07", "7 : Grand Maître"},  {"Niveau081", "8 : Grand Maître International"},
    };
    for (const auto& l : levels) addItem(Niveau1, l[0], l[1], nullptr, Checkable | Disabled);
    QMenu* special = addSubMenu(Niveau1, "XSpcial1", "X : Spécial");
    const char* timed[][2] = {
        {"N150coupsen3mn1", "1 : 30 coups en 3 mn"}, {"N250coupsen5mn1", "2 : 30 coups en 5 mn"},
        {"N350coupsen10mn1", "3 : 30 coups en 10 mn"}, {"N450coupsen30mn1", "4 : 30 coups en 30 mn"},
        {"N550coupsen1h1", "5 : 30 coups en 1 h"},   {"N650coupsen2h1", "6 : 30 coups en 2 h"},
        {"N7longlong1", "7 : long, long"},           {"N8Autre1", "Autre"},
    };
    for (const auto& l : timed) addItem(special, l[0], l[1], nullptr, Checkable | Disabled);

    // Opening libraries and evaluation parameters.
    Ouvertures1 = addMenu(this, bar, "Ouvertures1", "Paramétrage");
    Bibliothquesactives1 = addItem(Ouvertures1, "Bibliothquesactives1", "Bibliothèques actives", nullptr, Checked | Disabled);
    addItem(Ouvertures1, "Changerbibliothqueouvertures1", "Changer bibliothèque ouvertures", nullptr, Disabled);
    addItem(Ouvertures1, "Ouverturespourlesblancs1", "Ouvertures pour les blancs", nullptr, Disabled | Hidden);
    addItem(Ouvertures1, "Ouverturespourlesnoirs1", "Ouvertures pour les noirs", nullptr, Disabled | Hidden);
    addItem(Ouvertures1, "Changer1", "Modifier les paramètres", nullptr, Disabled | Hidden);
    addItem(Ouvertures1, "Sauverlesparamtres1", "Sauver les paramètres", nullptr, Disabled | Hidden);
    addItem(Ouvertures1, "Chargerdesparamtres1", "Charger des paramètres", nullptr, Disabled);

    Analyse2 = addMenu(this, bar, "Analyse2", "Analyse");
    addItem(Analyse2, "Analyser1", "Débuter une analyse");
    // Enabled while an analysis is under way.
    addItem(Analyse2, "Arrtercettephase1", "Arrêter cette phase", nullptr, Disabled);
    addItem(Analyse2, "Terminerlanalyse1", "Terminer l'analyse", nullptr, Disabled);

    Apprentissage1 = addMenu(this, bar, "Apprentissage1", "Apprentissage");
    addItem(Apprentissage1, "Lancerunesession1", "Lancer une session", nullptr, Disabled);
    addItem(Apprentissage1, "Arrterlasession1", "Arrêter la session", nullptr, Disabled);
    addItem(Apprentissage1, "Chargerdesleons1", "Charger des leçons", nullptr, Disabled);

    Options1 = addMenu(this, bar, "Options1", "Options");
    Numeroterlescases1 = addItem(Options1, "Numeroterlescases1", "Numéroter les cases", nullptr, Checkable);
    Alphabeticalnumber1 = addItem(Options1, "Alphabeticalnumber1", "Alphabetical number", nullptr, Disabled);
    addItem(Options1, "Arrtducalcul1", "Arrêt du calcul", nullptr, Disabled);
    addItem(Options1, "Horlogeszro1", "Horloges à zéro", nullptr, Disabled);
    addItem(Options1, "Pause2", "Pause", nullptr, Checkable | Disabled);
    addItem(Options1, "Rflexionsurtempsadverse1", "Réflexion sur temps adverse", nullptr, Checked | Disabled);
    addItem(Options1, "Arretrflexionparclicsouris1", "Arret réflexion par clic souris", nullptr, Checked | Disabled);
    addItem(Options1, "Indicationdesmouvements1", "Indication des mouvements", nullptr, Checked | Disabled);
    Dcomposerlesprises1 = addItem(Options1, "Dcomposerlesprises1", "Décomposer les prises", nullptr, Checked);
    QMenu* sounds = addSubMenu(Options1, "Sons1", "Sons");
    addItem(sounds, "Bipchaquecoup2", "Bip à chaque coup", nullptr, Checked | Disabled);
    addItem(sounds, "Commentaires1", "Autres", nullptr, Checked | Disabled);
    Jeuenaveugle1 = addItem(Options1, "Jeuenaveugle1", "Jeu en aveugle", nullptr, Checkable | Disabled);
    QMenu* tables = addSubMenu(Options1, "Tailledestablesdetransposition1", "Taille des tables de transposition");
    const char* sizes[][2] = {{"N0Mo1", "0 Mo"}, {"N07Mo1", "0,7 Mo"}, {"N15Mo1", "1,5Mo"}, {"N3Mo1", "3Mo"},
                              {"N5Mo1", "5Mo"},  {"N10Mo1", "10Mo"},   {"N15Mo2", "15Mo"},   {"N30Mo1", "25Mo"}};
    for (const auto& s : sizes)
        addItem(tables, s[0], s[1], nullptr, (std::string_view(s[0]) == "N15Mo1" ? Checked : Checkable) | Disabled);

    Aide1 = addMenu(this, bar, "Aide1", "Aide");
    addItem(Aide1, "Guide1", "Documentation", nullptr, Disabled);
    addItem(Aide1, "Rgles1", "Règles", nullptr, Disabled);
    addItem(Aide1, "Apropos1", "A propos...", nullptr, Disabled);
    QMenu* languages = addSubMenu(Aide1, "Idioma1", "Idioma/Langue/Language/Taal");
    addItem(languages, "Portugues1", "Portugues", nullptr, Checkable | Disabled);
    Franais1 = addItem(languages, "Franais1", "Français", nullptr, Checked);
    addItem(languages, "English1", "English", nullptr, Checkable | Disabled);
    addItem(languages, "Nederlands1", "Nederlands", nullptr, Checkable | Disabled);
    addItem(languages, "Espanol1", "Español", nullptr, Checkable | Disabled);
    addItem(languages, "Italiano1", "Italiano", nullptr, Checkable | Disabled);

    connect(Humaincontrehumain1, &QAction::triggered, this, &TForm1::Ordinateur);
    connect(Quitter1, &QAction::triggered, this, &TForm1::quitter);
    connect(Sauver1, &QAction::triggered, this, &TForm1::save);
    connect(Ouvrir1, &QAction::triggered, this, &TForm1::ouvre);
    connect(Problmes1, &QAction::triggered, this, &TForm1::Problmes1Click);
    connect(Installeruneposition1, &QAction::triggered, this, &TForm1::Installeruneposition1Click);
    connect(Imprimer1, &QAction::triggered, this, &TForm1::Imprimer1Click);
    connect(Crerunfichiertexte1, &QAction::triggered, this, &TForm1::Crerunfichiertexte1Click);
    connect(Ouvrirunfichiertexte1, &QAction::triggered, this, &TForm1::Ouvrirunfichiertexte1Click);
    connect(Reprendrecoups1, &QAction::triggered, this, &TForm1::reprise);
    connect(Avancercoups1, &QAction::triggered, this, &TForm1::avancer);
    connect(Reveniraudebut1, &QAction::triggered, this, &TForm1::revenir_debut);
    connect(Allerlafin1, &QAction::triggered, this, &TForm1::Aller_fin);
    connect(Damier2D1, &QAction::triggered, this, &TForm1::Damier2D1Click);
    connect(Inverserdamier1, &QAction::triggered, this, &TForm1::Inverser);
    connect(Numeroterlescases1, &QAction::triggered, this, &TForm1::numerotation);
    connect(Dcomposerlesprises1, &QAction::triggered, this, &TForm1::Dcomposerlesprises1Click);
    connect(Franais1, &QAction::triggered, this, &TForm1::Button5Click);

    // While the start panel shows, only the help menu is there.
    for (QMenu* m : {Fichier1, Edition1, Affichage1, Joueurs1, Niveau1, Ouvertures1, Options1, Analyse2, Apprentissage1})
        m->menuAction()->setVisible(false);
}

void TForm1::buildBoardSide() {
    QWidget* area = centralWidget();
    Damier = new FlatBoard(area);
    Damier->move(0, 0);
    connect(Damier, &FlatBoard::pressed, this, &TForm1::clic);

    QFont clockFont = font();
    clockFont.setPixelSize(26);
    clockFont.setBold(true);
    QFont nameFont = font();
    nameFont.setPixelSize(15);
    nameFont.setBold(true);
    auto playerPanel = [&](const char* name, QLabel*& minutes, QLabel*& seconds, QLabel*& count, QLabel*& who,
                           const char* minName, const char* secName, const char* countName, const char* whoName,
                           QColor tone) {
        QFrame* panel = named(new QFrame(area), name);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setLineWidth(2);
        panel->setGeometry(SideLeft, PanelTop, SideWidth, 84);
        panel->setAutoFillBackground(true);
        QPalette pal = panel->palette();
        pal.setColor(QPalette::Window, tone);
        pal.setColor(QPalette::WindowText, tone.lightness() > 128 ? Qt::black : Qt::white);
        panel->setPalette(pal);
        who = label(panel, whoName, QString(), QRect(10, 6, 244, 22));
        who->setFont(nameFont);
        minutes = label(panel, minName, "0", QRect(10, 36, 44, 34));
        minutes->setFont(clockFont);
        minutes->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QLabel* colon = label(panel, "", ":", QRect(56, 36, 10, 34));
        colon->setFont(clockFont);
        seconds = label(panel, secName, "00", QRect(68, 36, 44, 34));
        seconds->setFont(clockFont);
        QLabel* piecesCaption = label(panel, "", QString::fromUtf8("Pièces"), QRect(124, 44, 76, 22));
        piecesCaption->setObjectName(QStringLiteral("Label_pieces_") + QString::fromLatin1(name));
        piecesCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        count = label(panel, countName, " 12", QRect(204, 36, 50, 34));
        count->setFont(clockFont);
        return panel;
    };
    Panel6 = playerPanel("Panel6", minnoir, secnoir, Nbpionsnoirs, Nom_noir, "minnoir", "secnoir", "Nbpionsnoirs",
                         "Nom_noir", QColor(58, 46, 42));
    Panel7 = playerPanel("Panel7", minblanc, secblanc, Nbpionsblancs, Nom_blanc, "minblanc", "secblanc",
                         "Nbpionsblancs", "Nom_blanc", QColor(242, 232, 208));

    Onglet = named(new QTabWidget(area), "Onglet");
    Onglet->setGeometry(SideLeft, 98, SideWidth, 324);
    Liste = named(new QWidget, "Liste");
    Calcul = named(new QWidget, "Calcul");
    Probleme0 = named(new QWidget, "Probleme0");
    Onglet->addTab(Liste, QString::fromUtf8("Coups joués"));
    Onglet->addTab(Calcul, QString::fromUtf8("Calcul"));
    Onglet->addTab(Probleme0, QString::fromUtf8("Probleme"));
    m_shownPage = Liste;
    connect(Onglet, &QTabWidget::currentChanged, this, &TForm1::pageChanged);

    ListBox1 = named(new QListWidget(Liste), "ListBox1");
    ListBox1->setGeometry(4, 4, SideWidth - 14, 200);
    ListBox1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { revenir_n(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) { m_core.game.selectedLine = row; });
    struct Speed {
        const char* name;
        const char* text;
        const char* hint;
        void (TForm1::*handler)();
    };
    const Speed speeds[] = {
        {"SpeedButton1", "|\u25C0", "Revenir au début", &TForm1::revenir_debut},
        {"SpeedButton2", "\u25C0", "Reculer d'un coup", &TForm1::reprise},
        {"SpeedButton3", "\u25B6", "Avancer d'un coup", &TForm1::avancer},
        {"SpeedButton4", "\u25B6|", "Aller à la fin", &TForm1::Aller_fin},
        {"SpeedButton5", "\u21C5", "Inverser le damier", &TForm1::Inverser},
    };
    int x = 4;
    for (const Speed& s : speeds) {
        QToolButton* b = named(new QToolButton(Liste), s.name);
        b->setText(QString::fromUtf8(s.text));
        b->setToolTip(QString::fromUtf8(s.hint));
        b->setGeometry(x, 208, 44, 28);
        connect(b, &QToolButton::clicked, this, s.handler);
        x += 48;
    }
    // The problems' two buttons, shown once a problem has been opened.
    Panel13 = named(new QPushButton(QStringLiteral("Suivant ->"), Liste), "Panel13");
    Panel13->setGeometry(4, 240, 122, 26);
    Panel13->hide();
    connect(Panel13, &QPushButton::clicked, this, &TForm1::Button1Click);
    Panel14 = named(new QPushButton(QStringLiteral("Revoir coup"), Liste), "Panel14");
    Panel14->setGeometry(130, 240, 122, 26);
    Panel14->hide();
    connect(Panel14, &QPushButton::clicked, this, &TForm1::Panel14Click);
    Abandon1 = named(new QPushButton(QStringLiteral("Abandonner"), Liste), "Abandon1");
    Abandon1->setGeometry(4, 268, 120, 24);
    Abandon1->hide();  // rated games only

    ListBox2 = named(new QListWidget(Calcul), "ListBox2");
    ListBox2->setGeometry(4, 4, SideWidth - 14, 150);
    ListBox5 = named(new QListWidget(Calcul), "ListBox5");
    ListBox5->setGeometry(4, 158, SideWidth - 14, 80);
    Joue = named(new QPushButton(QString::fromUtf8("Arrêter le calcul"), Calcul), "Joue");
    Joue->setGeometry(4, 242, 124, 26);
    Joue->setEnabled(false);
    Button9 = named(new QPushButton(QStringLiteral("Editer coups"), Calcul), "Button9");
    Button9->setGeometry(132, 242, 118, 26);
    Button9->setEnabled(false);
    Abandon2 = named(new QPushButton(QStringLiteral("Abandonner"), Calcul), "Abandon2");
    Abandon2->setGeometry(4, 272, 120, 24);
    Abandon2->hide();

    // Below the board: the capture labels, the draw offer, the move number, the mode.
    QFont strong = font();
    strong.setPixelSize(14);
    strong.setBold(true);
    Prise = label(area, "Prise", QStringLiteral("Prise"), QRect(20, 528, 50, 24));
    obligatoire = label(area, "obligatoire", QStringLiteral("obligatoire"), QRect(72, 528, 90, 24));
    majoritaire = label(area, "majoritaire", QStringLiteral("majoritaire"), QRect(164, 528, 100, 24));
    for (QLabel* l : {Prise, obligatoire, majoritaire}) {
        l->setFont(strong);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(190, 0, 0));
        l->setPalette(pal);
        l->hide();
    }
    Proposernul = named(new QPushButton(QStringLiteral("Proposer nul"), area), "Proposernul");
    Proposernul->setGeometry(284, 526, 112, 30);
    connect(Proposernul, &QPushButton::clicked, this, &TForm1::ProposernulClick);
    Nulrefus = named(new QPushButton(QString::fromUtf8("Nul refusé"), area), "Nulrefus");
    Nulrefus->setGeometry(402, 526, 112, 30);
    Nulrefus->hide();
    connect(Nulrefus, &QPushButton::clicked, this, &TForm1::ProposernulClick);
    Nbcoups3d = label(area, "Nbcoups3d", QStringLiteral("Coups 1"), QRect(SideLeft + 4, 528, 110, 24));
    Nbcoups3d->setFont(strong);
    Panel11 = label(area, "Panel11", QString::fromUtf8("Entraînement"), QRect(SideLeft + 120, 528, 140, 24));
    Panel11->setFont(strong);
    Panel11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TForm1::buildOverlays() {
    QWidget* area = centralWidget();
    QFont big = font();
    big.setPixelSize(20);
    big.setBold(true);

    // Wide enough for the longest result in any language on one line, and
    // room for a second line should a name make it longer.
    fin_de_parties = overlay(area, "fin_de_parties", QRect(60, 180, 400, 170));
    qui_gagne = label(fin_de_parties, "qui_gagne", QString(), QRect(10, 10, 380, 56));
    qui_gagne->setFont(big);
    qui_gagne->setAlignment(Qt::AlignCenter);
    qui_gagne->setWordWrap(true);
    Resultat_blanc = label(fin_de_parties, "Resultat_blanc", QString(), QRect(10, 72, 380, 20));
    Resultat_noir = label(fin_de_parties, "Resultat_noir", QString(), QRect(10, 94, 380, 20));
    BitBtn13 = named(new QPushButton(QStringLiteral("OK"), fin_de_parties), "BitBtn13");
    BitBtn13->setGeometry(160, 126, 80, 30);
    connect(BitBtn13, &QPushButton::clicked, this, &TForm1::BitBtn13Click);

    Match_nul = overlay(area, "Match_nul", QRect(100, 190, 320, 150));
    label(Match_nul, "Label30", QStringLiteral("Tavolex propose le match nul"), QRect(10, 16, 300, 28))
        ->setAlignment(Qt::AlignCenter);
    label(Match_nul, "Label31", QStringLiteral("Appuyez sur OK pour accepter"), QRect(10, 48, 300, 24))
        ->setAlignment(Qt::AlignCenter);
    BitBtn14 = named(new QPushButton(QStringLiteral("OK"), Match_nul), "BitBtn14");
    BitBtn14->setGeometry(60, 100, 90, 30);
    Annul_nul = named(new QPushButton(QStringLiteral("Annuler"), Match_nul), "Annul_nul");
    Annul_nul->setGeometry(170, 100, 90, 30);
    connect(BitBtn14, &QPushButton::clicked, this, &TForm1::BitBtn14Click);
    connect(Annul_nul, &QPushButton::clicked, this, &TForm1::Annul_nulClick);
}

void TForm1::buildIntro() {
    Intro = overlay(centralWidget(), "Intro", QRect(0, 0, WindowWidth, AreaHeight));
    Intro->setFrameShape(QFrame::NoFrame);
    QPalette pal = Intro->palette();
    pal.setColor(QPalette::Window, QColor(72, 44, 24));
    pal.setColor(QPalette::WindowText, QColor(250, 236, 200));
    Intro->setPalette(pal);

    QFont title = font();
    title.setPixelSize(64);
    title.setBold(true);
    QLabel* name = label(Intro, "Titre", QStringLiteral("TAVOLEX"), QRect(0, 30, WindowWidth, 80));
    name->setFont(title);
    name->setAlignment(Qt::AlignCenter);
    QFont sub = font();
    sub.setPixelSize(18);
    QLabel* what = label(Intro, "Version", QString::fromUtf8("Jeu de dames brésiliennes — version %1").arg(QStringLiteral("0.1.0")),
                         QRect(0, 110, WindowWidth, 28));
    what->setFont(sub);
    what->setAlignment(Qt::AlignCenter);

    // The board styles: the flat board, then the eight perspective styles.
    const char* styles[][2] = {
        {"Intro2D", "Damier 2D jaune"},      {"IntroClassique", "Classique"}, {"IntroNuit", "Nuit"},
        {"IntroLuxe", "Luxe"},                {"IntroCopacabana", "Copacabana"}, {"IntroIpanema", "Ipanema"},
        {"IntroInferno", "Inferno"},          {"IntroGrandluxe", "Grand luxe"},
        {"IntroSalvador", "Salvador da Bahia"},
    };
    int i = 0;
    for (const auto& s : styles) {
        QPushButton* b = named(new QPushButton(QString::fromUtf8(s[1]), Intro), s[0]);
        const int col = i % 3, row = i / 3;
        b->setGeometry(130 + 184 * col, 170 + 46 * row, 172, 38);
        if (i == 0) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
            connect(b, &QPushButton::clicked, this, &TForm1::Damier2D1Click);
        } else {
            b->setEnabled(false);  // the perspective boards are not drawn yet
        }
        ++i;
    }

    const char* languages[][2] = {{"Button5", "Français"},   {"Button6", "English"}, {"Button7", "Nederlands"},
                                  {"Button2", "Portugues"},  {"Button8", "Español"}, {"Button1A", "Italiano"}};
    i = 0;
    for (const auto& l : languages) {
        QPushButton* b = named(new QPushButton(QString::fromUtf8(l[1]), Intro), l[0]);
        b->setGeometry(130 + 92 * i, 336, 86, 30);
        if (i == 0)
            connect(b, &QPushButton::clicked, this, &TForm1::Button5Click);
        else
            b->setEnabled(false);  // the other languages' texts are not written yet
        ++i;
    }

    QLabel* advice = label(Intro, "Conseil",
                           QString::fromUtf8("Si l'image déborde de l'écran, votre écran n'est pas réglé en Super VGA (800x600)"),
                           QRect(40, 400, WindowWidth - 80, 40));
    advice->setAlignment(Qt::AlignCenter);
    advice->setWordWrap(true);
    Intro->show();
    Intro->raise();
}

void TForm1::readOptions() {
    game::GameOptions& o = m_core.game.options;
    o.humanVsHuman = Humaincontrehumain1->isChecked();
    o.decomposeCaptures = Dcomposerlesprises1->isChecked();
    o.selfPlay = Ordinateurcontreordinateur1->isChecked();
    o.stopByClick = Arretrflexionparclicsouris1->isChecked();
    o.beepEachMove = Bipchaquecoup2->isChecked();
    o.otherSounds = Commentaires1->isChecked();
    m_core.engine.level.ponderOnPersonTime = Rflexionsurtempsadverse1->isChecked();
}

// Step by step as the program starts; the steps whose subsystems are not
// in the program yet (search tables and keys, opening books, learned
// positions, evaluation parameters, endgame databases) have nothing to do.
void TForm1::Introduction() {
    if (!startEngine()) {
        std::puts("Erreur allocation Hash tables");
        std::exit(1);
    }
    loadBooks();
    // The pictures of the flat board.
    if (const auto missing = Damier->loadPictures(m_core.programDir)) {
        m_host.showError("Impossible d'ouvrir ce fichier\n" + *missing);
    }
    // The starting position (remplir).
    game::installPosition(m_core, rules::startingPosition(), rules::White);
    // The default options: the check marks of the command table; level
    // "5 : Excellence" with its search controls and the minutes setting 3.
    applyLevelSettings(files::GameSettings{});
    readOptions();
    for (QMenu* m : {Fichier1, Edition1, Affichage1, Joueurs1, Niveau1, Ouvertures1, Options1, Analyse2, Apprentissage1})
        m->menuAction()->setVisible(true);
    Alphabeticalnumber1->setVisible(false);
    Damier->setMenuShown(true);
    m_introDone = true;
}

void TForm1::Damier2D1Click() {
    const bool fromIntro = !m_introDone;
    if (fromIntro && !m_resumeRead) FormActivate();  // a window never activated reads it now
    if (fromIntro) Introduction();
    // Style selection: the flat board is the only style so far.
    for (QAction* a : Affichage1->actions())
        if (a->objectName().startsWith("Damier")) a->setChecked(a == Damier2D1);
    showPerspective(false);
    Jeuenaveugle1->setEnabled(false);
    repaintBoard();
    if (fromIntro) {
        Intro->hide();
        restoreResumeFile();
        refreshPlayers();
        refreshMoveList();
        requestPass();
    }
}

void TForm1::installPosition(const rules::Board& board, rules::Side side) {
    abandonThinking();
    finishOps();
    game::installPosition(m_core, board, side);
    fin_de_parties->hide();
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    requestPass();
}

void TForm1::Button5Click() { selectLanguage(0); }

void TForm1::repaintBoard() {
    Damier->setInverted(m_core.game.inverted);
    Damier->setNumbering(m_numbering);
    Damier->placer_pions(m_core.rules.gamePosition);
    placePlayerPanels();
    refreshCounts();
}

void TForm1::placePlayerPanels() {
    // Black sits at the top in the normal view, as its pieces do.
    const bool inverted = m_core.game.inverted;
    Panel6->move(SideLeft, inverted ? PanelBottom : PanelTop);
    Panel7->move(SideLeft, inverted ? PanelTop : PanelBottom);
}

void TForm1::refreshCounts() {
    const rules::PieceTotals t = rules::countPieces(m_core.rules.gamePosition);
    Nbpionsblancs->setText(QString::asprintf(" %2d", t.white()));
    Nbpionsnoirs->setText(QString::asprintf(" %2d", t.black()));
    syncPanel10();
}

void TForm1::refreshPlayers() {
    const game::GameState& g = m_core.game;
    Nom_blanc->setText(QString::fromLatin1(game::nameText(g.whiteName)));  // names are single-byte Latin-1
    Nom_noir->setText(QString::fromLatin1(game::nameText(g.blackName)));
    minblanc->setText(QString::number(g.whiteClock.minutes));
    secblanc->setText(QString::asprintf("%02d", g.whiteClock.seconds));
    minnoir->setText(QString::number(g.blackClock.minutes));
    secnoir->setText(QString::asprintf("%02d", g.blackClock.seconds));
    syncPanel10();
}

void TForm1::refreshMoveList() {
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    for (const std::string& line : m_core.game.moveList) ListBox1->addItem(QString::fromStdString(line));
    const int selected = m_core.game.selectedLine;
    if (selected >= 0 && selected < ListBox1->count()) {
        ListBox1->setCurrentRow(selected);
        ListBox1->scrollToItem(ListBox1->currentItem());
    } else {
        ListBox1->setCurrentRow(-1);
        ListBox1->clearSelection();
    }
}

void TForm1::showCaptureLabels(bool shown) {
    for (QLabel* l : {Prise, obligatoire, majoritaire}) l->setVisible(shown);
}

void TForm1::requestPass() {
    if (m_passQueued) return;
    m_passQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_passQueued = false;
        gameLoop();
    }, Qt::QueuedConnection);
}

// A pass runs when something happened: a move, a command, the engine's
// answer. It never waits: the engine thinks on its worker, animations run
// on a timer, and each of them asks for the next pass when it is done.
void TForm1::gameLoop() {
    // An analysis walks the record: the game waits until it is over. A move
    // being shown finishes first.
    if (!m_introDone || m_analysisRunning || m_animating || !m_worker) return;
    readOptions();
    const game::PassOutcome out = game::gameLoopPass(m_core);
    if (out.hideCaptureLabels) showCaptureLabels(false);
    // The mode display and the draw-offer button.
    const game::GameState& g = m_core.game;
    if (g.ratedGame == game::RatedState::None && !g.options.humanVsHuman) Panel11->setText(runText(captions::Text::Training));
    refreshMode();
    Proposernul->setVisible(true);
    Proposernul->setEnabled(true);
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(out.moveNumber));
    if (out.engineTurn) {
        // Thinking on the person's time gives way to the engine's own move.
        if (m_thinking == Thinking::PersonTime) abandonThinking();
        if (m_thinking == Thinking::None && !m_choosing) startEngineTurn();
    } else if (m_thinking == Thinking::None && !m_choosing && game::mayThinkOnPersonTime(m_core)) {
        // The person's turn: the engine may think on the person's time,
        // once, until the person moves or its own time is up.
        startThinkingOnPersonTime();
    }
    refreshTimer();
}

// The tick runs while a clock does, so that an idle window does nothing.
void TForm1::refreshTimer() {
    const game::GameState& g = m_core.game;
    if (g.clockRunning && !g.paused) {
        if (!Timer1->isActive()) Timer1->start();
    } else {
        Timer1->stop();
    }
}

void TForm1::clic(int x, int y) {
    if (!m_introDone || m_choosing || m_analysisRunning) return;
    const rules::Square square = rules::clickToSquare(x, y, m_core.game.inverted);
    if (m_core.game.setupMode) {
        // Setting up: the click puts the selected piece on a dark square at
        // once. No search runs in this mode, so nothing can be disturbed.
        if (m_animating) return;
        if (files::placePiece(m_core, square)) {
            repaintBoard();
            showEvaluation();
            requestPass();  // a placed piece ends a rated game: the mode display follows
        }
        return;
    }
    // The set-up page is shown but no set-up has begun: the board waits for
    // a set-up action, it takes no moves.
    if (Onglet->currentWidget() == Probleme0) return;
    Learn->hide();
    // While the engine thinks about its own move a click may stop it, so
    // that it plays at once; it is never taken as a move.
    if (m_thinking == Thinking::OwnMove) {
        if (game::clickStopsEngine(m_core) && m_worker) m_worker->stop();
        return;
    }
    // A move being shown is finished first; the click does not count.
    if (m_animating) return;
    // The person's click ends the engine's thinking on the person's time.
    if (m_thinking == Thinking::PersonTime) abandonThinking();
    personClick(game::handleBoardClick(m_core, square));
}

void TForm1::personClick(const game::PersonClick& click) {
    if (!click.handled) return;
    Nulrefus->setVisible(m_core.game.drawRefusedShown);
    refreshTimer();
    if (click.end && !click.movePlayed) {
        showEndOfGame(game::endOfGame(m_core, *click.end));
        return;
    }
    const bool played = click.movePlayed;
    // Captures due are announced at each selection and are no longer due
    // once the move is made or the piece let go.
    if (played || click.board.result == rules::ClickOutcome::Result::Deselected) showCaptureLabels(false);
    if (!played) {
        performOps(click.board.ops, false, {});
        refreshCounts();
        return;
    }
    refreshMoveList();
    refreshPlayers();
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
    const std::optional<game::EndReason> end = click.end;
    performOps(click.board.ops, true, [this, end] {
        refreshCounts();
        if (end) showEndOfGame(game::endOfGame(m_core, *end));
        requestPass();  // the engine's turn, or the other person's
    });
}

void TForm1::performOps(const std::vector<rules::ViewOp>& ops, bool played, std::function<void()> then) {
    finishOps();
    // A move just played is already on the working board. The frames that
    // go while it is being entered must not take the captured pieces with
    // them: those disappear only when the whole move is complete, so until
    // the last redraw the empty squares are those before the move.
    m_ops = ops;
    m_nextOp = 0;
    m_lastRedraw = ops.size();
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (ops[i].kind == rules::ViewOp::Kind::RedrawEmptySquares) m_lastRedraw = i;
    m_opsPlayed = played;
    m_boardBefore = rules::Board{};
    if (played) {
        const game::GameRecord& rec = m_core.game.record;
        const game::PlyRecord& e = rec.plies[static_cast<std::size_t>(std::max(0, rec.plyCounter - 1))];
        for (int s = 1; s <= rules::NumSquares; ++s) m_boardBefore[s] = e.squares[s - 1];
    }
    m_afterOps = std::move(then);
    m_animating = true;
    continueOps();
}

// Draws until the next pause, which a timer ends, or to the end.
void TForm1::continueOps() {
    while (m_nextOp < m_ops.size()) {
        const std::size_t i = m_nextOp++;
        const rules::ViewOp& op = m_ops[i];
        switch (op.kind) {
            case rules::ViewOp::Kind::DrawSquare:
                Damier->drawSquare(op.square, op.code);
                break;
            case rules::ViewOp::Kind::RedrawEmptySquares: {
                const rules::Board& board = m_opsPlayed && i != m_lastRedraw ? m_boardBefore : m_core.rules.gamePosition;
                for (int s = 1; s <= rules::NumSquares; ++s)
                    if (board[s] == rules::Empty) Damier->drawSquare(static_cast<rules::Square>(s), rules::Empty);
                break;
            }
            case rules::ViewOp::Kind::FrameSquare:
                Damier->frameSquare(op.square, colourOf(op.colour));
                break;
            case rules::ViewOp::Kind::ShowCaptureLabels:
                showCaptureLabels(true);
                break;
            case rules::ViewOp::Kind::Hold:
                if (m_hold) {
                    Damier->repaint();
                    m_hold(op.ms);
                    break;
                }
                m_opsTimer->start(op.ms);
                return;
        }
    }
    m_animating = false;
    std::function<void()> then = std::move(m_afterOps);
    m_afterOps = {};
    if (then) then();
}

void TForm1::finishOps() {
    if (!m_animating) return;
    m_opsTimer->stop();
    for (rules::ViewOp& op : m_ops)
        if (op.kind == rules::ViewOp::Kind::Hold) op.ms = 0;
    const auto hold = std::exchange(m_hold, [](int) {});
    continueOps();
    m_hold = hold;
}

void TForm1::showEndOfGame(const game::EndOfGame& end) {
    if (!end.processed) return;
    game::stopClocks(m_core);
    refreshTimer();
    // In the interface language; the label keeps the message and the winner
    // (Latin-1, as names are) so that another language can say it again.
    const QString winner = QString::fromLatin1(end.winnerName.data(), static_cast<qsizetype>(end.winnerName.size()));
    qui_gagne->setProperty("endMessage", static_cast<int>(end.message));
    qui_gagne->setProperty("winner", winner);
    qui_gagne->setText(captions::endMessage(end.message, winner, interfaceLanguage()));
    showRatingLines(end);
    if (end.showPanel) {
        fin_de_parties->show();
        fin_de_parties->raise();
    }
    // The end of a game stops self-play and lets clicks stop the engine again.
    Ordinateurcontreordinateur1->setChecked(m_core.game.options.selfPlay);
    Arretrflexionparclicsouris1->setEnabled(true);
    // A learning session analyses the game and goes on with the next.
    if (m_core.engine.learning.session) QTimer::singleShot(0, this, &TForm1::sessionStep);
}

void TForm1::BitBtn13Click() {
    fin_de_parties->hide();
    repaintBoard();
}

void TForm1::ProposernulClick() {
    if (!m_introDone) return;
    // The answer reads the engine's last value: while it thinks on the
    // person's time, the person's standing. An accepted draw ends the game,
    // and whatever the engine was thinking about with it.
    const bool accepted = game::acceptsDrawOffer(m_core);
    if (accepted) {
        abandonThinking();
        finishOps();
    }
    const auto end = game::ProposernulClick(m_core);
    Nulrefus->setVisible(m_core.game.drawRefusedShown);
    if (end) {
        repaintBoard();
        showEndOfGame(*end);
        requestPass();
    }
}

void TForm1::BitBtn14Click() {
    abandonThinking();
    finishOps();
    Match_nul->hide();
    m_core.game.drawOfferShown = false;
    showEndOfGame(game::endOfGame(m_core, game::EndReason::Draw));
}

void TForm1::Annul_nulClick() {
    Match_nul->hide();
    m_core.game.drawOfferShown = false;
}

void TForm1::Ordinateur() {
    abandonThinking();
    game::toggleTwoPeople(m_core);
    Humaincontrehumain1->setChecked(m_core.game.options.humanVsHuman);
    requestPass();
}

void TForm1::Dcomposerlesprises1Click() { readOptions(); }

// After a navigation command: the position, the move list's selection,
// the counts, names and clocks as restored.
void TForm1::afterNavigation() {
    showCaptureLabels(false);
    repaintBoard();
    refreshMoveList();
    refreshPlayers();
    Nbcoups3d->setText(runText(captions::Text::Moves).arg(m_core.game.record.plyCounter / 2 + 1));
    requestPass();
}

// Navigation first shows whatever move was being shown, and stops the
// engine: the game it was thinking about is no longer the one on the board.
bool TForm1::readyToNavigate() {
    if (!m_introDone || m_analysisRunning || m_choosing) return false;
    finishOps();
    abandonThinking();
    return true;
}

void TForm1::reprise() {
    if (!readyToNavigate()) return;
    game::reprise(m_core);
    afterNavigation();
}

void TForm1::avancer() {
    if (!readyToNavigate()) return;
    game::avancer(m_core);
    afterNavigation();
}

void TForm1::revenir_debut() {
    if (!readyToNavigate()) return;
    game::revenir_debut(m_core);
    afterNavigation();
}

void TForm1::Aller_fin() {
    if (!readyToNavigate()) return;
    game::Aller_fin(m_core);
    afterNavigation();
}

void TForm1::revenir_n() {
    const int line = ListBox1->currentRow();
    if (!readyToNavigate()) return;
    m_core.game.selectedLine = line;
    game::revenir_n(m_core);
    afterNavigation();
}

void TForm1::Inverser() {
    if (!m_introDone) return;
    finishOps();
    m_core.game.inverted = !m_core.game.inverted;
    rules::clearMoveEntry(m_core.rules);  // the frames of a selection go with the repaint
    repaintBoard();
}

void TForm1::numerotation() {
    finishOps();
    m_numbering = Numeroterlescases1->isChecked();
    if (m_introDone) repaintBoard();
}

void TForm1::quitter() {
    abandonThinking();
    finishOps();
    // The game and the settings go to the resume file, for the next start.
    // Before a board was chosen there is no game of the person's to keep.
    if (m_introDone) {
        const std::filesystem::path resume = files::resolveInFolder(m_core.programDir, "last32.dam");
        if (!files::saveGame(m_core, resume.string(), activeSettings())) showFileError();
    }
    close();
}

// Closing the window ends the program, except during a rated game.
void TForm1::closeEvent(QCloseEvent* event) {
    if (m_core.game.ratedGame == game::RatedState::InProgress) {
        event->ignore();
        return;
    }
    // The engine stops at once and its thread ends before the window does.
    abandonThinking();
    m_worker.reset();
    m_opsTimer->stop();
    Timer1->stop();
    if (m_choosing) ListeCancelClick();
    event->accept();
    QApplication::quit();
}

}  // namespace ui

#include "ui/main_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <string_view>
#include <thread>

#include "engine/levels.h"
#include "engine/search.h"
#include "engine/tables.h"

namespace ui {

namespace {

enum ItemFlag : unsigned {
    Checkable = 1,
    Checked = 2 | Checkable,
    Disabled = 4,
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

QMenu* addMenu(QMainWindow* window, const char* name, const char* caption) {
    QMenu* m = new QMenu(QString::fromUtf8(caption), window);
    m->setObjectName(QString::fromLatin1(name));
    window->menuBar()->addMenu(m);
    return m;
}

QMenu* addSubMenu(QMenu* menu, const char* name, const char* caption) {
    QMenu* m = menu->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

}  // namespace

MainMenus::MainMenus(QMainWindow* window) {
    window->menuBar()->setObjectName("MainMenu1");

    file = addMenu(window, "Fichier1", "Fichier");
    newGame = addItem(file, "Nouveau2", "Nouveau", "Ctrl+N");
    twoPeople = addItem(file, "Humaincontrehumain1", "Humain contre humain", "Ctrl+H", Checkable);
    selfPlay = addItem(file, "Ordinateurcontreordinateur1", "Ordinateur contre ordinateur", "Ctrl+C", Checkable);
    saveGame = addItem(file, "Sauver1", "Sauver", "Ctrl+S");
    openGame = addItem(file, "Ouvrir1", "Ouvrir", "Ctrl+O");
    openProblem = addItem(file, "Problmes1", "Leçons, exercices et problèmes", "Ctrl+L");
    setUpPosition = addItem(file, "Installeruneposition1", "Installer une position", "Ctrl+I");
    printGame = addItem(file, "Imprimer1", "Imprimer", "Ctrl+P");
    exportText = addItem(file, "Crerunfichiertexte1", "Créer un fichier texte", "Ctrl+T");
    importText = addItem(file, "Ouvrirunfichiertexte1", "Ouvrir un fichier texte", "Ctrl+F");
    openVog = addItem(file, "OuvrirunfichierVOG1", "Ouvrir un fichier VOG", "Ctrl+V", Disabled | Hidden);
    exportPicture = addItem(file, "Editerlimagefichierbmp1", "Editer l'image (fichier Bitmap)", "Ctrl+E");
    file->addSeparator();
    quit = addItem(file, "Quitter1", "Quitter", "Alt+X");

    edit = addMenu(window, "Edition1", "Edition");
    takeBack = addItem(edit, "Reprendrecoups1", "Reprendre coups", "F1");
    stepForward = addItem(edit, "Avancercoups1", "Avancer coups", "F2");
    goToStart = addItem(edit, "Reveniraudebut1", "Revenir au début", "Ctrl+F1");
    goToEnd = addItem(edit, "Allerlafin1", "Aller à la fin", "Ctrl+F2");

    view = addMenu(window, "Affichage1", "Affichage");
    styles[0] = addItem(view, "Damier2D1", "Damier 2D jaune", nullptr, Checkable);
    // The perspective styles, in the menu's order.
    styles[1] = addItem(view, "Damier3D1", "Classique", nullptr, Checked);
    styles[4] = addItem(view, "Damier3D4", "Copacabana", nullptr, Checkable);
    styles[2] = addItem(view, "Damier3D2", "Nuit", nullptr, Checkable);
    styles[3] = addItem(view, "Damier3D3", "Luxe", nullptr, Checkable);
    styles[5] = addItem(view, "Damier3D5", "Ipanema", nullptr, Checkable);
    styles[6] = addItem(view, "Damier3D6", "Inferno", nullptr, Checkable);
    styles[7] = addItem(view, "Damier3D7", "Grand luxe", nullptr, Checkable);
    styles[8] = addItem(view, "Damier3D8", "Salvador da Bahia", nullptr, Checkable);
    stillLife = addItem(view, "Naturemortelarglejeu1", "Nature morte à la règle du jeu", nullptr, Disabled | Hidden);
    view->addSeparator();
    invertBoard = addItem(view, "Inverserdamier1", "Inverser damier", "F3");

    players = addMenu(window, "Joueurs1", "Joueurs");
    addPlayer = addItem(players, "Match21", "Nouveau joueur");
    deletePlayer = addItem(players, "Effacerunjoueur1", "Effacer un joueur");
    swapSides = addItem(players, "Inverserlesjoueurs1", "Inverser les joueurs", "F4");
    renamePlayers = addItem(players, "Changerlesnoms1", "Changer les noms");

    level = addMenu(window, "Niveau1", "Niveau");
    timedLevels = nullptr;
    for (std::size_t i = 0; i < engine::LevelTable.size(); ++i) {
        if (static_cast<int>(i) == engine::NumRegularLevels) timedLevels = addSubMenu(level, "XSpcial1", "X : Spécial");
        QMenu* menu = timedLevels ? timedLevels : level;
        levels[i] = addItem(menu, engine::LevelTable[i].item, engine::LevelTable[i].caption, nullptr, Checkable);
    }
    customTime = addItem(timedLevels, "N8Autre1", "Autre", nullptr, Checkable);

    settings = addMenu(window, "Ouvertures1", "Paramétrage");
    booksActive = addItem(settings, "Bibliothquesactives1", "Bibliothèques actives", nullptr, Checked);
    changeLibrarySet = addItem(settings, "Changerbibliothqueouvertures1", "Changer bibliothèque ouvertures");
    editWhiteOpenings = addItem(settings, "Ouverturespourlesblancs1", "Ouvertures pour les blancs");
    editBlackOpenings = addItem(settings, "Ouverturespourlesnoirs1", "Ouvertures pour les noirs");
    editParameters = addItem(settings, "Changer1", "Modifier les paramètres");
    saveParameters = addItem(settings, "Sauverlesparamtres1", "Sauver les paramètres");
    loadParameters = addItem(settings, "Chargerdesparamtres1", "Charger des paramètres");

    analysis = addMenu(window, "Analyse2", "Analyse");
    startAnalysis = addItem(analysis, "Analyser1", "Débuter une analyse");
    // These two act while an analysis is under way.
    stopPhase = addItem(analysis, "Arrtercettephase1", "Arrêter cette phase", nullptr, Disabled);
    endAnalysis = addItem(analysis, "Terminerlanalyse1", "Terminer l'analyse", nullptr, Disabled);

    learning = addMenu(window, "Apprentissage1", "Apprentissage");
    startSession = addItem(learning, "Lancerunesession1", "Lancer une session");
    stopSession = addItem(learning, "Arrterlasession1", "Arrêter la session", nullptr, Disabled);
    loadLessons = addItem(learning, "Chargerdesleons1", "Charger des leçons");

    options = addMenu(window, "Options1", "Options");
    numberSquares = addItem(options, "Numeroterlescases1", "Numéroter les cases", nullptr, Checkable);
    alphabeticalNumbers = addItem(options, "Alphabeticalnumber1", "Alphabetical number", nullptr, Disabled | Hidden);
    stopThinking = addItem(options, "Arrtducalcul1", "Arrêt du calcul");
    resetClocks = addItem(options, "Horlogeszro1", "Horloges à zéro");
    pauseClocks = addItem(options, "Pause2", "Pause", nullptr, Checkable);
    ponder = addItem(options, "Rflexionsurtempsadverse1", "Réflexion sur temps adverse", nullptr, Checked);
    stopByClick = addItem(options, "Arretrflexionparclicsouris1", "Arret réflexion par clic souris", nullptr, Checked);
    showMoveMarks = addItem(options, "Indicationdesmouvements1", "Indication des mouvements", nullptr, Checked);
    decomposeCaptures = addItem(options, "Dcomposerlesprises1", "Décomposer les prises", nullptr, Checked);
    sounds = addSubMenu(options, "Sons1", "Sons");
    beepEachMove = addItem(sounds, "Bipchaquecoup2", "Bip à chaque coup", nullptr, Checked);
    otherSounds = addItem(sounds, "Commentaires1", "Autres", nullptr, Checked);
    blindPlay = addItem(options, "Jeuenaveugle1", "Jeu en aveugle", nullptr, Checkable | Disabled);
    tableSizes = addSubMenu(options, "Tailledestablesdetransposition1", "Taille des tables de transposition");
    for (std::size_t i = 0; i < engine::TableSizes.size(); ++i)
        tableSize[i] = addItem(tableSizes, engine::TableSizes[i].item, engine::TableSizes[i].caption, nullptr,
                               static_cast<int>(i) == engine::DefaultTableSizeItem ? Checked : Checkable);
    // The items are named as their captions would name them: "N11" for "1".
    searchThreadsMenu = addSubMenu(options, "Filsdecalcul1", "Fils de calcul");
    for (int n = 1; n <= engine::searchThreadsAllowed(std::thread::hardware_concurrency()); ++n) {
        const QByteArray name = "N" + QByteArray::number(n) + "1";
        searchThreads.push_back(addItem(searchThreadsMenu, name.constData(), QByteArray::number(n).constData(), nullptr,
                                        n == 1 ? Checked : Checkable));
    }

    help = addMenu(window, "Aide1", "Aide");
    guide = addItem(help, "Guide1", "Documentation");
    rules = addItem(help, "Rgles1", "Règles");
    about = addItem(help, "Apropos1", "A propos...");
    languageMenu = addSubMenu(help, "Idioma1", "Idioma/Langue/Language/Taal");
    languages[3] = addItem(languageMenu, "Portugues1", "Português", nullptr, Checkable);
    languages[0] = addItem(languageMenu, "Franais1", "Français", nullptr, Checked);
    languages[1] = addItem(languageMenu, "English1", "English", nullptr, Checkable);
    languages[2] = addItem(languageMenu, "Nederlands1", "Nederlands", nullptr, Checkable);
    languages[4] = addItem(languageMenu, "Espanol1", "Español", nullptr, Checkable);
    languages[5] = addItem(languageMenu, "Italiano1", "Italiano", nullptr, Checkable);
}

void MainMenus::on(QAction* item, QObject* context, std::function<void()> handler) {
    QObject::connect(item, &QAction::triggered, context, [handler = std::move(handler)] { handler(); });
    m_handled.insert(item);
}

void MainMenus::closeWhileThinking(bool selfPlaying) {
    m_closedWhileThinking.clear();
    std::vector<QAction*> items = {newGame, twoPeople, saveGame, openGame, printGame};
    if (!selfPlaying) items.push_back(file->menuAction());
    for (QMenu* menu : {edit, players, settings, analysis}) items.push_back(menu->menuAction());
    for (QAction* a : items)
        if (a->isEnabled()) {
            a->setEnabled(false);
            m_closedWhileThinking.emplace_back(a);
        }
}

void MainMenus::reopenAfterThinking(bool ratedGame, bool selfPlaying) {
    for (const QPointer<QAction>& a : m_closedWhileThinking)
        if (a) a->setEnabled(true);
    m_closedWhileThinking.clear();
    // In a rated game the file menu, the players and the analysis stay closed.
    if (ratedGame)
        for (QMenu* menu : {file, players, analysis}) menu->menuAction()->setEnabled(false);
    if (selfPlaying) file->menuAction()->setEnabled(true);
}

bool MainMenus::placeholder(const QAction* item) const {
    return item == openVog || item == stillLife || item == alphabeticalNumbers;
}

std::array<QMenu*, 9> MainMenus::gameMenus() const {
    return {file, edit, view, players, level, settings, options, analysis, learning};
}

}  // namespace ui

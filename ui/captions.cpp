#include "ui/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>

#include "engine/analysis.h"
#include "engine/thinking.h"
#include "game/end_of_game.h"

namespace ui::captions {

namespace {

// The tables are laid out a row per caption, by hand; the formatter leaves
// them so.
// clang-format off
// French, English, Dutch, Portuguese, Spanish, Italian.
const Caption MainWindow[] = {
    // Fichier
    {"Fichier1", {"Fichier", "File", "Bestand", "Arquivo", "Archivo", "File"}},
    {"Nouveau2", {"Nouveau", "New", "Nieuw", "Novo", "Nuevo", "Nuovo"}},
    {"Humaincontrehumain1", {"Humain contre humain", "Human against human", "Mens tegen mens", "Humano contra humano", "Humano contra humano", "Umano contro umano"}},
    {"Ordinateurcontreordinateur1", {"Ordinateur contre ordinateur", "Computer against computer", "Computer tegen computer", "Computador contra computador", "Ordenador contra ordenador", "Computer contro computer"}},
    {"Sauver1", {"Sauver", "Save as...", "Opslaan", "Salvar", "Guardar", "Salva"}},
    {"Ouvrir1", {"Ouvrir", "Open", "Openen", "Abrir", "Abrir", "Apri"}},
    {"Problmes1", {"Leçons, exercices et problèmes", "Lessons, exercises and problems", "Lessen, oefeningen en problemen", "Lições, exercícios e problemas", "Lecciones, ejercicios y problemas", "Lezioni, esercizi e problemi"}},
    {"Installeruneposition1", {"Installer une position", "Set up a position", "Stand opzetten", "Montar uma posição", "Preparar una posición", "Imposta una posizione"}},
    {"Imprimer1", {"Imprimer", "Print", "Afdrukken", "Imprimir", "Imprimir", "Stampa"}},
    {"Crerunfichiertexte1", {"Créer un fichier texte", "Create a text file", "Tekstbestand maken", "Criar arquivo de texto", "Crear archivo de texto", "Crea file di testo"}},
    {"Ouvrirunfichiertexte1", {"Ouvrir un fichier texte", "Open a text file", "Tekstbestand openen", "Abrir arquivo de texto", "Abrir archivo de texto", "Apri file di testo"}},
    {"OuvrirunfichierVOG1", {"Ouvrir un fichier VOG", "Open a VOG file", "VOG-bestand openen", "Abrir arquivo VOG", "Abrir archivo VOG", "Apri file VOG"}},
    {"Editerlimagefichierbmp1", {"Editer l'image (fichier Bitmap)", "Save the picture (bitmap)", "Afbeelding opslaan (bitmap)", "Salvar a imagem (bitmap)", "Guardar la imagen (bitmap)", "Salva l'immagine (bitmap)"}},
    {"Quitter1", {"Quitter", "Quit", "Afsluiten", "Sair", "Salir", "Esci"}},
    // Edition
    {"Edition1", {"Edition", "Edit", "Bewerken", "Editar", "Edición", "Modifica"}},
    {"Reprendrecoups1", {"Reprendre coups", "Back one move", "Zet terug", "Voltar um lance", "Retroceder una jugada", "Mossa indietro"}},
    {"Avancercoups1", {"Avancer coups", "Forward one move", "Zet vooruit", "Avançar um lance", "Avanzar una jugada", "Mossa avanti"}},
    {"Reveniraudebut1", {"Revenir au début", "Back to the beginning", "Naar het begin", "Voltar ao início", "Volver al inicio", "Torna all'inizio"}},
    {"Allerlafin1", {"Aller à la fin", "Forward to the last move", "Naar het einde", "Ir ao último lance", "Ir al final", "Vai alla fine"}},
    // Affichage
    {"Affichage1", {"Affichage", "Board", "Bord", "Tabuleiro", "Tablero", "Damiera"}},
    {"Damier2D1", {"Damier 2D jaune", "2D board", "2D-bord", "Tabuleiro 2D", "Tablero 2D", "Damiera 2D"}},
    {"Damier3D1", {"Classique", "Classic", "Klassiek", "Clássico", "Clásico", "Classica"}},
    {"Damier3D2", {"Nuit", "Night", "Nacht", "Noite", "Noche", "Notte"}},
    {"Damier3D3", {"Luxe", "Deluxe", "Luxe", "Luxo", "Lujo", "Lusso"}},
    {"Damier3D4", {"Copacabana", "Copacabana", "Copacabana", "Copacabana", "Copacabana", "Copacabana"}},
    {"Damier3D5", {"Ipanema", "Ipanema", "Ipanema", "Ipanema", "Ipanema", "Ipanema"}},
    {"Damier3D6", {"Inferno", "Inferno", "Inferno", "Inferno", "Inferno", "Inferno"}},
    {"Damier3D7", {"Grand luxe", "Grand Deluxe", "Extra luxe", "Grande luxo", "Gran lujo", "Gran lusso"}},
    {"Damier3D8", {"Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia"}},
    {"Naturemortelarglejeu1", {"Nature morte à la règle du jeu", "Still life with the rules", "Stilleven met de spelregels", "Natureza-morta com as regras", "Naturaleza muerta con las reglas", "Natura morta con le regole"}},
    {"Inverserdamier1", {"Inverser damier", "Flip the board", "Bord omdraaien", "Girar o tabuleiro", "Girar el tablero", "Capovolgi la damiera"}},
    // Joueurs
    {"Joueurs1", {"Joueurs", "Players", "Spelers", "Jogadores", "Jugadores", "Giocatori"}},
    {"Match21", {"Nouveau joueur", "New player", "Nieuwe speler", "Novo jogador", "Nuevo jugador", "Nuovo giocatore"}},
    {"Effacerunjoueur1", {"Effacer un joueur", "Delete a player", "Speler verwijderen", "Excluir um jogador", "Eliminar un jugador", "Elimina un giocatore"}},
    {"Inverserlesjoueurs1", {"Inverser les joueurs", "Swap the players", "Spelers omwisselen", "Trocar os jogadores", "Intercambiar los jugadores", "Scambia i giocatori"}},
    {"Changerlesnoms1", {"Changer les noms", "Change names", "Namen wijzigen", "Alterar os nomes", "Cambiar los nombres", "Cambia i nomi"}},
    // Niveau
    {"Niveau1", {"Niveau", "Level", "Niveau", "Nível", "Nivel", "Livello"}},
    {"Dbutant1", {"0 : Néophyte", "0: Novice", "0: Nieuweling", "0: Novato", "0: Novato", "0: Neofita"}},
    {"Niveau01", {"1 : Débutant", "1: Beginner", "1: Beginner", "1: Principiante", "1: Principiante", "1: Principiante"}},
    {"Niveau02", {"2 : Amateur", "2: Amateur", "2: Amateur", "2: Amador", "2: Aficionado", "2: Dilettante"}},
    {"Niveau03", {"3 : Promotion", "3: Promotion", "3: Promotie", "3: Promoção", "3: Promoción", "3: Promozione"}},
    {"Niveau04", {"4 : Honneur", "4: Honor", "4: Ereklasse", "4: Honra", "4: Honor", "4: Onore"}},
    {"Niveau05", {"5 : Excellence", "5: Excellence", "5: Uitmuntend", "5: Excelência", "5: Excelencia", "5: Eccellenza"}},
    {"Niveau06", {"6 : Maître", "6: Master", "6: Meester", "6: Mestre", "6: Maestro", "6: Maestro"}},
    {"Niveau07", {"7 : Grand Maître", "7: Grandmaster", "7: Grootmeester", "7: Grande Mestre", "7: Gran Maestro", "7: Gran Maestro"}},
    {"Niveau081", {"8 : Grand Maître International", "8: International Grandmaster", "8: Internationaal grootmeester", "8: Grande Mestre Internacional", "8: Gran Maestro Internacional", "8: Gran Maestro Internazionale"}},
    {"XSpcial1", {"X : Spécial", "X: Special", "X: Speciaal", "X: Especial", "X: Especial", "X: Speciale"}},
    {"N150coupsen3mn1", {"1 : 30 coups en 3 mn", "1: 30 moves in 3 min", "1: 30 zetten in 3 min", "1: 30 lances em 3 min", "1: 30 jugadas en 3 min", "1: 30 mosse in 3 min"}},
    {"N250coupsen5mn1", {"2 : 30 coups en 5 mn", "2: 30 moves in 5 min", "2: 30 zetten in 5 min", "2: 30 lances em 5 min", "2: 30 jugadas en 5 min", "2: 30 mosse in 5 min"}},
    {"N350coupsen10mn1", {"3 : 30 coups en 10 mn", "3: 30 moves in 10 min", "3: 30 zetten in 10 min", "3: 30 lances em 10 min", "3: 30 jugadas en 10 min", "3: 30 mosse in 10 min"}},
    {"N450coupsen30mn1", {"4 : 30 coups en 30 mn", "4: 30 moves in 30 min", "4: 30 zetten in 30 min", "4: 30 lances em 30 min", "4: 30 jugadas en 30 min", "4: 30 mosse in 30 min"}},
    {"N550coupsen1h1", {"5 : 30 coups en 1 h", "5: 30 moves in 1 h", "5: 30 zetten in 1 uur", "5: 30 lances em 1 h", "5: 30 jugadas en 1 h", "5: 30 mosse in 1 ora"}},
    {"N650coupsen2h1", {"6 : 30 coups en 2 h", "6: 30 moves in 2 h", "6: 30 zetten in 2 uur", "6: 30 lances em 2 h", "6: 30 jugadas en 2 h", "6: 30 mosse in 2 ore"}},
    {"N7longlong1", {"7 : long, long", "7: very long", "7: heel lang", "7: muito longo", "7: muy largo", "7: lunghissimo"}},
    {"N8Autre1", {"Autre", "Other...", "Anders...", "Outro...", "Otro...", "Altro..."}},
    // Paramétrage
    {"Ouvertures1", {"Paramétrage", "Parameters", "Instellingen", "Parâmetros", "Parámetros", "Parametri"}},
    {"Bibliothquesactives1", {"Bibliothèques actives", "Use the opening libraries", "Openingsbibliotheken gebruiken", "Usar as bibliotecas de aberturas", "Usar las bibliotecas de aperturas", "Usa le biblioteche di aperture"}},
    {"Changerbibliothqueouvertures1", {"Changer bibliothèque ouvertures", "Change the opening library", "Openingsbibliotheek wisselen", "Trocar a biblioteca de aberturas", "Cambiar la biblioteca de aperturas", "Cambia la biblioteca di aperture"}},
    {"Ouverturespourlesblancs1", {"Ouvertures pour les blancs", "Opening library for White", "Openingen voor Wit", "Aberturas para as brancas", "Aperturas para las blancas", "Aperture per il Bianco"}},
    {"Ouverturespourlesnoirs1", {"Ouvertures pour les noirs", "Opening library for Black", "Openingen voor Zwart", "Aberturas para as pretas", "Aperturas para las negras", "Aperture per il Nero"}},
    {"Changer1", {"Modifier les paramètres", "Edit the parameters", "Parameters wijzigen", "Modificar os parâmetros", "Modificar los parámetros", "Modifica i parametri"}},
    {"Sauverlesparamtres1", {"Sauver les paramètres", "Save parameters", "Parameters opslaan", "Salvar os parâmetros", "Guardar los parámetros", "Salva i parametri"}},
    {"Chargerdesparamtres1", {"Charger des paramètres", "Load parameters", "Parameters laden", "Carregar parâmetros", "Cargar parámetros", "Carica parametri"}},
    // Analyse
    {"Analyse2", {"Analyse", "Analysis", "Analyse", "Análise", "Análisis", "Analisi"}},
    {"Analyser1", {"Débuter une analyse", "Start an analysis", "Analyse starten", "Iniciar uma análise", "Empezar un análisis", "Inizia un'analisi"}},
    {"Arrtercettephase1", {"Arrêter cette phase", "Stop this stage", "Deze fase stoppen", "Parar esta fase", "Detener esta fase", "Ferma questa fase"}},
    {"Terminerlanalyse1", {"Terminer l'analyse", "End the analysis", "Analyse beëindigen", "Terminar a análise", "Terminar el análisis", "Termina l'analisi"}},
    // Apprentissage
    {"Apprentissage1", {"Apprentissage", "Self-learning", "Zelf leren", "Aprendizado", "Aprendizaje", "Apprendimento"}},
    {"Lancerunesession1", {"Lancer une session", "Start a session", "Sessie starten", "Iniciar uma sessão", "Iniciar una sesión", "Avvia una sessione"}},
    {"Arrterlasession1", {"Arrêter la session", "Stop the session", "Sessie stoppen", "Parar a sessão", "Detener la sesión", "Ferma la sessione"}},
    {"Chargerdesleons1", {"Charger des leçons", "Load lessons", "Lessen laden", "Carregar lições", "Cargar lecciones", "Carica lezioni"}},
    // Options
    {"Options1", {"Options", "Options", "Opties", "Opções", "Opciones", "Opzioni"}},
    {"Numeroterlescases1", {"Numéroter les cases", "Number the squares", "Velden nummeren", "Numerar as casas", "Numerar las casillas", "Numera le case"}},
    {"Alphabeticalnumber1", {"Alphabetical number", "Alphabetical numbering", "Alfabetische nummering", "Numeração alfabética", "Numeración alfabética", "Numerazione alfabetica"}},
    {"Arrtducalcul1", {"Arrêt du calcul", "Stop thinking", "Denken stoppen", "Parar o cálculo", "Detener el cálculo", "Ferma il calcolo"}},
    {"Horlogeszro1", {"Horloges à zéro", "Reset the clocks", "Klokken op nul", "Zerar os relógios", "Poner los relojes a cero", "Azzera gli orologi"}},
    {"Pause2", {"Pause", "Pause", "Pauze", "Pausa", "Pausa", "Pausa"}},
    {"Rflexionsurtempsadverse1", {"Réflexion sur temps adverse", "Think on the opponent's time", "Denken in de tijd van de tegenstander", "Pensar no tempo do adversário", "Pensar en el tiempo del rival", "Pensa durante il tempo dell'avversario"}},
    {"Arretrflexionparclicsouris1", {"Arret réflexion par clic souris", "Stop thinking on a mouse click", "Denken stoppen met muisklik", "Parar o cálculo com um clique", "Detener el cálculo con un clic", "Ferma il calcolo con un clic"}},
    {"Indicationdesmouvements1", {"Indication des mouvements", "Show the moves", "Zetten tonen", "Indicar os lances", "Indicar las jugadas", "Mostra le mosse"}},
    {"Dcomposerlesprises1", {"Décomposer les prises", "Captures step by step", "Slagen stap voor stap", "Capturas passo a passo", "Capturas paso a paso", "Prese passo per passo"}},
    {"Sons1", {"Sons", "Sounds", "Geluiden", "Sons", "Sonidos", "Suoni"}},
    {"Bipchaquecoup2", {"Bip à chaque coup", "Beep on every move", "Piep bij elke zet", "Bip a cada lance", "Pitido en cada jugada", "Bip a ogni mossa"}},
    {"Commentaires1", {"Autres", "Other sounds", "Overige", "Outros", "Otros", "Altri"}},
    {"Jeuenaveugle1", {"Jeu en aveugle", "Blindfold play", "Blind spelen", "Jogo às cegas", "Juego a ciegas", "Gioco alla cieca"}},
    {"Tailledestablesdetransposition1", {"Taille des tables de transposition", "Transposition table size", "Grootte van de transpositietabellen", "Tamanho das tabelas de transposição", "Tamaño de las tablas de transposición", "Dimensione delle tabelle di trasposizione"}},
    {"N0Mo1", {"0 Mo", "0 MB", "0 MB", "0 MB", "0 MB", "0 MB"}},
    {"N07Mo1", {"0,7 Mo", "0.7 MB", "0,7 MB", "0,7 MB", "0,7 MB", "0,7 MB"}},
    {"N15Mo1", {"1,5Mo", "1.5 MB", "1,5 MB", "1,5 MB", "1,5 MB", "1,5 MB"}},
    {"N3Mo1", {"3Mo", "3 MB", "3 MB", "3 MB", "3 MB", "3 MB"}},
    {"N5Mo1", {"5Mo", "5 MB", "5 MB", "5 MB", "5 MB", "5 MB"}},
    {"N10Mo1", {"10Mo", "10 MB", "10 MB", "10 MB", "10 MB", "10 MB"}},
    {"N15Mo2", {"15Mo", "15 MB", "15 MB", "15 MB", "15 MB", "15 MB"}},
    {"N30Mo1", {"25Mo", "25 MB", "25 MB", "25 MB", "25 MB", "25 MB"}},
    {"Filsdecalcul1", {"Fils de calcul", "Search threads", "Rekenthreads", "Threads de cálculo", "Hilos de cálculo", "Thread di calcolo"}},
    // Aide
    {"Aide1", {"Aide", "Help", "Help", "Ajuda", "Ayuda", "Aiuto"}},
    {"Guide1", {"Documentation", "Documentation", "Handleiding", "Documentação", "Documentación", "Documentazione"}},
    {"Rgles1", {"Règles", "Rules", "Spelregels", "Regras", "Reglas", "Regole"}},
    {"Apropos1", {"A propos...", "About...", "Over Tavolex...", "Sobre...", "Acerca de...", "Informazioni..."}},
    {"Idioma1", {"Idioma/Langue/Language/Taal", "Idioma/Langue/Language/Taal", "Idioma/Langue/Language/Taal", "Idioma/Langue/Language/Taal", "Idioma/Langue/Language/Taal", "Idioma/Langue/Language/Taal"}},
    {"Portugues1", {"Português", "Português", "Português", "Português", "Português", "Português"}},
    {"Franais1", {"Français", "Français", "Français", "Français", "Français", "Français"}},
    {"English1", {"English", "English", "English", "English", "English", "English"}},
    {"Nederlands1", {"Nederlands", "Nederlands", "Nederlands", "Nederlands", "Nederlands", "Nederlands"}},
    {"Espanol1", {"Español", "Español", "Español", "Español", "Español", "Español"}},
    {"Italiano1", {"Italiano", "Italiano", "Italiano", "Italiano", "Italiano", "Italiano"}},
    // Pages
    {"Liste", {"Coups joués", "Moves", "Zetten", "Lances", "Jugadas", "Mosse"}},
    {"Calcul", {"Calcul", "Thinking", "Berekening", "Cálculo", "Cálculo", "Calcolo"}},
    {"Probleme0", {"Probleme", "Problem", "Probleem", "Problema", "Problema", "Problema"}},
    // Buttons
    {"vider1", {"Vider le damier", "Clear board", "Bord leegmaken", "Limpar tabuleiro", "Vaciar tablero", "Svuota la damiera"}},
    {"remplir1", {"Remplir le damier", "Fill board", "Bord vullen", "Encher tabuleiro", "Llenar tablero", "Riempi la damiera"}},
    {"Abandon1", {"Abandonner", "Resign", "Opgeven", "Abandonar", "Abandonar", "Abbandona"}},
    {"Abandon2", {"Abandonner", "Resign", "Opgeven", "Abandonar", "Abandonar", "Abbandona"}},
    {"Joue", {"Arrêter le calcul", "Stop thinking", "Denken stoppen", "Parar o cálculo", "Detener el cálculo", "Ferma il calcolo"}},
    {"Button9", {"Editer coups", "Save the moves", "Zetten opslaan", "Salvar os lances", "Guardar jugadas", "Salva le mosse"}},
    {"Button10", {"Suivant", "Next", "Volgende", "Próximo", "Siguiente", "Avanti"}},
    {"Button11", {"Fin analyse", "End analysis", "Beëindigen", "Encerrar", "Terminar", "Fine analisi"}},
    {"Button12", {"Editer", "Save", "Opslaan", "Salvar", "Guardar", "Salva"}},
    {"Button13", {"Fin", "End", "Einde", "Fim", "Fin", "Fine"}},
    // Panels
    {"Panel11", {"Entraînement", "Training", "Training", "Treino", "Entrenamiento", "Allenamento"}},
    {"Panel13", {"Suivant ->", "Next ->", "Volgende ->", "Próximo ->", "Siguiente ->", "Avanti ->"}},
    {"Panel14", {"Revoir coup", "Show again", "Opnieuw tonen", "Rever o lance", "Volver a ver", "Rivedi la mossa"}},
    {"Proposernul", {"Proposer nul", "Offer draw", "Remise aanbieden", "Propor empate", "Proponer tablas", "Proponi patta"}},
    {"Nulrefus", {"Nul refusé", "Draw refused", "Remise geweigerd", "Empate recusado", "Tablas rechazadas", "Patta rifiutata"}},
    {"Patientez", {"Patientez", "Please wait", "Even geduld", "Aguarde", "Espere", "Attendere"}},
    {"Zut", {"Zut ! ce n'est pas cela que je voulais jouer.", "Blast! That's not what I meant to play.", "Verdorie! Dat wilde ik niet spelen.", "Droga! Não era isso que eu queria jogar.", "¡Vaya! No es lo que quería jugar.", "Accidenti! Non è quello che volevo giocare."}},
    {"Learn", {"Apprendre ?", "Learn?", "Leren?", "Aprender?", "¿Aprender?", "Imparare?"}},
    // Labels
    {"Label13", {"Nom du joueur :", "Player's name:", "Spelersnaam:", "Nome do jogador:", "Nombre del jugador:", "Nome del giocatore:"}},
    {"Label14", {"Classement :", "Rating:", "Rating:", "Pontuação:", "Puntuación:", "Punteggio:"}},
    {"Label15", {"Joueur :", "Player:", "Speler:", "Jogador:", "Jugador:", "Giocatore:"}},
    {"Label16", {"Joueur blanc :", "White player:", "Speler met wit:", "Brancas:", "Blancas:", "Bianco:"}},
    {"Label17", {"Joueur noir :", "Black player:", "Speler met zwart:", "Pretas:", "Negras:", "Nero:"}},
    {"Label18", {"Joueur à effacer :", "Player to delete:", "Te verwijderen speler:", "Jogador a excluir:", "Jugador a eliminar:", "Giocatore da eliminare:"}},
    {"Label19", {"Classement", "Rating", "Rating", "Pontuação", "Puntuación", "Punteggio"}},
    {"Label30", {"Tavolex propose le match nul", "Tavolex offers a draw", "Tavolex biedt remise aan", "Tavolex propõe o empate", "Tavolex propone tablas", "Tavolex propone la patta"}},
    {"Label31", {"Appuyez sur OK pour accepter", "Press OK to accept", "Klik op OK om te aanvaarden", "Clique em OK para aceitar", "Pulse OK para aceptar", "Premete OK per accettare"}},
    {"Nom_blancs", {"Blancs :", "White:", "Wit:", "Brancas:", "Blancas:", "Bianco:"}},
    {"Nom_noirs", {"Noirs :", "Black:", "Zwart:", "Pretas:", "Negras:", "Nero:"}},
    {"N50coupsen", {"30 coups en : ", "30 moves in: ", "30 zetten in: ", "30 lances em: ", "30 jugadas en: ", "30 mosse in: "}},
    // Radio groups and buttons
    {"Choixcouleur1", {"Couleur de Tavolex", "Tavolex's color", "Kleur van Tavolex", "Cor do Tavolex", "Color de Tavolex", "Colore di Tavolex"}},
    {"RadioGroup2", {"Couleur de Tavolex", "Tavolex's color", "Kleur van Tavolex", "Cor do Tavolex", "Color de Tavolex", "Colore di Tavolex"}},
    {"RadioGroup3", {"Classement de Mister X", "Mister X's rating", "Rating van Mister X", "Pontuação de Mister X", "Puntuación de Mister X", "Punteggio di Mister X"}},
    {"Corvanda_blanc", {"blanc", "white", "wit", "brancas", "blancas", "bianco"}},
    {"Corvanda_noir", {"noir", "black", "zwart", "pretas", "negras", "nero"}},
    {"Corvanda_blanc1", {"blanc", "white", "wit", "brancas", "blancas", "bianco"}},
    {"Corvanda_noir1", {"noir", "black", "zwart", "pretas", "negras", "nero"}},
    {"K1600", {"1600 (l'ordinateur vous laisse le double de son temps)", "1600 (the computer gives you twice its time)", "1600 (de computer geeft u het dubbele van zijn tijd)", "1600 (o computador lhe dá o dobro do tempo dele)", "1600 (el ordenador le da el doble de su tiempo)", "1600 (il computer vi lascia il doppio del suo tempo)"}},
    {"K1700", {"1700 (l'ordinateur vous laisse voir sa réflexion)", "1700 (you can watch the computer think)", "1700 (u kunt de computer zien denken)", "1700 (você pode ver o computador pensar)", "1700 (puede ver pensar al ordenador)", "1700 (potete vedere il computer pensare)"}},
    {"K1800", {"1800 (l'ordinateur ne vous fait pas de cadeau)", "1800 (the computer gives you no advantage)", "1800 (de computer geeft u niets cadeau)", "1800 (o computador não lhe dá vantagem)", "1800 (el ordenador no le da ventaja)", "1800 (il computer non vi fa regali)"}},
    // Cancel buttons
    {"BitBtn18", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"BitBtn19", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"BitBtn21", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"BitBtn23", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"BitBtn25", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"Annule_nouveau", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"Cancel_joueurs", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"RamenerCorvanda", {"Ramener Tavolex à 2050", "Reset Tavolex to 2050", "Tavolex terug naar 2050", "Redefinir Tavolex para 2050", "Restablecer Tavolex a 2050", "Riporta Tavolex a 2050"}},
    // The new-game tabs
    {"Entrainement", {"Entrainement", "Training", "Training", "Treino", "Entrenamiento", "Allenamento"}},
    {"Match1", {"Match ", "Match ", "Wedstrijd ", "Partida ", "Partida ", "Partita "}},
    {"Humain", {"Humain contre humain", "Human against human", "Mens tegen mens", "Humano contra humano", "Humano contra humano", "Umano contro umano"}},
    {"Nom_joueur", {"Joueur :", "Player:", "Speler:", "Jogador:", "Jugador:", "Giocatore:"}},
    // The player panels: the starting rating of a new player, the other cancel buttons
    {"Capital", {"Capital points", "Starting rating", "Beginrating", "Pontuação inicial", "Puntuación inicial", "Punteggio iniziale"}},
    {"O", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"BitBtn12", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"Abandon", {"Abandonner", "Resign", "Opgeven", "Abandonar", "Abandonar", "Abbandona"}},
    // The draw offer's refusal, the chooser of a game in a text file
    {"Annul_nul", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    {"ListeCancel", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
    // "Autre": the unit after the number of minutes
    {"Label_minutes", {"minutes", "minutes", "minuten", "minutos", "minutos", "minuti"}},
    // The learning prompt's answers (its question is the Learn panel's label)
    {"Learn_yes", {"Oui", "Yes", "Ja", "Sim", "Sí", "Sì"}},
    {"Learn_no", {"Non", "No", "Nee", "Não", "No", "No"}},
    {"Label_pieces_Panel6", {"Pièces", "Pieces", "Stukken", "Peças", "Piezas", "Pezzi"}},
    {"Label_pieces_Panel7", {"Pièces", "Pieces", "Stukken", "Peças", "Piezas", "Pezzi"}},
    {"Label_piece_placee", {"Pièce placée :", "Piece to place:", "Te plaatsen stuk:", "Peça a colocar:", "Pieza a colocar:", "Pezzo da posare:"}},
    // Below the board, side by side: one phrase in three labels.
    {"Prise", {"Prise", "Must", "Meerslag", "Deve", "Toma", "Presa"}},
    {"obligatoire", {"obligatoire", "capture", "is", "capturar", "máxima", "massima"}},
    {"majoritaire", {"majoritaire", "the most", "verplicht", "o máximo", "obligatoria", "obbligatoria"}},
    // Position set-up
    {"Probleme", {"PLACEZ LES PIONS", "PLACE THE PIECES", "PLAATS DE STUKKEN", "COLOQUE AS PEÇAS", "COLOQUE LAS PIEZAS", "DISPONETE I PEZZI"}},
    // The about box
    {"Label_apropos",
     {"<h2>Tavolex 3D</h2><p>Jeu de dames brésiliennes<br>version 0.1.0</p>"
      "<p>Moteur, évaluation, tables de finales, damiers et aide : l'équipe Tavolex.</p>",
      "<h2>Tavolex 3D</h2><p>Brazilian draughts<br>version 0.1.0</p>"
      "<p>Engine, evaluation, endgame tables, boards and help: the Tavolex team.</p>",
      "<h2>Tavolex 3D</h2><p>Braziliaans dammen<br>versie 0.1.0</p>"
      "<p>Rekenkern, evaluatie, eindspeltabellen, borden en hulp: het Tavolex-team.</p>",
      "<h2>Tavolex 3D</h2><p>Jogo de damas brasileiro<br>versão 0.1.0</p>"
      "<p>Motor, avaliação, tabelas de finais, tabuleiros e ajuda: a equipe Tavolex.</p>",
      "<h2>Tavolex 3D</h2><p>Damas brasileñas<br>versión 0.1.0</p>"
      "<p>Motor, evaluación, tablas de finales, tableros y ayuda: el equipo Tavolex.</p>",
      "<h2>Tavolex 3D</h2><p>Dama brasiliana<br>versione 0.1.0</p>"
      "<p>Motore, valutazione, tabelle dei finali, damiere e guida: il team Tavolex.</p>"}},
};

const Caption StartPanel[] = {
    {"Version", {"Jeu de dames brésiliennes — version 0.1.0", "Brazilian draughts — version 0.1.0", "Braziliaans dammen — versie 0.1.0", "Jogo de damas brasileiro — versão 0.1.0", "Damas brasileñas — versión 0.1.0", "Dama brasiliana — versione 0.1.0"}},
    {"Intro2D", {"Damier 2D jaune", "2D board", "2D-bord", "Tabuleiro 2D", "Tablero 2D", "Damiera 2D"}},
    {"IntroClassique", {"Classique", "Classic", "Klassiek", "Clássico", "Clásico", "Classica"}},
    {"IntroNuit", {"Nuit", "Night", "Nacht", "Noite", "Noche", "Notte"}},
    {"IntroLuxe", {"Luxe", "Deluxe", "Luxe", "Luxo", "Lujo", "Lusso"}},
    {"IntroCopacabana", {"Copacabana", "Copacabana", "Copacabana", "Copacabana", "Copacabana", "Copacabana"}},
    {"IntroIpanema", {"Ipanema", "Ipanema", "Ipanema", "Ipanema", "Ipanema", "Ipanema"}},
    {"IntroInferno", {"Inferno", "Inferno", "Inferno", "Inferno", "Inferno", "Inferno"}},
    {"IntroGrandluxe", {"Grand luxe", "Grand Deluxe", "Extra luxe", "Grande luxo", "Gran lujo", "Gran lusso"}},
    {"IntroSalvador", {"Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia", "Salvador da Bahia"}},
    // Each language's button bears its own name, whatever the language.
    {"Button5", {"Français", "Français", "Français", "Français", "Français", "Français"}},
    {"Button6", {"English", "English", "English", "English", "English", "English"}},
    {"Button7", {"Nederlands", "Nederlands", "Nederlands", "Nederlands", "Nederlands", "Nederlands"}},
    {"Button2", {"Português", "Português", "Português", "Português", "Português", "Português"}},
    {"Button8", {"Español", "Español", "Español", "Español", "Español", "Español"}},
    {"Button1A", {"Italiano", "Italiano", "Italiano", "Italiano", "Italiano", "Italiano"}},
};

// The tooltips of the move list's buttons and of the set-up's piece
// selectors.
const Caption MainWindowHints[] = {
    {"SpeedButton1", {"Revenir au début", "Back to the beginning", "Naar het begin", "Voltar ao início", "Volver al inicio", "Torna all'inizio"}},
    {"SpeedButton2", {"Reculer d'un coup", "Back one move", "Eén zet terug", "Voltar um lance", "Retroceder una jugada", "Indietro di una mossa"}},
    {"SpeedButton3", {"Avancer d'un coup", "Forward one move", "Eén zet vooruit", "Avançar um lance", "Avanzar una jugada", "Avanti di una mossa"}},
    {"SpeedButton4", {"Aller à la fin", "Forward to the last move", "Naar het einde", "Ir ao último lance", "Ir al final", "Vai alla fine"}},
    {"SpeedButton5", {"Inverser le damier", "Flip the board", "Bord omdraaien", "Girar o tabuleiro", "Girar el tablero", "Capovolgi la damiera"}},
    {"SpeedButton10", {"Pion blanc", "White man", "Witte schijf", "Pedra branca", "Ficha blanca", "Pedina bianca"}},
    {"SpeedButton11", {"Dame blanche", "White king", "Witte dam", "Dama branca", "Dama blanca", "Dama bianca"}},
    {"SpeedButton12", {"Pion noir", "Black man", "Zwarte schijf", "Pedra preta", "Ficha negra", "Pedina nera"}},
    {"SpeedButton13", {"Dame noire", "Black king", "Zwarte dam", "Dama preta", "Dama negra", "Dama nera"}},
    {"SpeedButton14", {"Vide", "Empty square", "Leeg veld", "Casa vazia", "Casilla vacía", "Casa vuota"}},
    {"Piontemoin", {"Indique le type pion sélectionné", "The piece a click places", "Het stuk dat een klik plaatst",
                    "A peça que um clique coloca", "La pieza que coloca un clic", "Il pezzo che un clic posa"}},
};

// The analysis window (TForm4). "Editer analyse" writes the analysis to a
// text file.
const Caption AnalysisWindow[] = {
    {"TForm4", {"Analyse", "Analysis", "Analyse", "Análise", "Análisis", "Analisi"}},
    {"BitBtn1", {"Suivant", "Next", "Volgende", "Próximo", "Siguiente", "Avanti"}},
    {"BitBtn2", {"Editer analyse", "Save analysis", "Analyse opslaan", "Salvar a análise", "Guardar el análisis", "Salva l'analisi"}},
    {"BitBtn3", {"Imprimer analyse", "Print analysis", "Analyse afdrukken", "Imprimir a análise", "Imprimir el análisis", "Stampa l'analisi"}},
    {"BitBtn4", {"Fin analyse", "End analysis", "Einde analyse", "Fim da análise", "Fin del análisis", "Fine analisi"}},
};

// The parameter editor (TForm5): its title and buttons. The window is built
// with the English "Parameters" and "Cancel", and French shows them so.
const Caption ParameterEditor[] = {
    {"TForm5", {"Parameters", "Parameters", "Parameters", "Parâmetros", "Parámetros", "Parametri"}},
    {"parametrecancel", {"Cancel", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
};

// The two opening-library editors (TForm2 as "Form2" for White, "Form3" for
// Black) share their buttons; the title and the frame name the colour.
const Caption LibraryEditor[] = {
    {"Valide_Ouverture", {"Ajouter", "Add", "Toevoegen", "Adicionar", "Añadir", "Aggiungi"}},
    {"Effacer", {"Effacer", "Delete", "Wissen", "Apagar", "Borrar", "Cancella"}},
    {"BitBtn1", {"Enregistrer", "Save", "Opslaan", "Salvar", "Guardar", "Salva"}},
    {"BitBtn2", {"Annuler", "Cancel", "Annuleren", "Cancelar", "Cancelar", "Annulla"}},
};
const Caption WhiteLibraryEditor[] = {
    {"Form2", {"White", "White", "Wit", "Brancas", "Blancas", "Bianco"}},
    {"Fiche_Ouvertures", {"Ouvertures (Blancs)", "Openings (White)", "Openingen (Wit)", "Aberturas (brancas)", "Aperturas (blancas)", "Aperture (Bianco)"}},
};
const Caption BlackLibraryEditor[] = {
    {"Form3", {"Black", "Black", "Zwart", "Pretas", "Negras", "Nero"}},
    {"Fiche_Ouvertures", {"Ouvertures (Noirs)", "Openings (Black)", "Openingen (Zwart)", "Aberturas (pretas)", "Aperturas (negras)", "Aperture (Nero)"}},
};

const Caption LibraryEditorHints[] = {
    {"Valide_Ouverture", {"Ajouter l'ouverture ci-dessus dans la liste ci-dessous", "Add the opening above to the list below",
                          "De opening hierboven aan de lijst hieronder toevoegen", "Adicionar a abertura acima à lista abaixo",
                          "Añadir la apertura de arriba a la lista de abajo", "Aggiungi l'apertura qui sopra all'elenco qui sotto"}},
    {"Effacer", {"Effacer l'ouverture ci-dessus (et la même dessous)", "Delete the opening above (and the same one below)",
                 "De opening hierboven wissen (en dezelfde hieronder)", "Apagar a abertura acima (e a mesma abaixo)",
                 "Borrar la apertura de arriba (y la misma de abajo)", "Cancella l'apertura qui sopra (e la stessa qui sotto)"}},
};

const WindowCaptions OwnWindowHints[] = {{"Form2", LibraryEditorHints}, {"Form3", LibraryEditorHints}};

constexpr std::array<const char*, NumLanguages> LocaleNames = {"fr_FR", "en_US", "nl_NL", "pt_BR", "es_ES", "it_IT"};

const WindowCaptions OwnWindows[] = {
    {"TForm4", AnalysisWindow},     {"TForm5", ParameterEditor},   {"Form2", LibraryEditor},
    {"Form2", WhiteLibraryEditor},  {"Form3", LibraryEditor},      {"Form3", BlackLibraryEditor},
};

const Texts Title = {"Tavolex 3D, le jeu", "Tavolex 3D, the game", "Tavolex 3D, het spel",
                     "Tavolex 3D, o jogo", "Tavolex 3D, el juego", "Tavolex 3D, il gioco"};

const Texts RunTexts[] = {
    {"Ordinateur joue", "Computer's turn", "Computer aan zet", "Vez do computador", "Turno del ordenador", "Tocca al computer"},
    {"Joueur joue", "Player's turn", "Speler aan zet", "Vez do jogador", "Turno del jugador", "Tocca al giocatore"},
    {"Ordinateur noir", "Computer: Black", "Computer: zwart", "Computador: pretas", "Ordenador: negras", "Computer: Nero"},
    {"Ordinateur blanc", "Computer: White", "Computer: wit", "Computador: brancas", "Ordenador: blancas", "Computer: Bianco"},
    {"Blancs:Bas->Haut", "White: bottom -> top", "Wit: beneden -> boven", "Brancas: baixo -> cima", "Blancas: abajo -> arriba", "Bianco: giù -> su"},
    {"Blancs:Haut->Bas", "White: top -> bottom", "Wit: boven -> beneden", "Brancas: cima -> baixo", "Blancas: arriba -> abajo", "Bianco: su -> giù"},
    {"Entraînement", "Training", "Training", "Treino", "Entrenamiento", "Allenamento"},
    {"Humain contre humain", "Human against human", "Mens tegen mens", "Humano contra humano", "Humano contra humano", "Umano contro umano"},
    {"Coups : %1", "Move %1", "Zet %1", "Lance %1", "Jugada %1", "Mossa %1"},
    {"Impossible d'ouvrir ce fichier", "Cannot open this file", "Kan dit bestand niet openen", "Não é possível abrir este arquivo",
     "No se puede abrir este archivo", "Impossibile aprire questo file"},
    {"Match", "Match", "Wedstrijd", "Partida", "Partida", "Partita"},
    {"Partie impossible : le classement de %1 dans points.dat est absent, illisible ou hors de 1 à 4000.",
     "No match possible: the rating of %1 in points.dat is missing, unreadable or not between 1 and 4000.",
     "Geen wedstrijd mogelijk: de rating van %1 in points.dat ontbreekt, is onleesbaar of ligt niet tussen 1 en 4000.",
     "Partida impossível: a pontuação de %1 em points.dat está ausente, é ilegível ou não está entre 1 e 4000.",
     "Partida imposible: la puntuación de %1 en points.dat falta, es ilegible o no está entre 1 y 4000.",
     "Partita impossibile: il punteggio di %1 in points.dat manca, è illeggibile o non è compreso tra 1 e 4000."},
    {"Analyse du coup %1 (ply %2) — encore %3 positions", "Analyzing move %1 (ply %2) — %3 positions to go",
     "Analyse van zet %1 (halve zet %2) — nog %3 standen", "Análise do lance %1 (meio lance %2) — faltam %3 posições",
     "Análisis de la jugada %1 (media jugada %2) — quedan %3 posiciones", "Analisi della mossa %1 (semimossa %2) — ancora %3 posizioni"},
    {"Analyse terminée", "Analysis complete", "Analyse voltooid", "Análise concluída", "Análisis terminado", "Analisi terminata"},
    {"Analyse arrêtée", "Analysis stopped", "Analyse gestopt", "Análise interrompida", "Análisis detenido", "Analisi interrotta"},
    {"Fichier trop grand : %1 Mo (au plus %2 Mo)", "File too large: %1 MB (at most %2 MB)",
     "Bestand te groot: %1 MB (hoogstens %2 MB)", "Arquivo grande demais: %1 MB (no máximo %2 MB)",
     "Archivo demasiado grande: %1 MB (como máximo %2 MB)", "File troppo grande: %1 MB (al massimo %2 MB)"},
    {"Aucune partie dans ce fichier", "No game in this file", "Geen partij in dit bestand", "Nenhuma partida neste arquivo",
     "Ninguna partida en este archivo", "Nessuna partita in questo file"},
    {"Partie %1 (%2), coup %3 « %4 » : %5. La partie est rejouée jusqu'au coup précédent.",
     "Game %1 (%2), move %3 \"%4\": %5. The game is replayed up to the move before.",
     "Partij %1 (%2), zet %3 \"%4\": %5. De partij is nagespeeld tot de zet ervoor.",
     "Partida %1 (%2), lance %3 \"%4\": %5. A partida foi reproduzida até o lance anterior.",
     "Partida %1 (%2), jugada %3 «%4»: %5. La partida se ha reproducido hasta la jugada anterior.",
     "Partita %1 (%2), mossa %3 «%4»: %5. La partita è stata ripercorsa fino alla mossa precedente."},
    {"Partie %1 (%2), coup %3 : %4. La partie est rejouée jusqu'au coup précédent.",
     "Game %1 (%2), move %3: %4. The game is replayed up to the move before.",
     "Partij %1 (%2), zet %3: %4. De partij is nagespeeld tot de zet ervoor.",
     "Partida %1 (%2), lance %3: %4. A partida foi reproduzida até o lance anterior.",
     "Partida %1 (%2), jugada %3: %4. La partida se ha reproducido hasta la jugada anterior.",
     "Partita %1 (%2), mossa %3: %4. La partita è stata ripercorsa fino alla mossa precedente."},
    {"Partie %1 (%2) : %3. Rien n'a changé.", "Game %1 (%2): %3. Nothing has changed.",
     "Partij %1 (%2): %3. Er is niets veranderd.", "Partida %1 (%2): %3. Nada foi alterado.",
     "Partida %1 (%2): %3. No ha cambiado nada.", "Partita %1 (%2): %3. Nulla è cambiato."},
    {"ce coup n'est pas légal dans la position atteinte", "this move is not legal in the position reached",
     "deze zet is niet toegestaan in de bereikte stand", "este lance não é permitido na posição alcançada",
     "esta jugada no es legal en la posición alcanzada", "questa mossa non è regolare nella posizione raggiunta"},
    {"plusieurs prises partent et arrivent sur ces cases ; il faut leur chemin complet",
     "several captures start and end on these squares; their whole route is needed",
     "meerdere slagen beginnen en eindigen op deze velden; hun hele route is nodig",
     "várias capturas começam e terminam nestas casas; é preciso o caminho completo",
     "varias capturas empiezan y terminan en estas casillas; hace falta el recorrido completo",
     "più prese partono e arrivano su queste case; serve il percorso completo"},
    {"ce texte n'est pas un coup", "this text is not a move", "deze tekst is geen zet", "este texto não é um lance",
     "este texto no es una jugada", "questo testo non è una mossa"},
    {"un coup manque", "a move is missing", "er ontbreekt een zet", "falta um lance", "falta una jugada",
     "manca una mossa"},
    {"la partie dépasse les %1 demi-coups qu'une partie peut garder", "the game goes beyond the %1 plies a game can keep",
     "de partij gaat verder dan de %1 halve zetten die een partij kan bewaren",
     "a partida ultrapassa os %1 meios-lances que uma partida pode guardar",
     "la partida supera las %1 medias jugadas que una partida puede guardar",
     "la partita supera le %1 semimosse che una partita può conservare"},
    {"la position de départ « %1 » est illisible", "the starting position \"%1\" cannot be read",
     "de beginstand \"%1\" is onleesbaar", "a posição inicial \"%1\" é ilegível",
     "la posición inicial «%1» es ilegible", "la posizione iniziale «%1» è illeggibile"},
    {"c'est un autre jeu de dames (GameType %1), que ce damier ne joue pas",
     "it is another kind of draughts (GameType %1), which this board does not play",
     "het is een ander damspel (GameType %1), dat dit bord niet speelt",
     "é outro jogo de damas (GameType %1), que este tabuleiro não joga",
     "es otro juego de damas (GameType %1), que este tablero no juega",
     "è un altro gioco di dama (GameType %1), che questa damiera non gioca"},
    {"Le nom « %1 » ne peut pas s'écrire dans ce format de fichier ; rien n'a été écrit.",
     "The name \"%1\" cannot be written in this file format; nothing was written.",
     "De naam \"%1\" kan niet in dit bestandsformaat worden geschreven; er is niets geschreven.",
     "O nome \"%1\" não pode ser escrito neste formato de arquivo; nada foi gravado.",
     "El nombre «%1» no puede escribirse en este formato de archivo; no se ha escrito nada.",
     "Il nome «%1» non può essere scritto in questo formato di file; non è stato scritto nulla."},
    {"Choisissez une pièce, ou videz ou remplissez le damier, pour installer une position.",
     "Choose a piece, or empty or fill the board, to set up a position.",
     "Kies een stuk, of maak het bord leeg of vol, om een stand op te zetten.",
     "Escolha uma peça, ou esvazie ou encha o tabuleiro, para montar uma posição.",
     "Elija una pieza, o vacíe o llene el tablero, para preparar una posición.",
     "Scegliete un pezzo, o svuotate o riempite la damiera, per preparare una posizione."},
    {"Installation en cours : un clic pose la pièce choisie. Quittez l'onglet pour jouer.",
     "Setting up: a click places the chosen piece. Leave this page to play.",
     "Opzetten: een klik plaatst het gekozen stuk. Verlaat dit tabblad om te spelen.",
     "Montagem: um clique coloca a peça escolhida. Saia desta aba para jogar.",
     "Preparando: un clic coloca la pieza elegida. Salga de esta pestaña para jugar.",
     "Preparazione: un clic posa il pezzo scelto. Lasciate questa scheda per giocare."},
    {"Fichier en lecture seule : %1", "Read-only file: %1", "Alleen-lezen bestand: %1", "Arquivo somente leitura: %1",
     "Archivo de solo lectura: %1", "File di sola lettura: %1"},
    {"Erreur interne : %1\nLa partie est conservée.", "Internal error: %1\nThe game is kept.",
     "Interne fout: %1\nDe partij blijft bewaard.", "Erro interno: %1\nA partida foi mantida.",
     "Error interno: %1\nLa partida se conserva.", "Errore interno: %1\nLa partita è conservata."},
    {"La dernière partie ne s'est pas terminée normalement. La reprendre ?",
     "The last game did not end normally. Resume it?", "De vorige partij is niet normaal afgesloten. Hervatten?",
     "A última partida não terminou normalmente. Retomá-la?", "La última partida no terminó normalmente. ¿Reanudarla?",
     "L'ultima partita non è terminata normalmente. Riprenderla?"},
    {"Erreur", "Error", "Fout", "Erro", "Error", "Errore"},
    {"Fichier absent : %1", "Missing file: %1", "Bestand ontbreekt: %1", "Arquivo ausente: %1", "Falta el archivo: %1",
     "File mancante: %1"},
    {"Fichier incomplet : %1", "Incomplete file: %1", "Onvolledig bestand: %1", "Arquivo incompleto: %1",
     "Archivo incompleto: %1", "File incompleto: %1"},
    {"Fichier illisible : %1", "Unreadable file: %1", "Onleesbaar bestand: %1", "Arquivo ilegível: %1",
     "Archivo ilegible: %1", "File illeggibile: %1"},
    {"Fichier endommagé : %1", "Damaged file: %1", "Beschadigd bestand: %1", "Arquivo danificado: %1",
     "Archivo dañado: %1", "File danneggiato: %1"},
    {"Eval stat blancs:%1", "White's static eval:%1", "Statische eval. wit:%1", "Aval. estática brancas:%1",
     "Eval. estática blancas:%1", "Val. statica Bianco:%1"},
    {"Eval stat noirs:%1", "Black's static eval:%1", "Statische eval. zwart:%1", "Aval. estática pretas:%1",
     "Eval. estática negras:%1", "Val. statica Nero:%1"},
    // The thinking lines: "Profondeur :     6"; the fixed font lines them up.
    {"Profondeur", "Depth", "Diepte", "Profundidade", "Profundidad", "Profondità"},
    {"Noeuds", "Nodes", "Knopen", "Nós", "Nodos", "Nodi"},
    {"Temps", "Time", "Tijd", "Tempo", "Tiempo", "Tempo"},
    {"Noeuds/s", "Nodes/s", "Knopen/s", "Nós/s", "Nodos/s", "Nodi/s"},
    {"Score", "Score", "Score", "Avaliação", "Evaluación", "Valutazione"},
    {"Coups", "Move", "Zet", "Lance", "Jugada", "Mossa"},
    // File dialog filters
    {"Fichiers Tavolex (*.dam)", "Tavolex games (*.dam)", "Tavolex-partijen (*.dam)", "Partidas Tavolex (*.dam)",
     "Partidas Tavolex (*.dam)", "Partite Tavolex (*.dam)"},
    {"Fichiers texte (*.txt)", "Text files (*.txt)", "Tekstbestanden (*.txt)", "Arquivos de texto (*.txt)",
     "Archivos de texto (*.txt)", "File di testo (*.txt)"},
    {"Fichiers commentaires (*.damt)", "Comment files (*.damt)", "Commentaarbestanden (*.damt)",
     "Arquivos de comentários (*.damt)", "Archivos de comentarios (*.damt)", "File di commenti (*.damt)"},
    {"Fichiers PDN (*.pdn)", "PDN files (*.pdn)", "PDN-bestanden (*.pdn)", "Arquivos PDN (*.pdn)", "Archivos PDN (*.pdn)",
     "File PDN (*.pdn)"},
    {"Fichiers doc (*.doc)", "Word files (*.doc)", "Word-bestanden (*.doc)", "Arquivos Word (*.doc)",
     "Archivos Word (*.doc)", "File Word (*.doc)"},
    {"Fichiers d'ouvertures (*.ovv)", "Opening libraries (*.ovv)", "Openingsbibliotheken (*.ovv)",
     "Bibliotecas de aberturas (*.ovv)", "Bibliotecas de aperturas (*.ovv)", "Biblioteche di aperture (*.ovv)"},
    {"parameters (*.dal)", "Learning files (*.dal)", "Leerbestanden (*.dal)", "Arquivos de aprendizado (*.dal)",
     "Archivos de aprendizaje (*.dal)", "File di apprendimento (*.dal)"},
    {"parameters (*.par)", "Parameter files (*.par)", "Parameterbestanden (*.par)", "Arquivos de parâmetros (*.par)",
     "Archivos de parámetros (*.par)", "File di parametri (*.par)"},
    {"Picture (*.bmp)", "Pictures (*.bmp)", "Afbeeldingen (*.bmp)", "Imagens (*.bmp)", "Imágenes (*.bmp)",
     "Immagini (*.bmp)"},
    {"%1 Blanc: joué : %2; score : %3; meilleur : %4; score : %5",
     "%1 White: played %2, score %3; best %4, score %5",
     "%1 Wit: gespeeld %2, score %3; beste %4, score %5",
     "%1 Brancas: jogada %2, valor %3; melhor %4, valor %5",
     "%1 Blancas: jugada %2, valor %3; mejor %4, valor %5",
     "%1 Bianco: giocata %2, valore %3; migliore %4, valore %5"},
    {"%1 Noir : joué : %2; score : %3; meilleur : %4; score : %5",
     "%1 Black: played %2, score %3; best %4, score %5",
     "%1 Zwart: gespeeld %2, score %3; beste %4, score %5",
     "%1 Pretas: jogada %2, valor %3; melhor %4, valor %5",
     "%1 Negras: jugada %2, valor %3; mejor %4, valor %5",
     "%1 Nero: giocata %2, valore %3; migliore %4, valore %5"},
    {"%1 Blancs: %2; score: %3 ; meilleur: %4; score: %5", "%1 White: %2, score %3; best %4, score %5",
     "%1 Wit: %2, score %3; beste %4, score %5", "%1 Brancas: %2, valor %3; melhor %4, valor %5",
     "%1 Blancas: %2, valor %3; mejor %4, valor %5", "%1 Bianco: %2, valore %3; migliore %4, valore %5"},
    {"%1 Noirs : %2; score: %3 ; meilleur: %4; score: %5", "%1 Black: %2, score %3; best %4, score %5",
     "%1 Zwart: %2, score %3; beste %4, score %5", "%1 Pretas: %2, valor %3; melhor %4, valor %5",
     "%1 Negras: %2, valor %3; mejor %4, valor %5", "%1 Nero: %2, valore %3; migliore %4, valore %5"},
    {"(ne pas prendre en compte le dernier coup et les premiers). Attendre quelques secondes - Analyse en cours",
     "(Disregard the first moves and the last one.) Please wait a few seconds: analyzing",
     "(De eerste zetten en de laatste niet meetellen.) Even geduld: bezig met analyseren",
     "(Não leve em conta os primeiros lances nem o último.) Aguarde alguns segundos: analisando",
     "(No tenga en cuenta las primeras jugadas ni la última.) Espere unos segundos: analizando",
     "(Non considerare le prime mosse né l'ultima.) Attendere qualche secondo: analisi in corso"},
    {"+100 gagne un pion ; -100 perd un pion ; * en début de ligne indique qu'il y avait un bien meilleur coup",
     "+100 wins a man; -100 loses a man; * at the start of a line: there was a much better move",
     "+100 wint een schijf; -100 verliest een schijf; * aan het begin van een regel: er was een veel betere zet",
     "+100 ganha uma pedra; -100 perde uma pedra; * no início da linha: havia um lance muito melhor",
     "+100 gana una ficha; -100 pierde una ficha; * al principio de la línea: había una jugada mucho mejor",
     "+100 vince una pedina; -100 perde una pedina; * all'inizio della riga: c'era una mossa molto migliore"},
};
static_assert(std::size(RunTexts) == static_cast<std::size_t>(Text::Count));

// By game::EndMessage. The French texts are game::endMessageText's, which
// the game file keeps; %1 is the winner's name in a rated game.
const Texts EndMessages[] = {
    {"", "", "", "", "", ""},
    {"Gain des blancs", "White wins", "Wit wint", "Vitória das brancas", "Ganan las blancas", "Vince il Bianco"},
    {"Gain des noirs", "Black wins", "Zwart wint", "Vitória das pretas", "Ganan las negras", "Vince il Nero"},
    {"Désolé, TAVOLEX a gagné", "Sorry, TAVOLEX has won", "Helaas, TAVOLEX heeft gewonnen", "Sinto muito, TAVOLEX ganhou",
     "Lo siento, TAVOLEX ha ganado", "Spiacente, TAVOLEX ha vinto"},
    {"Bravo, vous avez gagné", "Well done, you have won", "Bravo, u hebt gewonnen", "Parabéns, você ganhou",
     "¡Enhorabuena, ha ganado!", "Bravo, avete vinto"},
    {"%1 gagne", "%1 wins", "%1 wint", "%1 vence", "%1 gana", "%1 vince"},
    {"Match nul !", "Draw!", "Remise!", "Empate!", "¡Tablas!", "Patta!"},
    {"Temps dépassé, gain TAVOLEX", "Time's up, TAVOLEX wins", "Tijd om, TAVOLEX wint", "Tempo esgotado, TAVOLEX vence",
     "Tiempo agotado, gana TAVOLEX", "Tempo scaduto, vince TAVOLEX"},
    {"Temps dépassé, vous gagnez", "Time's up, you win", "Tijd om, u wint", "Tempo esgotado, você vence",
     "Tiempo agotado, usted gana", "Tempo scaduto, avete vinto"},
    {"Vous abandonnez, gain TAVOLEX", "You resign, TAVOLEX wins", "U geeft op, TAVOLEX wint", "Você desistiu, TAVOLEX vence",
     "Usted abandona, gana TAVOLEX", "Abbandonate, vince TAVOLEX"},
};
static_assert(std::size(EndMessages) == static_cast<std::size_t>(game::EndMessage::PersonResigned) + 1);
// clang-format on

int clampLanguage(int language) { return language >= 0 && language < NumLanguages ? language : 0; }

// The one label a panel shows its caption with, if it has exactly one.
QLabel* panelLabel(QWidget* panel) {
    const QList<QLabel*> labels = panel->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    return labels.size() == 1 ? labels.front() : nullptr;
}

// A page of a page control takes its caption as its tab's text.
QTabWidget* pageControlOf(QWidget* widget) {
    if (auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget()))
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()); tabs && tabs->indexOf(widget) >= 0)
            return tabs;
    return nullptr;
}

// Dialogs and widgets made windows; menus are windows too, but popups of
// the window that holds them.
bool isOwnWindow(const QWidget* widget) {
    return widget->isWindow() && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog);
}

// True when no window of its own lies between the object and `root`.
bool inWindow(const QObject* object, const QWidget* root) {
    for (; object && object != root; object = object->parent())
        if (const auto* w = qobject_cast<const QWidget*>(object); w && isOwnWindow(w)) return false;
    return object == root;
}

template <class T>
T* findInWindow(QWidget* root, const QString& name) {
    for (T* object : root->findChildren<T*>(name))
        if (inWindow(object, root)) return object;
    return nullptr;
}

void setCaption(QWidget* root, QObject* holder, const QString& text) {
    if (holder == root) {
        root->setWindowTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(holder)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(holder)) {
        action->setText(text);
    } else if (auto* widget = qobject_cast<QWidget*>(holder)) {
        if (QTabWidget* tabs = pageControlOf(widget))
            tabs->setTabText(tabs->indexOf(widget), text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(text);
    }
}

}  // namespace

std::span<const Caption> mainWindow() { return MainWindow; }
std::span<const Caption> startPanel() { return StartPanel; }
std::span<const Caption> mainWindowHints() { return MainWindowHints; }
std::span<const WindowCaptions> ownWindowHints() { return OwnWindowHints; }
const char* localeName(int language) { return LocaleNames[static_cast<std::size_t>(clampLanguage(language))]; }
const Texts& windowTitle() { return Title; }
std::span<const WindowCaptions> ownWindows() { return OwnWindows; }

QString text(Text which, int language) {
    return QString::fromUtf8(
        RunTexts[static_cast<std::size_t>(which)][static_cast<std::size_t>(clampLanguage(language))]);
}

engine::ThinkingWords thinkingWords(int language) {
    const auto word = [language](Text t) {
        return RunTexts[static_cast<std::size_t>(t)][static_cast<std::size_t>(clampLanguage(language))];
    };
    return {word(Text::Depth),          word(Text::Nodes), word(Text::Time),
            word(Text::NodesPerSecond), word(Text::Score), word(Text::MoveCount)};
}

QString thinkingLineIn(const QString& line, int language) {
    static constexpr Text Words[] = {Text::Depth,          Text::Nodes, Text::Time,
                                     Text::NodesPerSecond, Text::Score, Text::MoveCount};
    for (Text t : Words)
        for (int from = 0; from < NumLanguages; ++from) {
            const QString word = text(t, from) + QStringLiteral(" : ");
            if (line.startsWith(word)) return text(t, language) + QStringLiteral(" : ") + line.mid(word.size());
        }
    return line;
}

namespace {

// "d4-e5", or "d4xf6" for a capture.
QString squareText(rules::Square s) {
    const std::string_view name = rules::squareName(s);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString moveText(rules::Square from, rules::Square to, bool capture) {
    return squareText(from) + (capture ? u'x' : u'-') + squareText(to);
}

}  // namespace

QString analysisLine(const engine::AnalysisLine& l, AnalysisForm form, int language) {
    const bool white = l.mover == rules::White;
    const Text pattern = form == AnalysisForm::Long ? (white ? Text::AnalysisLongWhite : Text::AnalysisLongBlack)
                                                    : (white ? Text::AnalysisShortWhite : Text::AnalysisShortBlack);
    // The figures are right-aligned on two places, as the lists are read in columns.
    QString out =
        text(pattern, language)
            .arg(QString::number(l.ply / 2 + 1).rightJustified(2), moveText(l.playedFrom, l.playedTo, l.playedCapture),
                 QString::number(l.playedScore).rightJustified(2), moveText(l.bestFrom, l.bestTo, l.bestCapture),
                 QString::number(l.bestScore).rightJustified(2));
    if (!l.marked) return out;
    if (form == AnalysisForm::Long) {
        const auto& c = l.continuation;
        const auto& x = l.continuationCaptures;
        out += QStringLiteral(" ->( ") + moveText(c[0], c[1], x[0]) + u' ' + moveText(c[2], c[3], x[1]) +
               QStringLiteral(" ....)");
    }
    return u'*' + out;
}

QString translateMessage(const QString& french, int language) {
    static constexpr Text Messages[] = {Text::CannotOpen, Text::ReadOnlyFile,   Text::MissingFile,
                                        Text::ShortFile,  Text::UnreadableFile, Text::DamagedFile};
    QStringList lines = french.split(QLatin1Char('\n'));
    for (QString& line : lines)
        for (Text t : Messages) {
            const QString pattern = text(t, 0);
            // Every such text has its one %1, if any, at its end.
            const qsizetype arg = pattern.indexOf(QStringLiteral("%1"));
            const QString fixed = arg < 0 ? pattern : pattern.left(arg);
            if (arg < 0 ? line == fixed : line.startsWith(fixed)) {
                line = arg < 0 ? text(t, language) : text(t, language).arg(line.mid(fixed.size()));
                break;
            }
        }
    return lines.join(QLatin1Char('\n'));
}

QString endMessage(game::EndMessage which, const QString& winner, int language) {
    const QString text = QString::fromUtf8(
        EndMessages[static_cast<std::size_t>(which)][static_cast<std::size_t>(clampLanguage(language))]);
    return which == game::EndMessage::RatedWinner ? text.arg(winner) : text;
}

QObject* captionHolder(QWidget* window, const QString& component) {
    if (component == window->objectName()) return window;
    // A menu and its item may share the name: the menu's title is the item's text.
    if (QMenu* menu = findInWindow<QMenu>(window, component)) return menu;
    if (QAction* action = findInWindow<QAction>(window, component)) return action;
    QWidget* widget = findInWindow<QWidget>(window, component);
    if (!widget) return nullptr;
    if (pageControlOf(widget) || qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget) ||
        qobject_cast<QGroupBox*>(widget))
        return widget;
    return panelLabel(widget);
}

int apply(QWidget* root, std::span<const Caption> table, int language) {
    const std::size_t l = static_cast<std::size_t>(clampLanguage(language));
    int applied = 0;
    for (const Caption& c : table)
        if (QObject* holder = captionHolder(root, QString::fromLatin1(c.component))) {
            setCaption(root, holder, QString::fromUtf8(c.texts[l]));
            ++applied;
        }
    return applied;
}

int applyHints(QWidget* root, std::span<const Caption> table, int language) {
    const std::size_t l = static_cast<std::size_t>(clampLanguage(language));
    int applied = 0;
    for (const Caption& c : table)
        if (QWidget* widget = findInWindow<QWidget>(root, QString::fromLatin1(c.component))) {
            widget->setToolTip(QString::fromUtf8(c.texts[l]));
            ++applied;
        }
    return applied;
}

int applyAll(QWidget* mainWindow, int language) {
    int applied = apply(mainWindow, MainWindow, language) + applyHints(mainWindow, MainWindowHints, language);
    const auto ownWindow = [mainWindow](const char* name) -> QWidget* {
        auto* window = mainWindow->findChild<QWidget*>(QString::fromLatin1(name));
        return window && isOwnWindow(window) ? window : nullptr;
    };
    for (const WindowCaptions& w : OwnWindows)
        if (QWidget* window = ownWindow(w.window)) applied += apply(window, w.captions, language);
    for (const WindowCaptions& w : OwnWindowHints)
        if (QWidget* window = ownWindow(w.window)) applied += applyHints(window, w.captions, language);
    return applied;
}

}  // namespace ui::captions

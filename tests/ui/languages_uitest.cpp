// The six languages as a person meets them: every text on every widget of
// every window fits its widget in every language (no cut word, no tab behind
// scroll arrows, no menu pushed out of the bar), Qt's own dialogs speak the
// interface language, nothing French is left in the English window, and the
// core's messages reach the error box in the interface language.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>

#include "engine/analysis.h"
#include "engine/search_stats.h"
#include "engine/thinking.h"
#include "files/game_file.h"
#include "game/end_of_game.h"
#include "game/navigation.h"
#include "program_copy.h"
#include "ui/captions.h"
#include "ui/translations.h"
#include "window_parts.h"

namespace {

namespace cap = ui::captions;

const char* const LanguageItems[] = {"Franais1", "English1", "Nederlands1", "Portugues1", "Espanol1", "Italiano1"};
const char* const LanguageButtons[] = {"Button5", "Button6", "Button7", "Button2", "Button8", "Button1A"};

bool hasLetter(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// Each finding on a line of its own, then the verdict.
bool noneFound(const QStringList& found) {
    for (const QString& f : found) qWarning().noquote() << f;
    return found.isEmpty();
}

bool isOwnWindow(const QWidget* w) {
    return w->isWindow() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog);
}

// The widget lies in `window` itself, not in a window of its own inside it.
bool inWindow(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w; p && p != window; p = p->parentWidget())
        if (isOwnWindow(p)) return false;
    return true;
}

// What a push button adds round its text (the style's frame and margins),
// measured on a text long enough to pass the style's smallest button.
int pushButtonPadding() {
    QPushButton probe(QString(40, QLatin1Char('x')));
    return probe.sizeHint().width() - probe.fontMetrics().horizontalAdvance(probe.text());
}

// Why the text of `w` does not fit it, or nothing when it does (or when it
// shows no words).
QString clipping(QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    const auto tooSmall = [w](const QString& text, QSize need) {
        return QStringLiteral("\"%1\" needs %2x%3, has %4x%5")
            .arg(text)
            .arg(need.width())
            .arg(need.height())
            .arg(w->width())
            .arg(w->height());
    };
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (!hasLetter(label->text()) || label->pixmap().toImage().width() > 0) return {};
        if (label->wordWrap()) {
            const int need = label->heightForWidth(label->width());
            return need > label->height() ? tooSmall(label->text(), {label->width(), need}) : QString();
        }
        const QSize need = label->sizeHint();
        return need.width() > label->width() || need.height() > label->height() ? tooSmall(label->text(), need)
                                                                                : QString();
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (!hasLetter(button->text())) return {};
        QString plain = button->text();
        plain.remove(QLatin1Char('&'));
        const int need = fm.horizontalAdvance(plain) + pushButtonPadding() +
                         (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
        return need > button->width() ? tooSmall(button->text(), {need, button->height()}) : QString();
    }
    if (auto* tool = qobject_cast<QToolButton*>(w)) {
        if (!hasLetter(tool->text()) || (!tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonIconOnly))
            return {};
        const QSize need = tool->sizeHint();
        return need.width() > tool->width() ? tooSmall(tool->text(), need) : QString();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {  // radio buttons and check boxes
        if (!hasLetter(button->text())) return {};
        const QSize need = button->sizeHint();
        return need.width() > button->width() || need.height() > button->height() ? tooSmall(button->text(), need)
                                                                                  : QString();
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        if (!hasLetter(group->title())) return {};
        const int need = fm.horizontalAdvance(group->title()) + 16;
        return need > group->width() ? tooSmall(group->title(), {need, group->height()}) : QString();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (!edit->isReadOnly() || !hasLetter(edit->text())) return {};
        const int need = fm.horizontalAdvance(edit->text()) + 8;
        return need > edit->width() ? tooSmall(edit->text(), {need, edit->height()}) : QString();
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        // Every tab at its full width, none behind the scroll arrows.
        QTabBar* bar = tabs->tabBar();
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        const int need = bar->sizeHint().width();
        return need > tabs->width() ? tooSmall(texts.join(QLatin1String(" | ")), {need, bar->height()}) : QString();
    }
    return {};
}

// Shows what is hidden in `window` (overlay panels, the problems' buttons,
// the resignation buttons ...) so that every widget has the geometry it
// is shown with, walks the pages of every page control, and says what is
// cut. Widgets are shown again as they were.
QStringList clippedIn(QWidget* window, const QString& where) {
    QStringList out;
    QList<QWidget*> shown;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!inWindow(w, window) || isOwnWindow(w) || qobject_cast<QStackedWidget*>(w->parentWidget())) continue;
        if (qobject_cast<QMenu*>(w) || !w->isHidden()) continue;
        w->show();
        shown << w;
    }
    QCoreApplication::processEvents();
    const auto check = [&](QWidget* w) {
        if (const QString why = clipping(w); !why.isEmpty()) out << where + ": " + w->objectName() + " " + why;
    };
    QList<QTabWidget*> pageControls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!inWindow(w, window) || qobject_cast<QMenu*>(w)) continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) pageControls << tabs;
        // Pages are looked at with their page control, one at a time.
        bool onOtherPage = false;
        for (QWidget* p = w; p && p != window; p = p->parentWidget())
            if (auto* stack = qobject_cast<QStackedWidget*>(p->parentWidget()); stack && stack->currentWidget() != p)
                onOtherPage = true;
        if (!onOtherPage) check(w);
    }
    for (QTabWidget* tabs : pageControls) {
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current) continue;
            const QSignalBlocker quiet(tabs);  // the window's page rules are not what is tested here
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            for (QWidget* w : tabs->widget(i)->findChildren<QWidget*>()) check(w);
        }
        const QSignalBlocker quiet(tabs);
        tabs->setCurrentIndex(current);
    }
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        // A menu that does not fit goes behind the bar's extension arrow.
        QMenuBar* bar = main->menuBar();
        for (QAction* a : bar->actions())
            if (a->isVisible() && !bar->actionGeometry(a).isValid())
                out << where + ": menu " + a->text() + " out of the bar";
    }
    for (QWidget* w : shown) w->hide();
    return out;
}

// Texts the window chooses while it runs, with the widget that shows each
// (and what its %1 may be at the longest).
struct RunTextPlace {
    const char* widget;
    cap::Text text;
    const char* argument;
};
const RunTextPlace RunTextPlaces[] = {
    {"Panel11", cap::Text::Training, ""},
    {"Panel11", cap::Text::TwoPeople, ""},
    {"Panel11", cap::Text::RatedGame, ""},
    {"Nbcoups3d", cap::Text::Moves, "126"},
    {"Bas_Haut", cap::Text::WhiteUp, ""},
    {"Bas_Haut", cap::Text::WhiteDown, ""},
    {"Couleurordi", cap::Text::ComputerBlack, ""},
    {"Couleurordi", cap::Text::ComputerWhite, ""},
    {"Couleurjoue", cap::Text::ComputerTurn, ""},
    {"Couleurjoue", cap::Text::PlayerTurn, ""},
    {"Blancs", cap::Text::EvalWhite, "-9999"},
    {"Noirs", cap::Text::EvalBlack, "-9999"},
    {"Etat_installation", cap::Text::SetupIdle, ""},
    {"Etat_installation", cap::Text::SetupActive, ""},
    {"Refus_match", cap::Text::UnreadableRating, "Nineteen characters"},
};

}  // namespace

class LanguagesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testsupport::ProgramCopy> folder;
    bool shared = false;
    std::unique_ptr<ui::TForm1> form;

    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // A window on a program folder of the test's own, copied once unless a
    // test brings its own; the game a window left behind is not offered to
    // the next.
    void newWindow(std::unique_ptr<testsupport::ProgramCopy> copy = {}) {
        form.reset();
        if (copy || !folder || !shared) {
            shared = !copy;
            folder = copy ? std::move(copy) : testsupport::copyWholeProgramFolder();
        }
        QFile::remove(folder->file("recovery.dam"));
        form = std::make_unique<ui::TForm1>(folder->path());
        form->setHoldFunction([](int) {});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void trigger(const char* name) {
        QAction* a = form->findChild<QAction*>(name);
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
        settle();
    }
    // Every widget of the window and of its own windows, in the language.
    QStringList clippedEverywhere(int language) {
        const QString where = QString::fromLatin1(LanguageItems[language]);
        QStringList out = clippedIn(form.get(), where);
        for (QWidget* window : {static_cast<QWidget*>(form->bookCommands().whiteEditor),
                                static_cast<QWidget*>(form->bookCommands().blackEditor),
                                static_cast<QWidget*>(form->analysisCommands().analysisWindow)}) {
            window->show();
            settle();
            out += clippedIn(window, where + "/" + window->objectName());
            window->hide();
        }
        // The texts chosen at run time, each in the widget that shows it.
        for (const RunTextPlace& p : RunTextPlaces) {
            auto* w = form->findChild<QWidget*>(p.widget);
            if (!w) {
                out << QStringLiteral("no widget %1").arg(p.widget);
                continue;
            }
            QString text = cap::text(p.text, language);
            if (*p.argument) text = text.arg(QString::fromLatin1(p.argument));
            const bool hidden = w->isHidden();
            w->show();
            QString before;
            if (auto* l = qobject_cast<QLabel*>(w)) before = l->text(), l->setText(text);
            if (auto* b = qobject_cast<QAbstractButton*>(w)) before = b->text(), b->setText(text);
            if (auto* e = qobject_cast<QLineEdit*>(w)) before = e->text(), e->setText(text);
            // The set-up page shows these: looked at as if it were the current page.
            for (QWidget* ancestor = w; ancestor; ancestor = ancestor->parentWidget())
                if (auto* stack = qobject_cast<QStackedWidget*>(ancestor->parentWidget())) {
                    const QSignalBlocker quiet(stack);
                    stack->setCurrentWidget(ancestor);
                }
            settle();
            if (const QString why = clipping(w); !why.isEmpty())
                out << where + " (while playing): " + p.widget + " " + why;
            if (auto* l = qobject_cast<QLabel*>(w)) l->setText(before);
            if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(before);
            if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(before);
            w->setHidden(hidden);
        }
        {
            const QSignalBlocker quiet(form->pages);
            form->pages->setCurrentIndex(0);
        }
        // The end-of-game panel's message, with the longest name a player may have.
        for (int m = int(game::EndMessage::WhiteWins); m <= int(game::EndMessage::PersonResigned); ++m) {
            form->endMessage->setText(cap::endMessage(game::EndMessage(m), "Nineteen characters", language));
            if (const QString why = clipping(form->endMessage); !why.isEmpty()) out << where + ": qui_gagne " + why;
        }
        form->endMessage->clear();
        // The thinking lines at their widest: the "Calcul" page's list.
        engine::SearchStats stats;
        stats.depth = 99;
        stats.nodes = 99999999;
        stats.timed = true;
        stats.seconds = 99999;
        stats.score = -9998;
        stats.moveNumber = 126;
        for (const std::string& line : engine::thinkingLines(stats, cap::thinkingWords(language))) {
            const int need =
                form->thinkingPage->thinkingLines->fontMetrics().horizontalAdvance(QString::fromUtf8(line)) + 8;
            if (need > form->thinkingPage->thinkingLines->viewport()->width())
                out << where + ": ListBox2 \"" + QString::fromUtf8(line) + "\" needs " + QString::number(need);
        }
        return out;
    }

private slots:
    // The start panel in each language, its own button pressed.
    void theStartPanelFitsInEveryLanguage() {
        newWindow();
        QStringList clipped;
        for (int l : {1, 2, 3, 4, 5, 0}) {
            QTest::mouseClick(form->findChild<QPushButton*>(LanguageButtons[l]), Qt::LeftButton);
            settle();
            QCOMPARE(form->interfaceLanguage(), l);
            clipped += clippedIn(form->startPanel, QString::fromLatin1(LanguageButtons[l]));
        }
        QVERIFY2(noneFound(clipped), qPrintable(QStringLiteral("%1 texts do not fit").arg(clipped.size())));
        // The screen advice of 800x600 days is gone.
        QVERIFY(!form->findChild<QLabel*>("Conseil"));
    }

    // Every widget of every window, every page and every panel, flat and
    // perspective, in every language.
    void everyTextFitsItsWidgetInEveryLanguage() {
        newWindow();
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        QStringList clipped;
        for (const char* style : {"Damier2D1", "Damier3D1"}) {
            trigger(style);
            for (int l = 0; l < cap::NumLanguages; ++l) {
                trigger(LanguageItems[l]);
                clipped += clippedEverywhere(l);
            }
        }
        clipped.removeDuplicates();
        QVERIFY2(noneFound(clipped), qPrintable(QStringLiteral("%1 texts do not fit").arg(clipped.size())));
    }

    // In English no French is left: every text a person reads differs from
    // the French window's, but for the words both languages write alike.
    void theEnglishWindowHasNoFrenchLeft() {
        newWindow();
        QTest::mouseClick(form->findChild<QPushButton*>("Intro2D"), Qt::LeftButton);
        settle();
        const auto texts = [this] {
            QMap<QString, QString> out;
            for (QWidget* w : form->findChildren<QWidget*>()) {
                const QString name = w->objectName();
                // What shows in the window itself (the pages of a page control count as shown).
                bool onPage = false;
                for (QWidget* p = w; p && p != form.get(); p = p->parentWidget())
                    onPage = onPage || qobject_cast<QStackedWidget*>(p->parentWidget());
                if (name.isEmpty() || !inWindow(w, form.get()) || (!onPage && !w->isVisibleTo(form.get()))) continue;
                if (auto* l = qobject_cast<QLabel*>(w)) out[name] = l->text();
                if (auto* b = qobject_cast<QAbstractButton*>(w))
                    out[name] = b->text(), out[name + "/hint"] = b->toolTip();
                if (auto* g = qobject_cast<QGroupBox*>(w)) out[name] = g->title();
                if (auto* e = qobject_cast<QLineEdit*>(w); e && e->isReadOnly()) out[name] = e->text();
                if (auto* t = qobject_cast<QTabWidget*>(w))
                    for (int i = 0; i < t->count(); ++i) out[name + "/" + QString::number(i)] = t->tabText(i);
            }
            for (QAction* a : form->findChildren<QAction*>())
                if (!a->objectName().isEmpty() && a->isVisible()) out[a->objectName()] = a->text();
            for (int i = 0; i < form->thinkingPage->thinkingLines->count(); ++i)
                out["ListBox2/" + QString::number(i)] = form->thinkingPage->thinkingLines->item(i)->text();
            out["title"] = form->windowTitle();
            return out;
        };
        // Something on every page: the thinking lines, the set-up page.
        engine::SearchStats stats;
        stats.depth = 6;
        stats.nodes = 1234;
        stats.moveNumber = 3;
        for (const std::string& line : engine::thinkingLines(stats))
            form->thinkingPage->thinkingLines->addItem(QString::fromUtf8(line));
        form->pages->setCurrentWidget(form->setupPage);
        settle();
        const QMap<QString, QString> french = texts();
        trigger("English1");
        const QMap<QString, QString> english = texts();
        // Written alike in both languages.
        const QStringList same = {"OK",
                                  "Training",
                                  "Match",
                                  "Options",
                                  "Pause",
                                  "Documentation",
                                  "Copacabana",
                                  "Ipanema",
                                  "Inferno",
                                  "Salvador da Bahia",
                                  "Idioma/Langue/Language/Taal",
                                  "Français",
                                  "English",
                                  "Nederlands",
                                  "Português",
                                  "Español",
                                  "Italiano",
                                  "minutes",
                                  "Mister X"};
        const auto hasWord = [](const QString& t) {
            return std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLetter(); });
        };
        QStringList frenchLeft;
        for (auto it = french.begin(); it != french.end(); ++it)
            if (hasWord(it.value()) && english.value(it.key()) == it.value() && !same.contains(it.value().trimmed()) &&
                !it.value().startsWith("Score :"))
                frenchLeft << it.key() + " \"" + it.value() + "\"";
        QVERIFY2(noneFound(frenchLeft), "French texts in the English window");
        QCOMPARE(english["ListBox2/0"], QString("Depth :     6"));
        QVERIFY(english["Blancs"].startsWith("White's static eval:"));
        trigger("Nederlands1");
        QCOMPARE(form->windowTitle(), QString("Tavolex 3D, het spel"));
        QCOMPARE(form->thinkingPage->thinkingLines->item(0)->text(), QString("Diepte :     6"));
    }

    // Qt's dialogs and message box buttons come in the interface language
    // from Qt's own catalogues; without them Qt's texts stay English and
    // the program goes on.
    void qtsOwnDialogsSpeakTheInterfaceLanguage() {
        const QString catalogues = ui::translations::qtCatalogueFolder();
        QVERIFY2(QFileInfo::exists(catalogues + "/qtbase_fr.qm"),
                 qPrintable("Qt's catalogues are missing from " + catalogues + " (Debian: qt6-translations-l10n)"));
        const struct {
            int language;
            const char* cancel;
            const char* save;
        } cases[] = {{0, "Annuler", "Enregistrer"}, {1, "Cancel", "Save"},      {2, "Annuleren", "Opslaan"},
                     {3, "Cancelar", "Salvar"},     {4, "Cancelar", "Guardar"}, {5, "Annulla", "Salva"}};
        for (const auto& c : cases) {
            QVERIFY(ui::translations::useQtTranslations(c.language));
            QDialogButtonBox box(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
            QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(c.cancel));
            QCOMPARE(box.button(QDialogButtonBox::Save)->text().remove('&'), QString::fromUtf8(c.save));
            QCOMPARE(QLocale().name(), QString::fromLatin1(cap::localeName(c.language)));
        }
        // No catalogue where it is looked for: English, and no harm done.
        QTemporaryDir empty;
        QVERIFY(!ui::translations::useQtTranslations(2, empty.path()));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Cancel"));
        QVERIFY(ui::translations::useQtTranslations(0));

        // The window's own file dialog, in Dutch then Portuguese.
        newWindow();
        for (const auto& [item, lookIn] :
             {std::pair{"Nederlands1", "Zoeken in:"}, std::pair{"Portugues1", "Procurar em:"}}) {
            trigger(item);
            QStringList seen;
            QTimer::singleShot(100, [&] {
                if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                    for (QLabel* l : dialog->findChildren<QLabel*>()) seen << l->text();
                    for (QAbstractButton* b : dialog->findChildren<QPushButton*>()) seen << b->text();
                    dialog->reject();
                }
            });
            ui::runFileDialog(form.get(),
                              {false, catalogues, {cap::text(cap::Text::GameFiles, form->interfaceLanguage())}, "dam"});
            QVERIFY2(seen.contains(QString::fromUtf8(lookIn)), qPrintable(seen.join('|')));
        }
        trigger("Franais1");
    }

    // A text keeps, in every language, the blanks the program fills in: the
    // same %1, %2 ... as the French (a text that lost one would show "%3").
    void everyLanguageKeepsTheBlanksOfItsTexts() {
        const QRegularExpression argument(QStringLiteral("%\\d"));
        const auto blanks = [&](const QString& text) {
            QStringList found;
            for (auto m = argument.globalMatch(text); m.hasNext();) found << m.next().captured();
            found.sort();
            return found;
        };
        for (int t = 0; t < int(cap::Text::Count); ++t) {
            const QStringList french = blanks(cap::text(cap::Text(t), 0));
            for (int l = 1; l < cap::NumLanguages; ++l)
                QVERIFY2(blanks(cap::text(cap::Text(t), l)) == french, qPrintable(cap::text(cap::Text(t), l)));
        }
    }

    // The analysed moves as each list shows them: the number and scores on
    // two places, captures with "x", a marked move with its star and, in
    // the long form, the next two moves of the best line.
    void analysedMovesReadInEachLanguage() {
        const auto square = [](const char* name) { return *rules::parseSquareName(name); };
        engine::AnalysisLine black;
        black.ply = 5;  // Black's third move
        black.mover = rules::Black;
        black.playedFrom = square("f6");
        black.playedTo = square("e5");
        black.bestFrom = square("b6");
        black.bestTo = square("a5");
        black.playedScore = -25;
        black.bestScore = 40;
        black.marked = true;
        black.continuation = {square("c3"), square("d4"), square("e5"), square("c3")};
        engine::AnalysisLine white;
        white.ply = 0;
        white.playedFrom = square("c3");
        white.playedTo = square("d4");
        white.bestFrom = square("e3");
        white.bestTo = square("g5");
        white.bestCapture = true;
        white.playedScore = 5;
        white.bestScore = 5;
        const struct {
            const engine::AnalysisLine& line;
            cap::AnalysisForm form;
            int language;
            const char* expected;
        } cases[] = {
            {black, cap::AnalysisForm::Long, 0,
             "* 3 Noir : joué : f6-e5; score : -25; meilleur : b6-a5; score : 40 ->( c3-d4 e5-c3 ....)"},
            {black, cap::AnalysisForm::Short, 0, "* 3 Noirs : f6-e5; score: -25 ; meilleur: b6-a5; score: 40"},
            {black, cap::AnalysisForm::Short, 1, "* 3 Black: f6-e5, score -25; best b6-a5, score 40"},
            {black, cap::AnalysisForm::Long, 2,
             "* 3 Zwart: gespeeld f6-e5, score -25; beste b6-a5, score 40 ->( c3-d4 e5-c3 ....)"},
            {white, cap::AnalysisForm::Long, 1, " 1 White: played c3-d4, score  5; best e3xg5, score  5"},
            {white, cap::AnalysisForm::Short, 3, " 1 Brancas: c3-d4, valor  5; melhor e3xg5, valor  5"},
            {white, cap::AnalysisForm::Short, 4, " 1 Blancas: c3-d4, valor  5; mejor e3xg5, valor  5"},
            {white, cap::AnalysisForm::Short, 5, " 1 Bianco: c3-d4, valore  5; migliore e3xg5, valore  5"},
        };
        for (const auto& c : cases)
            QCOMPARE(cap::analysisLine(c.line, c.form, c.language), QString::fromUtf8(c.expected));
    }

    // The error box: its caption and the core's French messages in the
    // interface language, line by line, with the file names kept.
    void theErrorBoxSpeaksTheInterfaceLanguage() {
        const struct {
            const char* french;
            int language;
            const char* said;
        } cases[] = {
            {"Impossible d'ouvrir ce fichier", 1, "Cannot open this file"},
            {"Impossible d'ouvrir ce fichier\nImages1/1pba.BMP", 2, "Kan dit bestand niet openen\nImages1/1pba.BMP"},
            {"Fichier absent : dod.bib, dodd.bib\nFichier endommagé : doppd.bib", 1,
             "Missing file: dod.bib, dodd.bib\nDamaged file: doppd.bib"},
            {"Fichier incomplet : kesto.dat", 5, "File incompleto: kesto.dat"},
            {"Fichier en lecture seule : partie.dam", 3, "Arquivo somente leitura: partie.dam"},
            {"Fichier illisible : x.par", 0, "Fichier illisible : x.par"},
            {"Partie sans nom", 1, "Partie sans nom"},  // not one of the core's messages: as it is
        };
        for (const auto& c : cases)
            QCOMPARE(cap::translateMessage(QString::fromUtf8(c.french), c.language), QString::fromUtf8(c.said));

        newWindow();
        trigger("English1");
        QStringList boxes;
        QTimer timer;
        connect(&timer, &QTimer::timeout, &timer, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxes << box->windowTitle() + "|" + box->text() + "|" + box->buttons().front()->text();
                box->accept();
            }
        });
        timer.start(10);
        form->core().host->showError("Fichier absent : hashkey33.dat");
        timer.stop();
        QCOMPARE(boxes, QStringList{"Error|Missing file: hashkey33.dat|OK"});
    }

    // A resume file whose language byte names no language opens in French.
    void aResumeFileWithoutAKnownLanguageOpensInFrench() {
        for (int stored : {2, 9}) {
            auto copy = testsupport::copyProgramFolder(false);
            game::Core core;
            game::installPosition(core, rules::startingPosition(), rules::White);
            files::GameSettings settings;
            settings.language = static_cast<std::uint8_t>(stored);
            const std::vector<std::uint8_t> bytes = files::encodeGameFile(core.game.record, rules::White, settings);
            QVERIFY(testsupport::writeAll(
                copy->file("last32.dam"),
                QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))));
            newWindow(std::move(copy));
            QTRY_COMPARE(form->interfaceLanguage(), stored == 2 ? 2 : 0);
            QCOMPARE(form->windowTitle(),
                     QString::fromUtf8(stored == 2 ? "Tavolex 3D, het spel" : "Tavolex 3D, le jeu"));
        }
    }
};

QTEST_MAIN(LanguagesTest)
#include "languages_uitest.moc"

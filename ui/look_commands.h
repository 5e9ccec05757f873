#pragma once
// How the game looks and speaks: the board styles (the flat board and the
// eight perspective styles), blind play, the board's picture saved to a
// file, the about box, help, the evaluation parameters' editor and files,
// and the six interface languages.

#include <QObject>

class QFrame;
class QString;

namespace ui {

class DialogPanel;
class HelpViewer;
class TForm1;
class TForm5;

class LookCommands : public QObject {
    Q_OBJECT
public:
    explicit LookCommands(TForm1& window);

    // A style from the menu or the start panel: 0 the flat board, 1..8 the
    // perspective styles. From the start panel it starts the game first.
    void chooseStyle(int style);
    int style() const { return m_style; }
    void switchBlindPlay();
    void exportPicture();
    void showAbout();
    void showGuide();
    void showRules();
    void openParameterEditor();
    void acceptParameters();
    void saveParameters();
    void loadParameters();
    // The window caption, the start panel while it shows, every caption of
    // the window, and the texts chosen at run time that are showing now.
    void selectLanguage(int language);

    DialogPanel* about;      // "Panel8"
    TForm5* parameters;      // "Parameters"
    HelpViewer* help;

private:
    void selectPerspectiveStyle(int style);
    void showHelp(const QString& page);

    TForm1& w;
    int m_style = 0;
    int m_lastPerspective = 0;  // the perspective style whose files are loaded
};

}  // namespace ui

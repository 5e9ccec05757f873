// tavolex: the game's window.
//
//   tavolex [--dir FOLDER]
//
// The program folder holds the pictures and every file the game reads and
// writes. By default it is the executable's own folder when the data lies
// beside it (the build tree), or else a folder in the user's data
// directory that is seeded from the installed copy on first start.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

#include "files/program_folder.h"
#include "ui/application.h"
#include "ui/form1.h"

int main(int argc, char** argv) {
    // The command line is read before the window system is opened, so a
    // wrong one is answered even without a display.
    std::filesystem::path commandLineFolder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
            commandLineFolder = argv[++i];
        } else {
            std::fprintf(stderr, "usage: tavolex [--dir FOLDER]\n");
            return 2;
        }
    }

    ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavolex"));
    // The desktop's menu entry and icon (data/desktop, installed with the
    // program); in the build tree the icon lies beside the executable.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavolex"));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("tavolex"),
                         QIcon(QApplication::applicationDirPath() + "/icons/hicolor/256x256/apps/tavolex.png")));

    const std::filesystem::path exeFolder = QApplication::applicationDirPath().toStdString();
    const std::filesystem::path installed = exeFolder.parent_path() / "share" / "tavolex";
    const std::filesystem::path userData =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    const files::FolderChoice choice = files::chooseProgramFolder(commandLineFolder, exeFolder, installed, userData);
    if (!choice.problem.empty()) std::fprintf(stderr, "tavolex: %s\n", choice.problem.c_str());
    // File names are relative to the program folder, as the game's files expect.
    QDir::setCurrent(QString::fromStdString(choice.folder.string()));

    ui::TForm1 window(choice.folder);
    app.setFaultHandler([&window](const std::string& what) { window.reportInternalError(what); });
    window.show();
    try {
        return app.exec();
    } catch (...) {
        // Nothing gets here past Application::notify; should it, the game
        // was kept at the last move (recovery.dam) and is offered back.
        std::fputs("tavolex: internal error\n", stderr);
        return 1;
    }
}

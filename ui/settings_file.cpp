#include "ui/settings_file.h"

#include <QSettings>

#include "engine/search.h"
#include "files/program_folder.h"

namespace ui {

namespace {

const QString ThreadsKey = QStringLiteral("engine/threads");

}  // namespace

std::unique_ptr<QSettings> settingsFile(const std::filesystem::path& programDir) {
    const std::filesystem::path file = files::resolveInFolder(programDir, "tavolex.ini");
    return std::make_unique<QSettings>(QString::fromStdString(file.string()), QSettings::IniFormat);
}

int keptSearchThreads(const std::filesystem::path& programDir, unsigned cores) {
    bool number = false;
    const int kept = settingsFile(programDir)->value(ThreadsKey).toInt(&number);
    return number ? engine::clampSearchThreads(kept, cores) : engine::defaultSearchThreads(cores);
}

void keepSearchThreads(const std::filesystem::path& programDir, int threads) {
    settingsFile(programDir)->setValue(ThreadsKey, threads);
}

}  // namespace ui

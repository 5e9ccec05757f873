#pragma once
// A program folder of its own for each window under test: the build's
// pictures, resume file and problems copied into a temporary folder, so
// that what a test saves (the resume file at "Quitter", games in "Sauve")
// never changes the build tree or another test.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <string>

namespace testsupport {

inline std::string readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline bool copyFolder(const QString& from, const QString& to) {
    QDir source(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& f : source.entryInfoList(QDir::Files))
        if (!QFile::copy(f.absoluteFilePath(), QDir(to).filePath(f.fileName()))) return false;
    return true;
}

// What the engine reads at start-up: the search keys, the learned
// positions, the default parameters, the endgame tables with the manifests
// of their checksums, the opening libraries and the sounds.
inline bool copyEngineData(const QString& to) {
    const QString build = QString::fromLocal8Bit(TAVOLEX_PROGRAM_DIR);
    QDir source(build);
    const QStringList patterns{"*.bib", "*.sum", "hashkey33.dat", "kesto.dat", "*.wav", "*.ouv"};
    for (const QFileInfo& f : source.entryInfoList(patterns, QDir::Files))
        if (!QFile::copy(f.absoluteFilePath(), QDir(to).filePath(f.fileName()))) return false;
    return copyFolder(build + "/Parametres", QDir(to).filePath("Parametres"));
}

struct ProgramCopy {
    QTemporaryDir dir;
    std::filesystem::path path() const { return dir.path().toStdString(); }
    QString file(const QString& name) const { return dir.filePath(name); }
};

inline std::unique_ptr<ProgramCopy> copyProgramFolder(bool withResume = true) {
    auto copy = std::make_unique<ProgramCopy>();
    const QString build = QString::fromLocal8Bit(TAVOLEX_PROGRAM_DIR);
    copyFolder(build + "/Images1", copy->file("Images1"));
    copyFolder(build + "/Problemes", copy->file("Problemes"));
    if (withResume) QFile::copy(build + "/last32.dam", copy->file("last32.dam"));
    copyEngineData(copy->dir.path());
    return copy;
}

// Everything a window reads, every board style's pictures and the help
// pages included (joueurs.dat and points.dat too), for tests that go
// through all of it.
inline std::unique_ptr<ProgramCopy> copyWholeProgramFolder() {
    auto copy = copyProgramFolder();
    const QString build = QString::fromLocal8Bit(TAVOLEX_PROGRAM_DIR);
    for (const QString& sub : QDir(build).entryList({"Images*", "Aide"}, QDir::Dirs | QDir::NoDotAndDotDot))
        if (!QDir(copy->file(sub)).exists()) copyFolder(build + "/" + sub, copy->file(sub));
    for (const QFileInfo& f : QDir(build).entryInfoList({"damier*.bmp", "*.dat"}, QDir::Files))
        if (!QFile::exists(copy->file(f.fileName()))) QFile::copy(f.absoluteFilePath(), copy->file(f.fileName()));
    return copy;
}

}  // namespace testsupport

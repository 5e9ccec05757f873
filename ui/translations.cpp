#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/captions.h"

namespace ui::translations {

namespace {

// The application owns the one translator, so that switching languages
// replaces it and nothing outlives the application.
constexpr const char* TranslatorName = "tavolex_qt_catalogue";

}  // namespace

QString qtCatalogueFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

bool useQtTranslations(int language, const QString& folder) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    const QLocale locale(QString::fromLatin1(captions::localeName(language)));
    QLocale::setDefault(locale);

    if (auto* old = app->findChild<QTranslator*>(QString::fromLatin1(TranslatorName), Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (locale.language() == QLocale::English) return true;

    auto* translator = new QTranslator(app);
    translator->setObjectName(QString::fromLatin1(TranslatorName));
    // "qtbase_pt_BR.qm", falling back to "qtbase_pt.qm".
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace ui::translations

#pragma once
// Qt's own texts — the file, print and message dialogs, the buttons of the
// message boxes — in the interface language, from the catalogues Qt ships
// ("qtbase_fr.qm", "qtbase_nl.qm", ...; Debian's qt6-translations-l10n).
// Without a catalogue Qt speaks English and the program goes on as before.

#include <QString>

namespace ui::translations {

// The folder where this Qt keeps its catalogues.
QString qtCatalogueFolder();

// Installs the catalogue of `language` (an interface language index) from
// `folder` on the application, in place of the one installed before, and
// makes the language's locale the default, so that dates and sizes in Qt's
// dialogs follow it too. English needs no catalogue. False when the
// catalogue could not be read: Qt's texts are then English.
bool useQtTranslations(int language, const QString& folder = qtCatalogueFolder());

}  // namespace ui::translations

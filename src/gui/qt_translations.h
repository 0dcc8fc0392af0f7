#pragma once

namespace corvane {

// Loads Qt's own texts in Simplified Chinese, whatever the locale, since the
// program speaks nothing else: the file dialog and its questions, the text
// fields' context menus, the message boxes' buttons. They come with Qt (on
// Debian in qt6-translations-l10n), from Qt's translations folder. Returns
// whether they were found.
bool installQtChineseTranslations();

}  // namespace corvane

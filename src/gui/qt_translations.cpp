#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace corvane {

using namespace Qt::StringLiterals;

bool installQtChineseTranslations() {
    QCoreApplication* application = QCoreApplication::instance();
    auto* translator = new QTranslator(application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qtbase holds the widgets' texts; a deployment may have merged Qt's
    // catalogues into one qt_zh_CN instead.
    for (const QString& catalogue : {u"qtbase_zh_CN"_s, u"qt_zh_CN"_s}) {
        if (translator->load(catalogue, folder)) {
            return QCoreApplication::installTranslator(translator);
        }
    }
    delete translator;
    return false;
}

}  // namespace corvane

// The default printer where CUPS is the print service.
#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>
#include <memory>

#include "print/cups_module.h"
#include "print/page_printer.h"
#include "report/utf8.h"

namespace corvane {

using namespace Qt::StringLiterals;

namespace {

// Where the module is: beside the installed program's libraries, or where
// this build made it.
QStringList modulePlaces() {
    QStringList places{
        QDir(QCoreApplication::applicationDirPath()).filePath(toQString(CORVANE_CUPS_MODULE))};
#ifdef CORVANE_CUPS_MODULE_BUILT
    places.append(toQString(CORVANE_CUPS_MODULE_BUILT));
#endif
    return places;
}

struct CupsModule {
    MakeCupsSpooler make = nullptr;
    QString problem;  // why the module could not be opened
};

CupsModule openCupsModule() {
    CupsModule module;
    for (const QString& place : modulePlaces()) {
        QLibrary library(place);  // kept loaded for the rest of the run
        if (library.load()) {
            module.make = reinterpret_cast<MakeCupsSpooler>(library.resolve(kMakeCupsSpooler));
            if (module.make) return module;
        }
        module.problem.append(library.errorString()).append(u"; "_s);
    }
    return module;
}

}  // namespace

PrintResult printOnDefaultPrinter(const ReportContent& content, std::stop_token stop,
                                  std::chrono::milliseconds bound) {
    static const CupsModule module = openCupsModule();
    if (!module.make) return {PrintOutcome::Failed, module.problem};
    const std::unique_ptr<Spooler> spooler(module.make(std::move(stop), bound));
    return printThroughSpooler(*spooler, content);
}

}  // namespace corvane

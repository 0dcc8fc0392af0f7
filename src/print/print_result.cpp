#include "print/print_result.h"

#include "report/utf8.h"

namespace corvane {

QString printProblem(const PrintResult& result) {
    switch (result.outcome) {
        case PrintOutcome::Printed: return {};
        case PrintOutcome::NoDefaultPrinter: return toQString(kNoDefaultPrinter);
        case PrintOutcome::ServerNotAnswering: return toQString(kServerNotAnswering);
        case PrintOutcome::Refused:
            if (!result.reason.isEmpty()) {
                return toQString(kPrintRefused).arg(result.reason);
            }
            break;
        case PrintOutcome::Failed: break;
    }
    return toQString(kPrintFailed);
}

}  // namespace corvane

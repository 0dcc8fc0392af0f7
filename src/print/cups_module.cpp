// The entry of the module that holds the CUPS spooler.
#include "print/cups_module.h"

#include "print/cups_spooler.h"

extern "C" Q_DECL_EXPORT corvane::Spooler* corvane_make_cups_spooler(
    std::stop_token stop, std::chrono::milliseconds bound) {
    return new corvane::CupsSpooler(std::move(stop), bound);
}

#pragma once

#include <QtGlobal>
#include <chrono>
#include <stop_token>

#include "print/spooler.h"

// The CUPS spooler is a module of its own (corvane-cups.so), opened by the
// first print: libcups and the nineteen libraries it brings (GnuTLS,
// Kerberos, Avahi, …) then load only when a page is printed, not at every
// start of the program. The module's one entry makes a spooler, which the
// caller owns.
extern "C" {
using MakeCupsSpooler = corvane::Spooler* (*)(std::stop_token, std::chrono::milliseconds);
inline constexpr const char* kMakeCupsSpooler = "corvane_make_cups_spooler";
}

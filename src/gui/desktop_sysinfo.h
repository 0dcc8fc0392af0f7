#pragma once

#include <memory>

#include "sysinfo/sysinfo_lookup.h"

class QWidget;

namespace corvane {

// The host of the desktop program; its messages are modal boxes over the parent.
std::unique_ptr<SystemInfoHost> desktopSystemInfoHost(QWidget* messageParent);

}  // namespace corvane

#pragma once

#include <memory>

#include "gui/desktop_sysinfo.h"
#include "gui/page_window.h"

namespace corvane {

// The about window opened by 说明: the program's title and what it is for,
// and a button that starts the system's own system-information tool.
class AboutWindow : public PageWindow {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent = nullptr);

    // Where 系统信息 looks for the tool; the desktop unless a test says otherwise.
    void setSystemInfoHost(std::unique_ptr<SystemInfoHost> host) { host_ = std::move(host); }

private:
    void addTexts();
    void addRulingLines();
    void addButtons();

    std::unique_ptr<SystemInfoHost> host_;
};

}  // namespace corvane

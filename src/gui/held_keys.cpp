#include "gui/held_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace corvane {

bool HeldKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = event->type() == QEvent::KeyPress;
    if (!watched->isWidgetType() || (!pressed && event->type() != QEvent::KeyRelease)) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!pressed) {
        releasedKey_ = key->key();
        releasedAt_ = key->timestamp();
        return false;
    }
    // X11 repeats a held key as a release and a press with one time stamp, and
    // Qt does not always mark the pair as a repeat.
    const bool repeated =
        key->isAutoRepeat() ||
        (key->timestamp() != 0 && key->key() == releasedKey_ && key->timestamp() == releasedAt_);
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (!repeated) {
        heldKey_ = key->key();
        heldIn_ = window;
        return false;
    }
    return key->key() == heldKey_ && window != heldIn_;
}

void keepHeldKeysInTheirWindow() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application->findChild<HeldKeyFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    application->installEventFilter(new HeldKeyFilter(application));
}

}  // namespace corvane

#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace corvane {

// Keeps a key held down in one window from acting in a window that opens
// meanwhile: a key held on 诊断 must not type into the report it opens. The
// key's repeats go on reaching the window it was pressed in; anywhere else
// they are dropped until the key is pressed anew.
class HeldKeyFilter : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int heldKey_ = 0;
    QPointer<QWidget> heldIn_;  // the window the held key was pressed in
    int releasedKey_ = 0;
    quint64 releasedAt_ = 0;  // the time stamp of that key's last release
};

// Puts one HeldKeyFilter on the application, unless it has one already.
void keepHeldKeysInTheirWindow();

}  // namespace corvane

#include "gui/substitute_faces.h"

#include <QCoreApplication>
#include <QEvent>
#include <QInputMethodEvent>
#include <QLineEdit>

#include "report/faces.h"

namespace corvane {

namespace {

// A line edit sets formats on its text only as an input method's event asks,
// so the faces are given in such an event: one that commits nothing and only
// formats the text. Every event of an input method sets the formats anew, so
// they are given again after each, except while it composes a word, whose own
// formats and letters they would replace.
class SubstituteFaces : public QObject {
public:
    explicit SubstituteFaces(QLineEdit& field) : QObject(&field), field_(field) {
        field.installEventFilter(this);
        connect(&field, &QLineEdit::textChanged, this, &SubstituteFaces::apply);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::InputMethod || sending_) return false;
        composing_ = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
        static_cast<QObject&>(field_).event(event);
        apply();
        return true;
    }

private:
    void apply() {
        if (composing_) return;
        const QList<QTextLayout::FormatRange> ranges =
            substituteFaces(field_.text(), field_.font());
        if (ranges.isEmpty() && !formatted_) return;
        QList<QInputMethodEvent::Attribute> attributes;
        // The event places its formats from the cursor.
        for (const QTextLayout::FormatRange& range : ranges) {
            attributes.append({QInputMethodEvent::TextFormat, range.start - field_.cursorPosition(),
                               range.length, QVariant(range.format)});
        }
        QInputMethodEvent formats(QString(), attributes);
        sending_ = true;
        QCoreApplication::sendEvent(&field_, &formats);
        sending_ = false;
        formatted_ = !ranges.isEmpty();
    }

    QLineEdit& field_;
    bool composing_ = false;
    bool sending_ = false;
    bool formatted_ = false;  // the text carries formats to take away when no longer needed
};

}  // namespace

void drawWithSubstituteFaces(QLineEdit& field) {
    new SubstituteFaces(field);
}

}  // namespace corvane

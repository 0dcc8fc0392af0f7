#include <QApplication>
#include <QIcon>

#include "gui/questionnaire_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvane");
    QApplication::setWindowIcon(QIcon(":/corvane/icon.png"));
    corvane::QuestionnaireWindow questionnaire;
    questionnaire.show();
    return QApplication::exec();
}

#include <QApplication>
#include <QIcon>

#include "questionnaire/form0.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvane");
    QApplication::setWindowIcon(QIcon(":/corvane/icon.png"));
    corvane::Form0 questionnaire;
    questionnaire.show();
    return QApplication::exec();
}

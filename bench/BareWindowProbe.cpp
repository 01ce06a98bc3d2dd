// The yardstick for Tarvane's start: a bare Qt program showing an empty window of the same
// client size.
#include "FirstShow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(553, 393);
    new FirstShowReporter(&window);
    window.show();
    return application.exec();
}

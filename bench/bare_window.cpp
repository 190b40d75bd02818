// The baseline: a bare Qt Widgets program that opens one empty window of the same size and ends
// once it has painted.
#include "firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1000, 575);
    FirstPaint painted(&window, [] { QCoreApplication::exit(0); });
    window.show();
    return QApplication::exec();
}

// hvr: the main window of the ratio tester.
#include "main_window/qt_application.h"

int main(int argc, char** argv) {
    return hvr::gui::runWindowProgram(argc, argv);
}

// Tarvane's own start, as main.cpp runs it, reporting when the window is first on screen.
#include "Application.h"
#include "DesktopFonts.h"
#include "FirstShow.h"
#include "frmMain.h"

int main(int argc, char** argv)
{
    tarvane::TApplication application(argc, argv);
    tarvane::RegisterDesktopFonts();
    tarvane::TfmMain fmMain;
    new FirstShowReporter(&fmMain);
    fmMain.show();
    return application.exec();
}

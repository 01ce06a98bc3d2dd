#include "Application.h"
#include "DesktopFonts.h"
#include "frmMain.h"

int main(int argc, char** argv)
{
    tarvane::TApplication application(argc, argv);
    tarvane::RegisterDesktopFonts();
    tarvane::TfmMain fmMain;
    fmMain.show();
    return application.exec();
}

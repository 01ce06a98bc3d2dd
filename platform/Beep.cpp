#include "Beep.h"

#include <QApplication>

#include <atomic>

namespace tarvane {

namespace {
std::atomic<int> beeps{0};
}

void Beep()
{
    ++beeps;
    QApplication::beep();
}

int BeepCount()
{
    return beeps;
}

bool BellSounds()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

} // namespace tarvane

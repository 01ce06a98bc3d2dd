#include "ScreenDensity.h"

#include "DesktopFonts.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace tarvane {

namespace {

constexpr char DenseProperty[] = "tarvaneDenseScreen";

// Watches one window's screen, and the screen itself, for a change of density.
class TScreenDensityWatcher : public QObject {
public:
    explicit TScreenDensityWatcher(QWidget* window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
        if (window->windowHandle())
            Watch();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The native window exists once the window shows.
        if (event->type() == QEvent::Show && !m_native)
            Watch();
        return QObject::eventFilter(watched, event);
    }

private:
    void Watch()
    {
        m_native = m_window->windowHandle();
        connect(m_native, &QWindow::screenChanged, this, &TScreenDensityWatcher::WatchScreen);
        WatchScreen(m_native->screen());
    }

    void WatchScreen(QScreen* screen)
    {
        if (m_screen)
            disconnect(m_screen, nullptr, this, nullptr);
        m_screen = screen;
        if (screen) {
            // A new scale shows as a new geometry in pixels or new dots per inch.
            connect(screen, &QScreen::geometryChanged, this, &TScreenDensityWatcher::Check);
            connect(screen, &QScreen::logicalDotsPerInchChanged, this,
                    &TScreenDensityWatcher::Check);
            connect(screen, &QScreen::physicalDotsPerInchChanged, this,
                    &TScreenDensityWatcher::Check);
        }
        Check();
    }

    void Check() const
    {
        if (m_native)
            ChooseDensity(m_native->devicePixelRatio() > 1.0);
    }

    QWidget* m_window;
    QPointer<QWindow> m_native;
    QPointer<QScreen> m_screen;
};

} // namespace

bool DenseScreen()
{
    const QVariant chosen = qApp ? qApp->property(DenseProperty) : QVariant();
    if (chosen.isValid())
        return chosen.toBool();
    return qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
}

void ChooseDensity(bool dense)
{
    if (dense == DenseScreen())
        return;
    qApp->setProperty(DenseProperty, dense);
    ChooseDesktopFaces(dense);
    const QList<QWidget*> widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        QEvent event(DensityChangeEvent);
        QCoreApplication::sendEvent(widget, &event);
    }
    // Text changed face: sizes and pictures both.
    for (QWidget* widget : widgets) {
        widget->updateGeometry();
        widget->update();
    }
}

void FollowScreenDensity(QWidget* window)
{
    new TScreenDensityWatcher(window);
}

} // namespace tarvane

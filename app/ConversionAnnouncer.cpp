#include "ConversionAnnouncer.h"

#include "AccessibleConversionArrow.h"
#include "ArrowIndicator.h"
#include "ConversionController.h"
#include "NumSpinEdit.h"
#include "QtRelease.h"
#include "SpokenNotice.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>

namespace tarvane {

namespace {

QString Spoken(QWidget* widget, QAccessible::Text type)
{
    const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(type) : QString();
}

void Send(QWidget* widget, QAccessible::Event type)
{
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

TConversionAnnouncer::TConversionAnnouncer(TfmMain* window)
    : QObject(window)
    , m_window(window)
    , m_notice(new TSpokenNotice(window->centralWidget()))
    , m_boxes{{window->edValue1, {}, {}}, {window->edValue2, {}, {}}}
{
    const TConversionController* model = window->Controller();
    using Model = TConversionController;
    connect(model, &Model::SourceChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::UnitChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::OutcomeChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::ResultTextChanged, this, &TConversionAnnouncer::Say);
    if (RunningQtBefore(6, 5)) {
        m_quietOnReadBox = true;
        // Qt tells of a focus change once the widgets concerned had their focus events, in
        // which a box becomes the source: until then the screen reader reads the one before.
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { m_lastFocus = now; });
    }
}

// The results restored at start-up are the window's first state, which the screen reader
// reads as the window shows: nothing to announce before.
void TConversionAnnouncer::Say(const QString& result)
{
    if (m_window->isVisible())
        m_notice->Say(result);
}

void TConversionAnnouncer::Announce()
{
    if (!QAccessible::isActive())
        return;
    for (TBoxState& state : m_boxes)
        AnnounceBox(state);
    if (const bool failed = TAccessibleConversionArrow::ConversionFailed(m_window->Arrow1);
        failed != m_failed) {
        m_failed = failed;
        Send(m_window->Arrow1, QAccessible::DescriptionChanged);
        Send(m_window->Arrow2, QAccessible::DescriptionChanged);
    }
}

bool TConversionAnnouncer::ReadByScreenReader(const QWidget* box) const
{
    return box == QApplication::focusWidget() || box == m_lastFocus;
}

void TConversionAnnouncer::AnnounceBox(TBoxState& state)
{
    if (!state.box || (m_quietOnReadBox && ReadByScreenReader(state.box)))
        return;
    if (const QString name = Spoken(state.box, QAccessible::Name); name != state.name) {
        state.name = name;
        Send(state.box, QAccessible::NameChanged);
    }
    if (const QString description = Spoken(state.box, QAccessible::Description);
        description != state.description) {
        state.description = description;
        Send(state.box, QAccessible::DescriptionChanged);
    }
}

} // namespace tarvane

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
    , m_boxes{{window->edValue1, {}, false}, {window->edValue2, {}, false}}
{
    const TConversionController* model = window->Controller();
    m_notice->SetText(model->ResultText());
    using Model = TConversionController;
    connect(model, &Model::SourceChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::UnitChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::OutcomeChanged, this, &TConversionAnnouncer::Announce);
    connect(model, &Model::ResultTextChanged, this, &TConversionAnnouncer::Say);
    if (RunningQtBefore(6, 5)) {
        m_deferOnReadBox = true;
        // Told once the widgets have taken the focus in, before screen readers are.
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { FocusMoved(now); });
    }
}

// The results restored at start-up are the window's first state, which the screen reader
// reads as the window shows: nothing to say before.
void TConversionAnnouncer::Say(const QString& result)
{
    if (m_window->isVisible())
        m_notice->Say(result);
    else
        m_notice->SetText(result);
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

void TConversionAnnouncer::AnnounceBox(TBoxState& state)
{
    if (!state.box)
        return;
    if (const QString description = Spoken(state.box, QAccessible::Description);
        description != state.description) {
        state.description = description;
        state.waiting = true;
    }
    if (state.waiting && (!m_deferOnReadBox || state.box != m_lastBox)) {
        state.waiting = false;
        Send(state.box, QAccessible::DescriptionChanged);
    }
}

void TConversionAnnouncer::FocusMoved(QWidget* now)
{
    for (TBoxState& state : m_boxes) {
        if (state.box != now)
            continue;
        if (state.waiting && QAccessible::isActive()) {
            state.waiting = false;
            Send(state.box, QAccessible::DescriptionChanged);
        }
        m_lastBox = now;
    }
}

} // namespace tarvane

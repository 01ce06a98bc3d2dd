#include "ConversionAnnouncer.h"

#include "AccessibleConversionArrow.h"
#include "ArrowIndicator.h"
#include "ConversionController.h"
#include "NumSpinEdit.h"
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
    // Qt tells screen readers of the new focus once the widgets have taken it in.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        QMetaObject::invokeMethod(
            this, [this, now = QPointer(now)] { FocusMoved(now); }, Qt::QueuedConnection);
    });
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
    if (state.waiting && state.box != m_spokenFocus) {
        state.waiting = false;
        Send(state.box, QAccessible::DescriptionChanged);
    }
}

void TConversionAnnouncer::FocusMoved(QWidget* now)
{
    m_spokenFocus = now;
    if (QAccessible::isActive()) {
        for (TBoxState& state : m_boxes)
            AnnounceBox(state);
    }
}

} // namespace tarvane

#include "ConversionAnnouncer.h"

#include "AccessibleValueBox.h"
#include "ArrowIndicator.h"
#include "NumSpinEdit.h"
#include "frmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>

namespace tarvane {

namespace {

QString SpokenName(QWidget* widget)
{
    const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
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
    , m_boxes{{window->edValue1, {}, false}, {window->edValue2, {}, false}}
{
    for (TBoxState& state : m_boxes) {
        state.failure = TAccessibleValueBox::ShowsFailure(state.box);
        connect(state.box, &QLineEdit::textChanged, this, &TConversionAnnouncer::Announce);
    }
    for (QListWidget* list : {window->lstUnits1, window->lstUnits2})
        connect(list, &QListWidget::currentRowChanged, this, &TConversionAnnouncer::Announce);
    connect(qApp, &QApplication::focusChanged, this, &TConversionAnnouncer::Announce);
}

void TConversionAnnouncer::Announce()
{
    if (!QAccessible::isActive())
        return;
    const bool failedBefore = m_boxes[0].failure || m_boxes[1].failure;
    for (TBoxState& state : m_boxes)
        AnnounceBox(state);
    if (failedBefore != (m_boxes[0].failure || m_boxes[1].failure)) {
        Send(m_window->Arrow1, QAccessible::DescriptionChanged);
        Send(m_window->Arrow2, QAccessible::DescriptionChanged);
    }
}

void TConversionAnnouncer::AnnounceBox(TBoxState& state)
{
    if (!state.box)
        return;
    if (const QString name = SpokenName(state.box); name != state.name) {
        state.name = name;
        Send(state.box, QAccessible::NameChanged);
    }
    const bool failure = TAccessibleValueBox::ShowsFailure(state.box);
    if (failure == state.failure)
        return;
    state.failure = failure;
    Send(state.box, QAccessible::DescriptionChanged);
}

} // namespace tarvane

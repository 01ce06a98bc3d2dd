#include "AccessibleNumSpinEdit.h"

#include "NumSpinEdit.h"
#include "PrecisionSpinner.h"
#include "RepeatSpeedButton.h"
#include "SpinButtons.h"

namespace tarvane {

TAccessibleNumSpinEdit::TAccessibleNumSpinEdit(TNumSpinEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
    // A spin box's value is announced as such; a text box's edits are announced by the
    // line edit itself.
    if (auto* spinner = qobject_cast<TPrecisionSpinner*>(edit)) {
        QObject::connect(spinner, &QLineEdit::textChanged, spinner, [spinner] {
            QAccessibleValueChangeEvent event(spinner, spinner->Value());
            QAccessible::updateAccessibility(&event);
        });
    }
}

TNumSpinEdit* TAccessibleNumSpinEdit::Edit() const
{
    return static_cast<TNumSpinEdit*>(widget());
}

TPrecisionSpinner* TAccessibleNumSpinEdit::Spinner() const
{
    return qobject_cast<TPrecisionSpinner*>(widget());
}

void* TAccessibleNumSpinEdit::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    if (type == QAccessible::ValueInterface && Spinner())
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::Role TAccessibleNumSpinEdit::role() const
{
    return Spinner() ? QAccessible::SpinBox : QAccessible::EditableText;
}

QAccessible::State TAccessibleNumSpinEdit::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !Edit()->isReadOnly();
    state.readOnly = Edit()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString TAccessibleNumSpinEdit::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return Edit()->text();
    return QAccessibleWidget::text(type);
}

void TAccessibleNumSpinEdit::setText(QAccessible::Text type, const QString& text)
{
    if (type == QAccessible::Value)
        replaceText(0, characterCount(), text);
    else
        QAccessibleWidget::setText(type, text);
}

// The buttons, without the container that only lays them out.
QList<QWidget*> TAccessibleNumSpinEdit::Buttons() const
{
    const auto* buttons = Edit()->findChild<TSpinButtons*>(QString(), Qt::FindDirectChildrenOnly);
    if (!buttons || !buttons->isVisible())
        return {};
    return {buttons->UpButton(), buttons->DownButton()};
}

int TAccessibleNumSpinEdit::childCount() const
{
    return int(Buttons().size());
}

QAccessibleInterface* TAccessibleNumSpinEdit::child(int index) const
{
    const QList<QWidget*> buttons = Buttons();
    if (index < 0 || index >= buttons.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(buttons[index]);
}

int TAccessibleNumSpinEdit::indexOfChild(const QAccessibleInterface* child) const
{
    return child ? int(Buttons().indexOf(child->object())) : -1;
}

// Text ----------------------------------------------------------------------------------------

void TAccessibleNumSpinEdit::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !Edit()->hasSelectedText())
        return;
    *startOffset = int(Edit()->selectionStart());
    *endOffset = int(Edit()->selectionEnd());
}

int TAccessibleNumSpinEdit::selectionCount() const
{
    return Edit()->hasSelectedText() ? 1 : 0;
}

void TAccessibleNumSpinEdit::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TAccessibleNumSpinEdit::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        Edit()->deselect();
}

void TAccessibleNumSpinEdit::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        Edit()->setSelection(startOffset, endOffset - startOffset);
}

int TAccessibleNumSpinEdit::cursorPosition() const
{
    return Edit()->cursorPosition();
}

void TAccessibleNumSpinEdit::setCursorPosition(int position)
{
    Edit()->setCursorPosition(position);
}

QString TAccessibleNumSpinEdit::text(int startOffset, int endOffset) const
{
    const QString all = Edit()->text();
    if (startOffset < 0 || endOffset > all.size() || startOffset > endOffset)
        return {};
    return all.mid(startOffset, endOffset - startOffset);
}

int TAccessibleNumSpinEdit::characterCount() const
{
    return int(Edit()->text().size());
}

QRect TAccessibleNumSpinEdit::characterRect(int /*offset*/) const
{
    return {}; // the line edit does not tell where each character lies
}

int TAccessibleNumSpinEdit::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = Edit()->mapFromGlobal(point);
    return Edit()->rect().contains(local) ? Edit()->cursorPositionAt(local) : -1;
}

void TAccessibleNumSpinEdit::scrollToSubstring(int /*startIndex*/, int /*endIndex*/)
{
    // One short line: everything is always in view.
}

QString TAccessibleNumSpinEdit::attributes(int /*offset*/, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void TAccessibleNumSpinEdit::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TAccessibleNumSpinEdit::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

// Offsets outside the text change nothing; a locked box neither.
void TAccessibleNumSpinEdit::replaceText(int startOffset, int endOffset, const QString& text)
{
    TNumSpinEdit* const edit = Edit();
    QString edited = edit->text();
    if (edit->isReadOnly() || startOffset < 0 || startOffset > endOffset
        || endOffset > edited.size())
        return;
    edited.replace(startOffset, endOffset - startOffset, text);
    edit->AsUser([&] { edit->SetText(edited); });
}

// Value ---------------------------------------------------------------------------------------

// Asked for only of a spinner, the one box with a value interface.

QVariant TAccessibleNumSpinEdit::currentValue() const
{
    return Spinner()->Value();
}

void TAccessibleNumSpinEdit::setCurrentValue(const QVariant& value)
{
    TPrecisionSpinner* const spinner = Spinner();
    if (!spinner->isReadOnly())
        spinner->AsUser([&] { spinner->SetValue(value.toInt()); });
}

QVariant TAccessibleNumSpinEdit::maximumValue() const
{
    return Spinner()->MaxValue();
}

QVariant TAccessibleNumSpinEdit::minimumValue() const
{
    return Spinner()->MinValue();
}

QVariant TAccessibleNumSpinEdit::minimumStepSize() const
{
    return Spinner()->Increment();
}

} // namespace tarvane

#pragma once

#include <QAccessibleWidget>

namespace tarvane {

class TNumSpinEdit;
class TPrecisionSpinner;

// What a screen reader sees of a numeric spin edit. A value box is editable text whose value
// is its text; a precision spinner is a spin box that also reports its value, minimum and
// maximum. Either way the text can be read and the caret and selection
// followed, and the spin buttons are the box's two children. What an assistive tool writes
// (the text, a part of it, the value) is the user's edit, as typing is.
class TAccessibleNumSpinEdit : public QAccessibleWidget,
                               public QAccessibleTextInterface,
                               public QAccessibleEditableTextInterface,
                               public QAccessibleValueInterface {
public:
    explicit TAccessibleNumSpinEdit(TNumSpinEdit* edit);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString& text) override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    // The text.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // Editing the text.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // The value of a precision spinner.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

protected:
    TNumSpinEdit* Edit() const;

private:
    // Nothing for a value box.
    TPrecisionSpinner* Spinner() const;
    QList<QWidget*> Buttons() const;
};

} // namespace tarvane

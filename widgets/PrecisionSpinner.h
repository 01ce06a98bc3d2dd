#pragma once

#include "NumSpinEdit.h"

namespace tarvane {

// A spin edit of whole numbers, as the window's precision spinners are: it holds its own
// small integer, as a spin box does, since a whole number shows exactly as it is. The arrow
// and page keys and the buttons step it by Increment and IncrementPage, kept within
// MinValue..MaxValue (no bounds while both are 0); leaving the box brings a number typed
// beyond them back within; undo and redo are the line edit's own. Each of these is the
// user's change, told by OnUserChange.
class TPrecisionSpinner : public TNumSpinEdit {
    Q_OBJECT
public:
    explicit TPrecisionSpinner(QWidget* parent);

    // The text read as a whole number: 0 when empty, the nearest 32-bit number for digits
    // beyond 32 bits, MinValue for any other text. Not kept within the bounds: a number
    // typed beyond them reads as typed until the box is left.
    int Value() const;
    // Shows the number, kept within the bounds.
    void SetValue(int value);

    int MinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }
    int Increment() const { return m_increment; }
    void SetIncrement(int increment) { m_increment = increment; }
    int IncrementPage() const { return m_incrementPage; }
    void SetIncrementPage(int increment) { m_incrementPage = increment; }
    bool UndoAvailable() const override { return isUndoAvailable(); }
    bool RedoAvailable() const override { return isRedoAvailable(); }

protected:
    void MakeStep(int direction, bool page) override;
    void MakeUndo() override;
    void MakeRedo() override;
    void LeaveBox() override;

private:
    int Clamped(int value) const;

    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    int m_incrementPage = 10;
};

} // namespace tarvane

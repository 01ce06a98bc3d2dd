#pragma once

#include "Notify.h"
#include "uUserPrefs.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tarvane {

class TfmMain;
class TNumSpinEdit;

// The main window's two value boxes: box 1 on the left, box 2 on the right.
enum TValueBox { vbValue1, vbValue2 };

// The conversion the main window shows, and the one place that knows it: which box is the
// source, each box's exact number, unit and precision, and the result. The boxes, unit
// lists, labels, spinners, arrows and captions only show this state; nothing is read back
// from what they display.
//
// A box's number is either the user's (typed, pasted, stepped or set through SetNumber:
// the number its text reads) or the controller's (the exact result it wrote there, of which
// the box shows a rounding). The focus entering a box makes it the source without changing
// any number, so a result converted back never drifts from what the user typed.
class TConversionController : public QObject {
    Q_OBJECT
public:
    static constexpr int MinPrecision = 0;
    static constexpr int MaxPrecision = 10;

    // Box 1 the source of 1 Veff into Veff at 4 decimals, until the window restores its
    // preferences.
    explicit TConversionController(TfmMain* window);

    // The focus entered the box: it becomes the source; no number changes.
    void MakeSource(TValueBox box);
    // The box's text changed by the user's hand (or by the box re-showing itself on leaving).
    void BoxTextChanged(TValueBox box);
    // Converts the source's number into the target and shows the outcome.
    void Convert();

    // The user's number in a box, shown at the box's precision; its number is then the one
    // that text reads. A box given a number becomes the source: what the user puts in a box
    // is never overwritten by a conversion.
    void SetNumber(TValueBox box, double value);
    // A level written with its unit ("-73 dBm", "316 µV", "2,8284 Vpp") put into a box: the
    // box takes its number and unit, and the precision rises (at most to MaxPrecision) until
    // every digit written shows; the box becomes the source. False, and nothing changes, for
    // any other text.
    bool TakeLevel(TValueBox box, const QString& text);
    // A unit index 0 to 11; any other is ignored.
    void SetUnit(TValueBox box, int unit);
    // Kept to MinPrecision..MaxPrecision.
    void SetPrecision(TValueBox box, int precision);
    // Puts back what was saved: precisions, units and box 1's number; box 1 is the source.
    void Restore(const TUserPrefs& prefs);

    TValueBox Source() const { return m_source; }
    TValueBox Target() const { return Other(m_source); }
    // The box's exact number; nothing while it shows no number ("-.--", or a text that
    // reads as none).
    std::optional<double> Number(TValueBox box) const { return m_boxes[box].number; }
    // The box shows a number this controller wrote there (a result), not the user's.
    bool ShowsResult(TValueBox box) const { return !m_boxes[box].users; }
    // The target shows the engine's result for the source's number: false from a move of
    // the focus to the other box until the next conversion, while the target keeps the
    // number from which the source's came.
    bool TargetShowsResult() const { return m_converted; }
    int Unit(TValueBox box) const { return m_boxes[box].unit; }
    int Precision(TValueBox box) const { return m_boxes[box].precision; }
    // The pair shown cannot be converted: one of the boxes has no number.
    bool Failed() const;
    // The outcome as a screen reader says it: the target's number with its unit
    // ("2,8284 Vcac (Vpp)"), or "Conversion impossible".
    QString ResultText() const;
    // What is saved at close: both units and precisions, and box 1's number (its last one
    // while it shows none).
    TUserPrefs Prefs() const;

    // Raised after any change of a saved value (see Prefs), once per change.
    TNotifyEvent OnStateChange;

private:
    struct TBoxState {
        std::optional<double> number = 1.0;
        int unit = 0;
        int precision = 4;
        bool users = true; // the text is the user's and is the number; else the controller's
        QString text;      // the box's text as last written or edited
    };

    static TValueBox Other(TValueBox box) { return box == vbValue1 ? vbValue2 : vbValue1; }
    TNumSpinEdit* Edit(TValueBox box) const;
    std::optional<double> Result() const;

    void Update();
    void PutNumber(TValueBox box, double value);
    void TakeNumber(TValueBox box, std::optional<double> number);
    void ReshowSource();
    void ShowState();
    void ShowRoles();
    void ShowTarget();
    void ShowUnit(TValueBox box);
    void ShowPrecision(TValueBox box);
    void WriteText(TValueBox box, const QString& text);
    void NotifyIfChanged(const TUserPrefs& before);

    TfmMain* m_window = nullptr;
    TBoxState m_boxes[2];
    TValueBox m_source = vbValue1;
    bool m_converted = false;
    double m_value1 = 1.0; // box 1's last number, kept while it shows none
};

} // namespace tarvane

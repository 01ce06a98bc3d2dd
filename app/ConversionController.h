#pragma once

#include "uUserPrefs.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace tarvane {

// The main window's two value boxes: box 1 on the left, box 2 on the right.
enum TValueBox { vbValue1, vbValue2 };

// The conversion the main window shows, knowing no widget: which box is the source, each
// box's exact number, unit, precision and text, and the result. Its inputs are what the user
// does; its signals say what each part of the window is to show, once the state they stem
// from is complete.
//
// A box's number is the user's (typed, pasted, stepped or restored, exactly as given) or the
// engine's exact result; its text only renders it. Nothing but the user's own edit changes a
// number: leaving a box re-shows its number in the box's format, a precision changes how
// numbers show, and the focus entering a box makes it the source, so a result never drifts
// from what the user gave. A step moves the exact number, whatever the box shows of it, and
// undo and redo put back exact numbers. A text that reads as no number (blanks among them)
// keeps showing as it is and fails the conversion; an empty box keeps its last number and
// converts nothing.
class TConversionController : public QObject {
    Q_OBJECT
public:
    static constexpr int MinPrecision = 0;
    static constexpr int MaxPrecision = 10;

    // Box 1 the source of 1 in unit 0 into unit 0, at 4 decimals, until Restore.
    explicit TConversionController(QObject* parent = nullptr);

    // The focus entered the box: it becomes the source; no number changes.
    void MakeSource(TValueBox box);
    // The focus left the box: its text shows its number in the box's format again.
    void LeaveBox(TValueBox box);
    // The user changed the box's text: the box becomes the source, its number is what the
    // text reads, and it converts.
    void EditText(TValueBox box, const QString& text);
    // Text pasted into a box, which would then hold `result`. A level written with its unit
    // ("-73 dBm", "316 µV") sets the box's number and unit; one in a unit the lists do not
    // hold ("30 dBmV", "-73 dBm@75"), or a sum ("-73 dBm + 20 dB"), is converted exactly into
    // the listed unit of its family. A result that reads as a plain number is kept as
    // written. Either way the box becomes the source and its precision rises (to MaxPrecision
    // at most) until every digit written shows; a number needing more switches the box to
    // precision 0, the general form. False, changing nothing, for any other text: the box
    // then takes it as an edit.
    bool Paste(TValueBox box, const QString& pasted, const QString& result);
    // The user asks the box's number to move by `increment` (a step up or down): the box
    // becomes the source, its exact number moves (from 0 while it shows none) and shows in
    // the box's format. Steps one after the other in one box are undone together.
    void Step(TValueBox box, double increment);
    // Undo in the box: puts back the number the user had given, in whichever box, before the
    // box's last edit, paste or run of steps (typing one character after the other is one
    // edit), exactly and shown at the precisions in use; its unit too, for a pasted level.
    // The box the user works in is the source. Nothing to undo changes nothing; nor does an
    // undo in a box whose number a conversion has since replaced.
    void Undo(TValueBox box);
    // Puts back what the box's last undo took away.
    void Redo(TValueBox box);
    // A unit index 0 to 11 converts; any other, or the unit in use, only shows it again.
    void SetUnit(TValueBox box, int unit);
    // Kept to MinPrecision..MaxPrecision; it changes how the box's number shows, never the
    // number. Nothing (a precision control left empty) changes nothing.
    void SetPrecision(TValueBox box, std::optional<int> precision);
    // The precision control was left: it shows the precision in use again.
    void LeavePrecision(TValueBox box);
    // Converts the source's number into the target.
    void Convert();
    // Puts back what was saved: precisions, units and the exact number the user gave, in box 2
    // when saved there and in box 1 otherwise, shown at its precision; that box is the source.
    void Restore(const TUserPrefs& prefs);

    TValueBox Source() const { return m_source; }
    TValueBox Target() const { return Other(m_source); }
    // The box's exact number; nothing while it shows none ("-.--", or a text that reads as
    // none).
    std::optional<double> Number(TValueBox box) const { return m_boxes[box].number; }
    // What the box shows.
    const QString& Text(TValueBox box) const { return m_boxes[box].text; }
    // The target shows the engine's result for the source's number: false from a move of
    // the focus to the other box until the next conversion, while the target keeps the
    // number from which the source's came.
    bool TargetShowsResult() const { return m_given == m_source; }
    // The box whose number the other box shows converted: the one the user gave it in.
    TValueBox Given() const { return m_given; }
    bool CanUndo(TValueBox box) const;
    bool CanRedo(TValueBox box) const;
    int Unit(TValueBox box) const { return m_boxes[box].unit; }
    int Precision(TValueBox box) const { return m_boxes[box].precision; }
    // The pair shown cannot be converted: one of the boxes has no number.
    bool Failed() const;
    // The outcome as a screen reader says it: which box holds the result, its number and
    // unit ("Valeur 2 : 2,8284 Vcac (Vpp)"), or "Conversion impossible".
    QString ResultText() const;
    // What is saved: both units and precisions, box 1's number (its last one while it shows
    // none), and box 2's when the user gave the number there.
    TUserPrefs Prefs() const;

signals:
    // What the box shows.
    void TextChanged(TValueBox box, const QString& text);
    // How many decimals the box shows its number with.
    void PrecisionChanged(TValueBox box, int precision);
    // What the box's precision control shows: raised when the precision changes other than
    // by that control, and when the control is left.
    void PrecisionChoiceChanged(TValueBox box, int precision);
    void UnitChanged(TValueBox box, int unit);
    // Which box is the source; the captions and the arrows' direction follow it.
    void SourceChanged(TValueBox source);
    // A conversion was shown, or the roles changed: whether the target shows a number, and
    // whether the pair shown converts.
    void OutcomeChanged(TValueBox target, bool targetFailed, bool failed);
    // A conversion changed what a screen reader should hear of the outcome (see ResultText):
    // raised once per change, by typing, pasting, a unit or a precision; a move of the focus
    // converts nothing and raises none.
    void ResultTextChanged(const QString& text);
    // A saved value changed (see Prefs), once per change.
    void PrefsChanged(const TUserPrefs& prefs);
    // Whether undo and redo in the box would change anything, once per change.
    void HistoryChanged(TValueBox box, bool canUndo, bool canRedo);

private:
    struct TBoxState {
        std::optional<double> number = 1.0;
        QString text;
        int unit = 0;
        int precision = 4;
    };

    // What undo and redo put back: the number the user had given, the box it was given in,
    // how it showed there and in which unit, and the box the user worked in.
    struct TGiven {
        TValueBox box = vbValue1;
        std::optional<double> number;
        QString text;
        bool rendered = false; // the text showed the number in the box's format
        int unit = 0;
        TValueBox editedIn = vbValue1;
    };
    // A run of edits that one undo takes back together.
    enum class TRun { None, Typing, Stepping };

    static TValueBox Other(TValueBox box) { return box == vbValue1 ? vbValue2 : vbValue1; }
    std::optional<double> ResultFor(TValueBox box) const;
    QString Rendering(TValueBox box) const;

    void SetNumber(TValueBox box, std::optional<double> number);
    void ConvertInto(TValueBox box);
    void UpdateTarget();
    void RaisePrecisionFor(TValueBox box, double value, int decimals);

    TGiven GivenNow(TValueBox editedIn) const;
    void Record(TValueBox box, TRun run);
    void EndRun() { m_run = TRun::None; }
    void ForgetHistory(TValueBox box);
    void PutBack(TValueBox box, std::vector<TGiven>& from, std::vector<TGiven>& to);

    void ShowText(TValueBox box);
    void ShowPrecision(TValueBox box);
    void ShowRoles();
    void ShowOutcome();
    void ShowConversion();
    void TellChanges();

    TBoxState m_boxes[2];
    TValueBox m_source = vbValue1;
    TValueBox m_given = vbValue1;
    double m_lastNumbers[2] = {1.0, 1.0}; // each box's last number, kept while it shows none
    std::vector<TGiven> m_undo;
    std::vector<TGiven> m_redo;
    TRun m_run = TRun::None;
    TValueBox m_runBox = vbValue1;
    TUserPrefs m_toldPrefs;
    QString m_toldResult;
    bool m_toldHistory[2][2] = {}; // can undo, can redo, per box
};

} // namespace tarvane

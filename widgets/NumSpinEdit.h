#pragma once

#include "BoundLabel.h"
#include "Notify.h"
#include "NumberKeyFilter.h"
#include "TColor.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <optional>

class QMenu;

namespace tarvane {

class TRefusalCue;
class TSpinButtons;

enum TEditAlign { eaLeft, eaRight, eaCenter };

// A typed character on its way into the box; a handler may replace it or cancel it
// (set it to QChar()).
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;

// A pasted text on its way into the box; a handler that takes it returns true, and the box
// then inserts nothing.
using TPasteEvent = std::function<bool(QObject* Sender, const QString& Text)>;

// A one-line numeric entry box with up/down spin buttons inside its right edge and an
// optional caption label beside it. The text is the value: reads parse the text, writes
// format the number into it, and OnChange follows every change of the text. Typing is
// filtered character by character; the arrow and page keys and the buttons step the value;
// leaving the box re-formats what was typed. OnUserChange follows only the changes the user
// makes (typing, pasting, cutting, undoing, stepping, an assistive tool's edit), never the
// writes of code nor the re-formatting on leaving, as QLineEdit's textEdited does.
//
// A new box is loading: property writes store their values and raise nothing until the
// owner calls Loaded().
class TNumSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumSpinEdit(QWidget* parent);
    ~TNumSpinEdit() override;

    // Ends loading: re-shows the value in its mode, applies Flat, places the caption.
    void Loaded();

    QString Version() const; // "1.4.5.1"

    TSpinType SpinType() const { return m_spinType; }
    void SetSpinType(TSpinType spinType);
    int Value() const;
    void SetValue(int value);
    // The text read as a floating-point number, "." and "," both standing for the decimal
    // separator; a text that reads as no number gives MinValue.
    double FloatValue() const;
    // The same reading, but nothing for a text that reads as no number.
    std::optional<double> ParsedFloatValue() const;
    void SetFloatValue(double value);
    QString Text() const { return text(); }
    void SetText(const QString& text);
    // Runs what the user's action writes (a step, the sign toggle, an assistive tool's
    // edit): its change is told by OnUserChange too.
    void AsUser(const std::function<void()>& action);
    int Precision() const { return m_precision; }
    void SetPrecision(int precision);

    int MinValue() const { return m_minValue; }
    void SetMinValue(int value) { m_minValue = value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int value) { m_maxValue = value; }
    double MinFloatValue() const { return m_minFloatValue; }
    void SetMinFloatValue(double value) { m_minFloatValue = value; }
    double MaxFloatValue() const { return m_maxFloatValue; }
    void SetMaxFloatValue(double value) { m_maxFloatValue = value; }
    int Increment() const { return m_increment; }
    void SetIncrement(int increment) { m_increment = increment; }
    int IncrementPage() const { return m_incrementPage; }
    void SetIncrementPage(int increment) { m_incrementPage = increment; }
    double IncrementFloat() const { return m_incrementFloat; }
    void SetIncrementFloat(double increment) { m_incrementFloat = increment; }
    double IncrementFloatPage() const { return m_incrementFloatPage; }
    void SetIncrementFloatPage(double increment) { m_incrementFloatPage = increment; }

    bool Signed() const { return m_signed; }
    void SetSigned(bool isSigned);
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool enabled);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    bool AllowNullValue() const { return m_allowNullValue; }
    void SetAllowNullValue(bool allow) { m_allowNullValue = allow; }
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    bool ReturnIsTab() const { return m_returnIsTab; }
    void SetReturnIsTab(bool returnIsTab) { m_returnIsTab = returnIsTab; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    // The short symbol of the unit the number is in ("Vpp"). When there is one, the context
    // menu offers to copy the text followed by it, which reads back as the same level.
    QString UnitSymbol() const { return m_unitSymbol; }
    void SetUnitSymbol(const QString& symbol) { m_unitSymbol = symbol; }

    TEditAlign EditAlign() const { return m_editAlign; }
    void SetEditAlign(TEditAlign align);
    bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    TColor FlatLineColor() const { return m_flatLineColor; }
    void SetFlatLineColor(TColor color);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TColor FocusColor() const { return m_focusColor; }
    void SetFocusColor(TColor color) { m_focusColor = color; }
    TColor FocusBorderColor() const { return m_focusBorderColor; }
    void SetFocusBorderColor(TColor color);
    // The text colour; the typeface and size are the widget's QFont.
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor color);

    QString LabelCaption() const { return m_labelCaption; }
    void SetLabelCaption(const QString& caption);
    TLabelPosition LabelPosition() const { return m_labelLook.Position; }
    void SetLabelPosition(TLabelPosition position);
    int LabelMargin() const { return m_labelLook.Margin; }
    void SetLabelMargin(int margin);
    QFont LabelFont() const { return m_labelLook.Font; }
    void SetLabelFont(const QFont& font);
    TColor LabelFontColor() const { return m_labelLook.FontColor; }
    void SetLabelFontColor(TColor color);
    QLabel* Label() const { return m_label; } // null until a caption is assigned

    // May replace the character; false refuses it.
    virtual bool IsAcceptedChar(QChar& key) const;
    virtual void StepUp();
    virtual void StepDown();

    // Every paste ends here (clipboard keys, the context menu, the middle button, a drop): a
    // locked box refuses it; OnPaste may take it; otherwise the text is inserted unfiltered,
    // on one line, in place of the selection.
    void Paste(const QString& text);
    // The text the box would hold once `text` is pasted, in place of the selection or at
    // the caret, on one line.
    QString PastedText(const QString& text) const;
    // Puts the text followed by a space and UnitSymbol on the clipboard ("2,8284 Vpp").
    void CopyWithUnit() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnUserChange; // after OnChange, when the user made the change
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    TKeyPressEvent OnKeyPress;
    TPasteEvent OnPaste;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Text writes and edits: OnChange is raised after the edit returns, once, when the text
    // differs from the last one notified.
    void WriteText(const QString& text);
    void Edit(const std::function<void()>& edit);
    void AddCopyWithUnit(QMenu& menu);
    void TextMayHaveChanged();

    int ClampValue(int value) const;
    double ClampFloatValue(double value) const;
    void AddToValue(long long increment);
    void Step(int direction);

    bool HandleKey(QKeyEvent* event);
    bool HandleEditingShortcut(QKeyEvent* event);
    void HandleCharacter(QKeyEvent* event, QChar key);
    void TypeCharacter(QChar key, const std::function<void()>& passControl);
    void Refuse();
    void ApplyInputMethodHints();
    void ToggleSign();
    int SelStart() const;
    void SetSelection(int start, int length);

    void EnterBox(Qt::FocusReason reason);
    void LeaveBox();

    void ApplyFlat();
    void ApplyEditorState();
    void ApplyFontColor();
    void PlaceSpinButtons();
    void PlaceTextRect();
    void AdjustHeight();
    int RequiredHeight() const;
    void PlaceLabel();

    TSpinType m_spinType = sptNormal;
    int m_precision = 0;
    int m_minValue = 0;
    int m_maxValue = 0;
    double m_minFloatValue = 0.0;
    double m_maxFloatValue = 0.0;
    int m_increment = 1;
    int m_incrementPage = 10;
    double m_incrementFloat = 0.1;
    double m_incrementFloatPage = 1.0;
    bool m_signed = false;
    bool m_editorEnabled = true;
    bool m_readOnly = false;
    bool m_allowNullValue = true;
    bool m_autoSelect = true;
    bool m_autoSize = true;
    bool m_returnIsTab = false;
    int m_tag = 0;
    QString m_unitSymbol;
    TEditAlign m_editAlign = eaLeft;
    bool m_flat = false;
    TColor m_flatLineColor = clBlack;
    TColor m_color = clWindow;
    TColor m_normalColor = clWindow; // the colour to return to when the focus leaves
    TColor m_focusColor = clWindow;
    TColor m_focusBorderColor = clNone;
    TColor m_fontColor = clWindowText;
    QString m_labelCaption;
    TLabelLook m_labelLook;

    bool m_loading = true;
    bool m_entered = false;        // entry ran and leaving has not yet
    bool m_suppressChange = false; // while Loaded() re-shows the value
    bool m_deferChange = false;    // inside an edit that raises OnChange itself afterwards
    bool m_userAction = false;     // inside a write that the user's action makes
    bool m_editedByUser = false;   // the line edit reported an edit of the user's since
    QString m_notifiedText;        // the text OnChange last stood for
    bool m_flatTextRect = false;   // the text rectangle last placed by Flat or a font change
    QSize m_textRectSize;          // the box size the text rectangle was placed for
    QRect m_textRect;
    TSpinButtons* m_spinButtons = nullptr;
    TRefusalCue* m_refusalCue = nullptr;
    QPointer<TBoundLabel> m_label;
};

} // namespace tarvane

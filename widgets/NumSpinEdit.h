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

// A step the user asks for: the number is to move by Increment (negative: down).
using TStepEvent = std::function<void(QObject* Sender, double Increment)>;

// A one-line numeric entry box with up/down spin buttons inside its right edge and an
// optional caption label beside it. It shows the text its owner gives it and reports what
// the user does, never reading its own text as a number: the text typed or otherwise edited
// (OnUserChange, as QLineEdit's textEdited), a text pasted (OnPaste), a step asked for by the
// arrow and page keys or the buttons (OnStep), undo and redo (OnUndo, OnRedo), entering and
// leaving the box (OnEnter, OnExit). The owner answers with the text to show. Typing is
// filtered character by character, by the rules of the mode and precision the box is given.
// OnChange follows every change of the text, the owner's writes included.
//
// A new box is loading: property writes store their values and raise nothing until the
// owner calls Loaded().
class TNumSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TNumSpinEdit(QWidget* parent);
    ~TNumSpinEdit() override;

    // Ends loading: applies Flat, places the caption.
    void Loaded();

    QString Version() const; // "1.4.5.1"

    // What the character filter lets through: whole numbers, or a decimal separator and at
    // most Precision decimals after it (any number of them at precision 0).
    TSpinType SpinType() const { return m_spinType; }
    void SetSpinType(TSpinType spinType);
    int Precision() const { return m_precision; }
    void SetPrecision(int precision) { m_precision = precision; }

    QString Text() const { return text(); }
    // Shows the text: the owner's doing, which OnUserChange does not report.
    void SetText(const QString& text);
    // Runs what the user's action writes (the sign toggle, an assistive tool's edit): its
    // change is told by OnUserChange too.
    void AsUser(const std::function<void()>& action);

    // What a step asks to add: the arrow keys and buttons, and the page keys.
    double IncrementFloat() const { return m_incrementFloat; }
    void SetIncrementFloat(double increment) { m_incrementFloat = increment; }
    double IncrementFloatPage() const { return m_incrementFloatPage; }
    void SetIncrementFloatPage(double increment) { m_incrementFloatPage = increment; }
    // Whether undo and redo have anything to do, as the owner knows: the context menu offers
    // them accordingly.
    void SetUndoAvailable(bool undo, bool redo);
    virtual bool UndoAvailable() const { return m_undoAvailable; }
    virtual bool RedoAvailable() const { return m_redoAvailable; }

    bool Signed() const { return m_signed; }
    void SetSigned(bool isSigned);
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool enabled);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
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
    // The step the up button, the Up key and Ctrl+Return ask for; its mirror.
    void StepUp();
    void StepDown();
    // Ctrl+Z, Ctrl+Y and the context menu's entries; a locked box refuses them.
    void Undo();
    void Redo();

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
    TNotifyEvent OnUpClick;   // after a step up
    TNotifyEvent OnDownClick; // after a step down
    TKeyPressEvent OnKeyPress;
    TPasteEvent OnPaste;
    TStepEvent OnStep;
    TNotifyEvent OnUndo;
    TNotifyEvent OnRedo;

protected:
    // A step of `direction` (+1 up, -1 down), by a page when `page`: asks the owner for it.
    virtual void MakeStep(int direction, bool page);
    virtual void MakeUndo();
    virtual void MakeRedo();
    // The focus has left the box: OnExit.
    virtual void LeaveBox();
    // A write of the text, with OnChange once it has settled.
    void WriteText(const QString& text);
    // An edit of the line edit's own: OnChange is raised after it returns, once, when the text
    // differs from the last one notified.
    void Edit(const std::function<void()>& edit);
    void Refuse();
    bool Loading() const { return m_loading; }

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
    void AddCopyWithUnit(QMenu& menu);
    void RerouteStandardActions(QMenu& menu);
    void PasteClipboard();
    void TextMayHaveChanged();

    void Step(int direction, bool page);
    bool HandleKey(QKeyEvent* event);
    bool HandleEditingShortcut(QKeyEvent* event);
    void HandleCharacter(QKeyEvent* event, QChar key);
    void TypeCharacter(QChar key, const std::function<void()>& passControl);
    void ApplyInputMethodHints();
    void ToggleSign();
    int SelStart() const;
    void SetSelection(int start, int length);

    void EnterBox(Qt::FocusReason reason);

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
    double m_incrementFloat = 0.1;
    double m_incrementFloatPage = 1.0;
    bool m_undoAvailable = false;
    bool m_redoAvailable = false;
    bool m_signed = false;
    bool m_editorEnabled = true;
    bool m_readOnly = false;
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
    bool m_entered = false;      // entry ran and leaving has not yet
    bool m_deferChange = false;  // inside an edit that raises OnChange itself afterwards
    bool m_userAction = false;   // inside a write that the user's action makes
    bool m_editedByUser = false; // the line edit reported an edit of the user's since
    QString m_notifiedText;      // the text OnChange last stood for
    bool m_flatTextRect = false; // the text rectangle last placed by Flat or a font change
    QSize m_textRectSize;        // the box size the text rectangle was placed for
    QRect m_textRect;
    TSpinButtons* m_spinButtons = nullptr;
    TRefusalCue* m_refusalCue = nullptr;
    QPointer<TBoundLabel> m_label;
};

} // namespace tarvane

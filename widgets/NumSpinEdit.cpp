#include "NumSpinEdit.h"

#include "Beep.h"
#include "NumberKeyFilter.h"
#include "NumberText.h"
#include "RefusalCue.h"
#include "SpinButtons.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QValidator>

#include <algorithm>
#include <optional>
#include <utility>

namespace tarvane {

namespace {

constexpr quint32 PackedVersion = 0x01040501; // major, minor, release, build

constexpr QChar CarriageReturn = QChar(0x0D);

// Keeps the box on one line whatever reaches it (pasted text, text written from code):
// line breaks and other control characters are dropped.
class TOneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override
    {
        for (qsizetype i = input.size() - 1; i >= 0; --i) {
            const char16_t c = input[i].unicode();
            if (c < 0x20 || c == 0x7F || c == 0x85 || c == 0x2028 || c == 0x2029) {
                input.remove(i, 1);
                if (i < pos)
                    --pos;
            }
        }
        return Acceptable;
    }
};

// An entry of the standard context menu (Paste is none in a read-only box), known by the line
// edit's own caption, translated as the menu is.
QAction* StandardActionOf(const QMenu& menu, const char* caption)
{
    const QString translated = QCoreApplication::translate("QLineEdit", caption);
    const QList<QAction*> actions = menu.actions();
    const auto it = std::find_if(actions.cbegin(), actions.cend(), [&](const QAction* action) {
        return action->text().section(QLatin1Char('\t'), 0, 0) == translated;
    });
    return it == actions.cend() ? nullptr : *it;
}

} // namespace

TNumSpinEdit::TNumSpinEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_spinButtons(new TSpinButtons(this))
    , m_refusalCue(new TRefusalCue(this))
{
    ApplyInputMethodHints();
    setValidator(new TOneLineValidator(this));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent); // the background is painted from Color
    setPalette(palette);
    ApplyFontColor();
    setText(QStringLiteral("0"));
    m_notifiedText = text();
    // The line edit tells its own edits from writes of code, before their change.
    connect(this, &QLineEdit::textEdited, this, [this] { m_editedByUser = true; });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_deferChange)
            TextMayHaveChanged(); // an edit of the line edit's own (context menu, drop)
    });
    m_spinButtons->SetFocusControl(this);
    m_spinButtons->OnUpClick = [this](QObject*) { StepUp(); };
    m_spinButtons->OnDownClick = [this](QObject*) { StepDown(); };
    PlaceSpinButtons();
    PlaceTextRect();
}

TNumSpinEdit::~TNumSpinEdit()
{
    delete m_label; // lives in the parent but belongs to the box
}

void TNumSpinEdit::Loaded()
{
    m_loading = false;
    m_normalColor = m_color;
    ApplyFlat();
    PlaceLabel();
    if (m_label && !isEnabled())
        m_label->setEnabled(false);
}

QString TNumSpinEdit::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(PackedVersion >> 24)
        .arg((PackedVersion >> 16) & 0xFF)
        .arg((PackedVersion >> 8) & 0xFF)
        .arg(PackedVersion & 0xFF);
}

// Mode and text -------------------------------------------------------------------------------

void TNumSpinEdit::SetSpinType(TSpinType spinType)
{
    m_spinType = spinType;
    ApplyInputMethodHints();
}

void TNumSpinEdit::SetSigned(bool isSigned)
{
    m_signed = isSigned;
    ApplyInputMethodHints();
}

// An on-screen keyboard or input method offers what the box takes: digits, and for a signed
// or floating-point box the sign and separator too; nothing it would capitalise or complete.
void TNumSpinEdit::ApplyInputMethodHints()
{
    const Qt::InputMethodHints numbers =
        m_signed || m_spinType == sptFloat ? Qt::ImhFormattedNumbersOnly : Qt::ImhDigitsOnly;
    setInputMethodHints(numbers | Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText);
}

void TNumSpinEdit::SetText(const QString& text)
{
    if (text != this->text())
        WriteText(text);
}

void TNumSpinEdit::SetUndoAvailable(bool undo, bool redo)
{
    m_undoAvailable = undo;
    m_redoAvailable = redo;
}

// The change notification ------------------------------------------------------------------

void TNumSpinEdit::WriteText(const QString& text)
{
    Edit([&] {
        setText(text);
        // A box the user is not in shows the start of a text too long for it, as the
        // desktop's own edit boxes do: a number's sign and first digits, not its last.
        if (!hasFocus())
            home(false);
    });
}

void TNumSpinEdit::Edit(const std::function<void()>& edit)
{
    // OnChange runs after the line edit has finished its own work, so that a handler that
    // writes the box (or raises) finds it in a settled state.
    const bool outer = !std::exchange(m_deferChange, true);
    edit();
    if (outer) {
        m_deferChange = false;
        TextMayHaveChanged();
    }
}

void TNumSpinEdit::AsUser(const std::function<void()>& action)
{
    const bool outer = !std::exchange(m_userAction, true);
    action();
    if (outer)
        m_userAction = false;
}

void TNumSpinEdit::TextMayHaveChanged()
{
    const bool byUser = std::exchange(m_editedByUser, false) || m_userAction;
    if (text() == m_notifiedText)
        return;
    m_notifiedText = text();
    if (m_loading)
        return;
    // What the handlers write is their own doing, not the user's.
    const bool userAction = std::exchange(m_userAction, false);
    Notify(OnChange, this);
    if (byUser)
        Notify(OnUserChange, this);
    m_userAction = userAction;
}

// Steps, undo and redo: the owner's to make -------------------------------------------------

void TNumSpinEdit::StepUp()
{
    Step(+1, false);
}

void TNumSpinEdit::StepDown()
{
    Step(-1, false);
}

void TNumSpinEdit::MakeStep(int direction, bool page)
{
    if (OnStep)
        OnStep(this, direction * (page ? m_incrementFloatPage : m_incrementFloat));
}

// The step is made, then the caret and selection are put back where they were, on the same
// digit when a sign came or went; after a step up that changed the text's length, the
// selection runs to its end.
void TNumSpinEdit::Step(int direction, bool page)
{
    const QString oldText = text();
    int start = SelStart();
    int length = int(selectionLength());
    if (m_readOnly)
        Refuse();
    else
        MakeStep(direction, page);

    const QString newText = text();
    const bool hadMinus = oldText.contains(QLatin1Char('-'));
    const bool hasMinus = newText.contains(QLatin1Char('-'));
    if (hadMinus && !hasMinus)
        --start;
    else if (!hadMinus && hasMinus)
        ++start;
    if (direction > 0 && newText.size() != oldText.size())
        length = int(newText.size());
    SetSelection(start, length);

    if (newText != oldText)
        setModified(true);
    Notify(direction > 0 ? OnUpClick : OnDownClick, this);
}

void TNumSpinEdit::Undo()
{
    if (!isReadOnly()) // the line edit is read-only whenever the box is locked
        MakeUndo();
}

void TNumSpinEdit::Redo()
{
    if (!isReadOnly())
        MakeRedo();
}

void TNumSpinEdit::MakeUndo()
{
    Notify(OnUndo, this);
}

void TNumSpinEdit::MakeRedo()
{
    Notify(OnRedo, this);
}

int TNumSpinEdit::SelStart() const
{
    return hasSelectedText() ? int(selectionStart()) : int(cursorPosition());
}

void TNumSpinEdit::SetSelection(int start, int length)
{
    const int size = int(text().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (length == 0) {
        deselect();
        setCursorPosition(start);
    } else {
        setSelection(start, length);
    }
}

// Keys and typed characters ------------------------------------------------------------------

void TNumSpinEdit::keyPressEvent(QKeyEvent* event)
{
    const QString before = text();
    if (!HandleKey(event)) {
        const QString typed = TypedCharacters(event);
        if (typed.isEmpty())
            Edit(
                [&] { QLineEdit::keyPressEvent(event); }); // shortcuts, caret movement and the like
        for (const QChar key : typed)
            HandleCharacter(event, key);
    }
    if (text() != before)
        setModified(true);
}

bool TNumSpinEdit::HandleKey(QKeyEvent* event)
{
    const auto keepingSelection = [this](const std::function<void()>& action) {
        const int start = SelStart();
        const int length = int(selectionLength());
        action();
        SetSelection(start, length);
        return true;
    };

    if (HandleEditingShortcut(event))
        return true;
    // clang-format off
    switch (event->key()) {
    case Qt::Key_Up: return keepingSelection([this] { StepUp(); });
    case Qt::Key_Down: return keepingSelection([this] { StepDown(); });
    case Qt::Key_PageUp: return keepingSelection([this] { Step(+1, true); });
    case Qt::Key_PageDown: return keepingSelection([this] { Step(-1, true); });
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & Qt::ControlModifier)
            return keepingSelection([this] { StepUp(); });
        if (m_returnIsTab) {
            focusNextChild();
            return true;
        }
        return false;
    case Qt::Key_Delete:
        return !m_editorEnabled;
    default:
        return false;
    }
    // clang-format on
}

// Shortcuts skip the character filter: they type nothing, even when the decimals are full.
bool TNumSpinEdit::HandleEditingShortcut(QKeyEvent* event)
{
    const bool editable = !isReadOnly(); // the line edit is read-only whenever the box is locked
    // clang-format off
    switch (EditingShortcut(event)) {
    case QKeySequence::SelectAll: selectAll(); return true;
    case QKeySequence::Copy: copy(); return true;
    case QKeySequence::Paste: PasteClipboard(); return true;
    case QKeySequence::Cut:
        if (editable)
            Edit([this] { cut(); });
        return true;
    case QKeySequence::Undo: Undo(); return true;
    case QKeySequence::Redo: Redo(); return true;
    default: return false;
    }
    // clang-format on
}

void TNumSpinEdit::HandleCharacter(QKeyEvent* event, QChar key)
{
    if (key == CarriageReturn) {
        QChar carriageReturn = key;
        if (OnKeyPress)
            OnKeyPress(this, carriageReturn);
        event->ignore(); // never inserted; a dialog may still use it
        return;
    }
    TypeCharacter(key, [&] { QLineEdit::keyPressEvent(event); });
}

// Text an input method commits is typed as keys are, one character at a time; what it is
// still composing shows as the line edit shows it.
void TNumSpinEdit::inputMethodEvent(QInputMethodEvent* event)
{
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    Edit([&] { QLineEdit::inputMethodEvent(&composing); });
    const QString before = text();
    for (const QChar key : event->commitString()) {
        if (key.unicode() >= 0x20 && key.unicode() != 0x7F)
            TypeCharacter(key, [] {});
    }
    if (text() != before)
        setModified(true);
    event->accept();
}

void TNumSpinEdit::Refuse()
{
    Beep();
    m_refusalCue->Show();
}

// A character through the filter, the key press handler and into the text. A control
// character that stays itself is passed on by passControl (Backspace, Escape).
void TNumSpinEdit::TypeCharacter(QChar key, const std::function<void()>& passControl)
{
    if (key == QLatin1Char('+'))
        return;
    if (key == QLatin1Char('-')) {
        if (!m_signed)
            return;
        ToggleSign();
        QChar minus = key;
        if (!IsAcceptedChar(minus))
            Refuse();
        else if (OnKeyPress)
            OnKeyPress(this, minus);
        return;
    }

    QChar accepted = key;
    if (!IsAcceptedChar(accepted)) {
        Refuse();
        return;
    }
    if (OnKeyPress)
        OnKeyPress(this, accepted);
    if (accepted.isNull())
        return;
    if (accepted.unicode() < 0x20) {
        if (accepted == key)
            Edit(passControl);
    } else if (!isReadOnly()) {
        Edit([&] { insert(QString(accepted)); });
    }
}

void TNumSpinEdit::ToggleSign()
{
    QString newText = text();
    int start = SelStart();
    int length = int(selectionLength());
    if (length > 0 && length == newText.size()) {
        // Over the whole text selected, as over a selection any key types, "-" starts anew.
        newText = QStringLiteral("-");
        start = 1;
        length = 0;
    } else if (newText.startsWith(QLatin1Char('-'))) {
        newText.remove(0, 1);
        --start;
    } else {
        newText.prepend(QLatin1Char('-'));
        ++start;
    }
    AsUser([&] { WriteText(newText); });
    SetSelection(start, length);
}

bool TNumSpinEdit::IsAcceptedChar(QChar& key) const
{
    const TKeyFilterBox box{
        m_spinType,     m_precision, text(), int(cursorPosition()), int(selectionLength()),
        m_editorEnabled};
    const std::optional<QChar> accepted =
        FilterNumberKey(key, box, TNumberSeparators::Of(QLocale()));
    if (!accepted)
        return false;
    key = *accepted;
    return true;
}

// Pasting ------------------------------------------------------------------------------------

void TNumSpinEdit::PasteClipboard()
{
    Paste(QGuiApplication::clipboard()->text());
}

void TNumSpinEdit::Paste(const QString& text)
{
    // The line edit is read-only whenever the box is locked; its validator keeps one line.
    if (isReadOnly() || (OnPaste && OnPaste(this, text)))
        return;
    Edit([&] { insert(text); });
}

QString TNumSpinEdit::PastedText(const QString& text) const
{
    QString pasted = this->text();
    pasted.replace(hasSelectedText() ? selectionStart() : cursorPosition(), selectionLength(),
                   text);
    int position = 0;
    validator()->validate(pasted, position);
    return pasted;
}

void TNumSpinEdit::CopyWithUnit() const
{
    QGuiApplication::clipboard()->setText(Text() + QLatin1Char(' ') + m_unitSymbol);
}

void TNumSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    RerouteStandardActions(*menu);
    if (!m_unitSymbol.isEmpty())
        AddCopyWithUnit(*menu);
    menu->popup(event->globalPos());
}

// Paste, Undo and Redo go where the keys go, not to the line edit's own; undo and redo are
// offered when the owner has something to undo or redo.
void TNumSpinEdit::RerouteStandardActions(QMenu& menu)
{
    const auto reroute = [&](const char* caption, void (TNumSpinEdit::*action)(),
                             std::optional<bool> enabled) {
        QAction* const entry = StandardActionOf(menu, caption);
        if (!entry)
            return;
        entry->disconnect(this);
        connect(entry, &QAction::triggered, this, action);
        if (enabled)
            entry->setEnabled(*enabled && !isReadOnly());
    };
    reroute("&Paste", &TNumSpinEdit::PasteClipboard, std::nullopt);
    reroute("&Undo", &TNumSpinEdit::Undo, UndoAvailable());
    reroute("&Redo", &TNumSpinEdit::Redo, RedoAvailable());
}

// After Copy: the whole text with its unit, while the text reads as a number.
void TNumSpinEdit::AddCopyWithUnit(QMenu& menu)
{
    auto* const action = new QAction(QStringLiteral("Copier a&vec l'unité"), &menu);
    action->setEnabled(UserTextToFloat(text(), QLocale()).has_value());
    connect(action, &QAction::triggered, this, &TNumSpinEdit::CopyWithUnit);
    const QList<QAction*> actions = menu.actions();
    const qsizetype after = actions.indexOf(StandardActionOf(menu, "&Copy")) + 1;
    menu.insertAction(after > 0 && after < actions.size() ? actions[after] : nullptr, action);
}

void TNumSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() != Qt::MiddleButton || !clipboard->supportsSelection()) {
        QLineEdit::mouseReleaseEvent(event);
        return;
    }
    Paste(clipboard->text(QClipboard::Selection)); // at the caret the press placed
}

void TNumSpinEdit::dropEvent(QDropEvent* event)
{
    if (event->source() == this) {
        Edit([&] { QLineEdit::dropEvent(event); }); // text moved within the box
        return;
    }
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    event->acceptProposedAction();
    Paste(event->mimeData()->text());
}

// Focus --------------------------------------------------------------------------------------

void TNumSpinEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Coming back with the window or from a popup is no entry: the box never left.
    if (m_entered)
        return;
    m_entered = true;
    EnterBox(event->reason());
}

void TNumSpinEdit::EnterBox(Qt::FocusReason reason)
{
    if (m_autoSelect && reason != Qt::MouseFocusReason)
        selectAll();
    else if (!m_autoSelect && hasSelectedText())
        deselect(); // the line edit selects on Tab by itself
    Notify(OnEnter, this);
    // The box's own focus look comes after OnEnter, so it wins over a colour set there.
    if (m_focusBorderColor != clNone)
        update();
    if (m_focusColor != clNone)
        SetColor(m_focusColor);
}

void TNumSpinEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (!m_entered || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    m_entered = false;
    if (m_focusColor != clNone && m_normalColor != clNone)
        SetColor(m_normalColor);
    update();
    LeaveBox();
}

void TNumSpinEdit::LeaveBox()
{
    Notify(OnExit, this);
}

// Caption label ------------------------------------------------------------------------------

void TNumSpinEdit::SetLabelCaption(const QString& caption)
{
    m_labelCaption = caption;
    if (!m_label)
        m_label = new TBoundLabel(this);
    m_label->setText(caption);
    PlaceLabel();
}

void TNumSpinEdit::SetLabelPosition(TLabelPosition position)
{
    m_labelLook.Position = position;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelMargin(int margin)
{
    m_labelLook.Margin = margin;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelFont(const QFont& font)
{
    m_labelLook.Font = font;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelFontColor(TColor color)
{
    m_labelLook.FontColor = color;
    PlaceLabel();
}

void TNumSpinEdit::PlaceLabel()
{
    if (m_label)
        m_label->SetLook(m_labelLook);
}

} // namespace tarvane

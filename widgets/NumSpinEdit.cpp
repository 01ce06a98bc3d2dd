#include "NumSpinEdit.h"

#include "Beep.h"
#include "NumberText.h"
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
#include <climits>
#include <cmath>
#include <utility>

namespace tarvane {

namespace {

constexpr quint32 PackedVersion = 0x01040501; // major, minor, release, build

constexpr QChar Backspace = QChar(0x08);
constexpr QChar Escape = QChar(0x1B);
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

QChar FirstOf(const QString& text, QChar fallback)
{
    return text.isEmpty() ? fallback : text.front();
}

// The locale's separator in a date or time format: its first character that is neither a
// field letter, a quote nor a blank.
QChar SeparatorOf(const QString& format, QChar fallback)
{
    const auto it = std::find_if(format.cbegin(), format.cend(), [](QChar c) {
        return !c.isLetter() && !c.isSpace() && c != QLatin1Char('\'');
    });
    return it == format.cend() ? fallback : *it;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The characters a key press types, if any: Backspace, Escape and Return give their control
// codes. Shortcuts type nothing: they are the line edit's.
QString TypedCharacters(const QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Backspace: return QString(Backspace);
    case Qt::Key_Escape: return QString(Escape);
    case Qt::Key_Return:
    case Qt::Key_Enter: return QString(CarriageReturn);
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return {};
    default: break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return {};
    QString text = event->text();
    text.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return text;
}

// The editing action a key press asks for: the usual keys on every desktop, and whatever
// else the desktop's key scheme binds to the same actions.
QKeySequence::StandardKey EditingShortcut(const QKeyEvent* event)
{
    struct Binding {
        QKeyCombination keys;
        QKeySequence::StandardKey action;
    };
    static constexpr Binding usual[] = {
        {Qt::CTRL | Qt::Key_A, QKeySequence::SelectAll},
        {Qt::CTRL | Qt::Key_C, QKeySequence::Copy},
        {Qt::CTRL | Qt::Key_Insert, QKeySequence::Copy},
        {Qt::CTRL | Qt::Key_X, QKeySequence::Cut},
        {Qt::SHIFT | Qt::Key_Delete, QKeySequence::Cut},
        {Qt::CTRL | Qt::Key_V, QKeySequence::Paste},
        {Qt::SHIFT | Qt::Key_Insert, QKeySequence::Paste},
        {Qt::CTRL | Qt::Key_Z, QKeySequence::Undo},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, QKeySequence::Redo},
        {Qt::CTRL | Qt::Key_Y, QKeySequence::Redo},
    };
    const QKeyCombination pressed(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    for (const Binding& binding : usual) {
        if (binding.keys == pressed)
            return binding.action;
    }
    for (const QKeySequence::StandardKey action :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
          QKeySequence::Undo, QKeySequence::Redo}) {
        if (event->matches(action))
            return action;
    }
    return QKeySequence::UnknownKey;
}

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

// Where reading finds a floating-point text's decimal separator ("." and "," count as one in
// every locale); -1 when there is none.
qsizetype DecimalSeparatorIndex(const QString& text, QChar decimalSeparator)
{
    const auto it = std::find_if(text.cbegin(), text.cend(), [&](QChar c) {
        return c == QLatin1Char('.') || c == QLatin1Char(',') || c == decimalSeparator;
    });
    return it == text.cend() ? -1 : it - text.cbegin();
}

// Digits with an optional sign: an integer, however long.
bool IsIntegerText(const QString& text)
{
    const qsizetype start = text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'));
    return text.size() > start && std::all_of(text.cbegin() + start, text.cend(), IsDigit);
}

int SaturatedInt(long long value)
{
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int SaturatedInt(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

} // namespace

TNumSpinEdit::TNumSpinEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_spinButtons(new TSpinButtons(this))
{
    setValidator(new TOneLineValidator(this));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::transparent); // the background is painted from Color
    setPalette(palette);
    ApplyFontColor();
    setText(QStringLiteral("0"));
    m_notifiedText = text();
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
    m_suppressChange = true;
    m_normalColor = m_color;
    if (m_spinType == sptFloat)
        SetFloatValue(FloatValue());
    else
        SetValue(Value());
    ApplyFlat();
    PlaceLabel();
    if (m_label && !isEnabled())
        m_label->setEnabled(false);
    m_suppressChange = false;
}

QString TNumSpinEdit::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(PackedVersion >> 24)
        .arg((PackedVersion >> 16) & 0xFF)
        .arg((PackedVersion >> 8) & 0xFF)
        .arg(PackedVersion & 0xFF);
}

// Reading and writing the value ----------------------------------------------------------

void TNumSpinEdit::SetSpinType(TSpinType spinType)
{
    if (spinType == m_spinType)
        return;
    if (m_loading) {
        m_spinType = spinType;
        return;
    }
    const double value = m_spinType == sptFloat ? FloatValue() : Value();
    m_spinType = spinType;
    const TNotifyEvent onChange = std::exchange(OnChange, nullptr);
    if (m_spinType == sptFloat)
        SetFloatValue(value);
    else
        SetValue(SaturatedInt(value));
    OnChange = onChange;
}

int TNumSpinEdit::Value() const
{
    const QString trimmed = text().trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (ok)
        return value;
    // Digits beyond 32 bits still spell a number: the nearest one there is.
    if (IsIntegerText(trimmed))
        return trimmed.startsWith(QLatin1Char('-')) ? INT_MIN : INT_MAX;
    return m_minValue;
}

void TNumSpinEdit::SetValue(int value)
{
    WriteText(QString::number(ClampValue(value)));
    if (!m_editorEnabled && m_autoSelect)
        selectAll();
}

double TNumSpinEdit::FloatValue() const
{
    return ParsedFloatValue().value_or(double(m_minValue));
}

std::optional<double> TNumSpinEdit::ParsedFloatValue() const
{
    if (text().trimmed().isEmpty())
        return 0.0;
    return UserTextToFloat(text(), QLocale());
}

void TNumSpinEdit::SetFloatValue(double value)
{
    WriteText(FloatToText(ClampFloatValue(value), m_precision, QLocale()));
}

void TNumSpinEdit::SetText(const QString& text)
{
    if (text != this->text())
        WriteText(text);
}

void TNumSpinEdit::SetPrecision(int precision)
{
    m_precision = precision;
    if (m_spinType == sptFloat)
        SetFloatValue(FloatValue());
}

int TNumSpinEdit::ClampValue(int value) const
{
    if (m_loading || (m_minValue == 0 && m_maxValue == 0))
        return value;
    if (value < m_minValue)
        return m_minValue;
    if (value > m_maxValue)
        return m_maxValue;
    return value;
}

double TNumSpinEdit::ClampFloatValue(double value) const
{
    if (m_loading || m_minFloatValue == m_maxFloatValue)
        return value;
    if (value < m_minFloatValue)
        return m_minFloatValue;
    if (value > m_maxFloatValue)
        return m_maxFloatValue;
    return value;
}

// The change notification ------------------------------------------------------------------

void TNumSpinEdit::WriteText(const QString& text)
{
    Edit([&] { setText(text); });
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

void TNumSpinEdit::TextMayHaveChanged()
{
    if (text() == m_notifiedText)
        return;
    m_notifiedText = text();
    if (!m_loading && !m_suppressChange)
        Notify(OnChange, this);
}

// Stepping ---------------------------------------------------------------------------------

void TNumSpinEdit::StepUp()
{
    Step(+1);
}

void TNumSpinEdit::StepDown()
{
    Step(-1);
}

void TNumSpinEdit::AddToValue(long long increment)
{
    SetValue(SaturatedInt(Value() + increment));
}

void TNumSpinEdit::Step(int direction)
{
    const QString oldText = text();
    int start = SelStart();
    int length = int(selectionLength());
    if (m_readOnly)
        Beep();
    else if (m_spinType == sptFloat)
        SetFloatValue(FloatValue() + direction * m_incrementFloat);
    else
        AddToValue(direction * static_cast<long long>(m_increment));

    // Keep the caret on the same digit when a sign comes or goes.
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
            Edit([&] { QLineEdit::keyPressEvent(event); }); // shortcuts, caret movement and the like
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
    const auto page = [this](int direction) {
        if (m_spinType == sptFloat)
            SetFloatValue(FloatValue() + direction * m_incrementFloatPage);
        else
            AddToValue(direction * static_cast<long long>(m_incrementPage));
    };

    if (HandleEditingShortcut(event))
        return true;
    switch (event->key()) {
    case Qt::Key_Up: return keepingSelection([this] { StepUp(); });
    case Qt::Key_Down: return keepingSelection([this] { StepDown(); });
    case Qt::Key_PageUp: return keepingSelection([&] { page(+1); });
    case Qt::Key_PageDown: return keepingSelection([&] { page(-1); });
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
}

// Shortcuts skip the character filter: they type nothing, even when the decimals are full.
bool TNumSpinEdit::HandleEditingShortcut(QKeyEvent* event)
{
    const bool editable = !isReadOnly(); // the line edit is read-only whenever the box is locked
    switch (EditingShortcut(event)) {
    case QKeySequence::SelectAll: selectAll(); return true;
    case QKeySequence::Copy: copy(); return true;
    case QKeySequence::Paste: Paste(QGuiApplication::clipboard()->text()); return true;
    case QKeySequence::Cut:
        if (editable)
            Edit([this] { cut(); });
        return true;
    case QKeySequence::Undo:
        if (editable)
            Edit([this] { undo(); });
        return true;
    case QKeySequence::Redo:
        if (editable)
            Edit([this] { redo(); });
        return true;
    default: return false;
    }
}

void TNumSpinEdit::HandleCharacter(QKeyEvent* event, QChar key)
{
    if (key == QLatin1Char('+'))
        return;
    if (key == QLatin1Char('-')) {
        if (!m_signed)
            return;
        ToggleSign();
        QChar minus = key;
        if (!IsAcceptedChar(minus))
            Beep();
        else if (OnKeyPress)
            OnKeyPress(this, minus);
        return;
    }
    if (key == CarriageReturn) {
        QChar carriageReturn = key;
        if (OnKeyPress)
            OnKeyPress(this, carriageReturn);
        event->ignore(); // never inserted; a dialog may still use it
        return;
    }

    QChar accepted = key;
    if (!IsAcceptedChar(accepted)) {
        Beep();
        return;
    }
    if (OnKeyPress)
        OnKeyPress(this, accepted);
    if (accepted.isNull())
        return;
    if (accepted.unicode() < 0x20) {
        if (accepted == key)
            Edit([&] { QLineEdit::keyPressEvent(event); }); // Backspace, Escape
    } else if (!isReadOnly()) {
        Edit([&] { insert(QString(accepted)); });
    }
}

void TNumSpinEdit::ToggleSign()
{
    QString newText = text();
    int start = SelStart();
    const int length = int(selectionLength());
    if (newText.startsWith(QLatin1Char('-'))) {
        newText.remove(0, 1);
        --start;
    } else {
        newText.prepend(QLatin1Char('-'));
        ++start;
    }
    WriteText(newText);
    SetSelection(start, length);
}

bool TNumSpinEdit::IsAcceptedChar(QChar& key) const
{
    const QLocale locale;
    const QChar decimalSeparator = FirstOf(locale.decimalPoint(), QLatin1Char('.'));
    const QChar thousandsSeparator = FirstOf(locale.groupSeparator(), QLatin1Char(','));
    const QChar timeSeparator = SeparatorOf(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    const QChar dateSeparator = SeparatorOf(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    // "." and "," are the decimal separator in every locale, whichever of them the keypad types.
    if (m_spinType == sptFloat && (key == QLatin1Char('.') || key == QLatin1Char(',')))
        key = decimalSeparator;
    const bool isSign = key == QLatin1Char('+') || key == QLatin1Char('-');
    const bool isSeparator = key == decimalSeparator || key == thousandsSeparator ||
                             key == timeSeparator || key == dateSeparator;
    const bool isControl = key.unicode() < 0x20 && key != CarriageReturn;
    if (!IsDigit(key) && !isSign && !isSeparator && !isControl)
        return false;

    if (m_spinType == sptNormal && isSeparator && !isSign)
        return false;
    // No time or date mode here: their separators only pass as a number's own character.
    const auto passesAsNumberCharacter = [&](QChar separator) {
        return m_spinType == sptFloat &&
               (separator == decimalSeparator || separator == thousandsSeparator ||
                separator == QLatin1Char('-') || separator == QLatin1Char('+'));
    };
    if (key == timeSeparator && !passesAsNumberCharacter(timeSeparator))
        return false;
    if (key == dateSeparator && !passesAsNumberCharacter(dateSeparator))
        return false;

    if (m_spinType == sptFloat && key != Escape && key != CarriageReturn && key != Backspace) {
        if (key == thousandsSeparator)
            key = decimalSeparator;
        const QString current = text();
        const qsizetype separatorIndex = DecimalSeparatorIndex(current, decimalSeparator);
        if (key == decimalSeparator) {
            const bool wholeTextSelected = hasSelectedText() && selectedText() == current;
            if (!wholeTextSelected && (separatorIndex >= 0 || m_precision == 0))
                return false;
        }
        if (IsFullDecimals(current, separatorIndex))
            return false;
    }

    if (!m_editorEnabled && (key.unicode() >= 0x20 || key == Backspace))
        return false;
    return true;
}

// The caret sits in the decimals, nothing is selected, and there are Precision of them.
bool TNumSpinEdit::IsFullDecimals(const QString& text, qsizetype separatorIndex) const
{
    if (m_precision <= 0 || hasSelectedText())
        return false;
    const qsizetype separatorPosition = separatorIndex + 1; // 1-based
    return separatorPosition > 0 && cursorPosition() >= separatorPosition &&
           text.size() - separatorPosition >= m_precision;
}

// Pasting ------------------------------------------------------------------------------------

void TNumSpinEdit::Paste(const QString& text)
{
    // The line edit is read-only whenever the box is locked; its validator keeps one line.
    if (isReadOnly() || (OnPaste && OnPaste(this, text)))
        return;
    Edit([&] { insert(text); });
}

void TNumSpinEdit::CopyWithUnit() const
{
    QGuiApplication::clipboard()->setText(Text() + QLatin1Char(' ') + m_unitSymbol);
}

void TNumSpinEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction* paste = StandardActionOf(*menu, "&Paste")) {
        paste->disconnect(this); // from the line edit's own paste
        connect(paste, &QAction::triggered, this,
                [this] { Paste(QGuiApplication::clipboard()->text()); });
    }
    if (!m_unitSymbol.isEmpty())
        AddCopyWithUnit(*menu);
    menu->popup(event->globalPos());
}

// After Copy: the whole text with its unit, while the text reads as a number.
void TNumSpinEdit::AddCopyWithUnit(QMenu& menu)
{
    auto* const action = new QAction(QStringLiteral("Copier a&vec l'unité"), &menu);
    action->setEnabled(ParsedFloatValue().has_value());
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
    if (!m_allowNullValue && text().isEmpty()) {
        if (m_spinType == sptFloat)
            SetFloatValue(m_minFloatValue);
        else
            SetValue(m_minValue);
    }
    update();
    LeaveBox();
}

void TNumSpinEdit::LeaveBox()
{
    if (!(m_allowNullValue && text().isEmpty())) {
        if (m_spinType == sptFloat) {
            SetFloatValue(FloatValue());
        } else {
            const int value = Value();
            const int clamped = ClampValue(value);
            if (clamped != value)
                SetValue(clamped);
        }
    }
    Notify(OnExit, this);
}

// Look and layout ----------------------------------------------------------------------------

void TNumSpinEdit::SetEditorEnabled(bool enabled)
{
    m_editorEnabled = enabled;
    ApplyEditorState();
}

void TNumSpinEdit::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    ApplyEditorState();
}

void TNumSpinEdit::ApplyEditorState()
{
    // The line edit's read-only mode also stops clipboard pastes and cuts.
    setReadOnly(m_readOnly || !m_editorEnabled);
}

void TNumSpinEdit::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    AdjustHeight();
}

void TNumSpinEdit::SetEditAlign(TEditAlign align)
{
    m_editAlign = align;
    const Qt::Alignment horizontal = align == eaCenter  ? Qt::AlignHCenter
                                     : align == eaRight ? Qt::AlignRight
                                                        : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
}

void TNumSpinEdit::SetFlat(bool flat)
{
    m_flat = flat;
    if (!m_loading)
        ApplyFlat();
}

void TNumSpinEdit::ApplyFlat()
{
    if (m_flat) {
        m_normalColor = m_color;
        m_flatTextRect = true;
    }
    setFrame(!m_flat);
    PlaceSpinButtons();
    PlaceTextRect();
    AdjustHeight();
    update();
}

void TNumSpinEdit::SetFlatLineColor(TColor color)
{
    m_flatLineColor = color;
    update();
}

void TNumSpinEdit::SetColor(TColor color)
{
    m_color = color;
    update();
}

void TNumSpinEdit::SetFocusBorderColor(TColor color)
{
    m_focusBorderColor = color;
    update();
}

void TNumSpinEdit::SetFontColor(TColor color)
{
    m_fontColor = color;
    ApplyFontColor();
}

void TNumSpinEdit::ApplyFontColor()
{
    const QColor color = ColorToQColor(m_fontColor);
    if (!color.isValid())
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Text, color);
    setPalette(palette);
}

void TNumSpinEdit::paintEvent(QPaintEvent* event)
{
    const QColor background = ColorToQColor(m_color);
    if (background.isValid())
        QPainter(this).fillRect(rect(), background);
    QLineEdit::paintEvent(event);

    QPainter painter(this);
    const QColor line = ColorToQColor(m_flatLineColor);
    if (m_flat && line.isValid())
        painter.fillRect(QRect(m_textRect.left(), height() - 1, m_textRect.width(), 1), line);
    const QColor frame = ColorToQColor(m_focusBorderColor);
    if (hasFocus() && frame.isValid()) {
        painter.setPen(frame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TNumSpinEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    if (event->size() != m_textRectSize)
        m_flatTextRect = false; // a real resize places the text rectangle anew
    PlaceSpinButtons();
    PlaceTextRect();
    AdjustHeight();
    PlaceLabel();
}

void TNumSpinEdit::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    PlaceLabel();
}

void TNumSpinEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        m_flatTextRect = true;
        PlaceTextRect();
        AdjustHeight();
        break;
    case QEvent::ApplicationPaletteChange:
        ApplyFontColor(); // a system text colour follows the desktop
        break;
    case QEvent::EnabledChange:
        if (m_label)
            m_label->setEnabled(isEnabled());
        break;
    case QEvent::ParentChange:
        if (m_label) {
            m_label->setParent(parentWidget());
            SyncLabelVisibility();
            PlaceLabel();
        }
        break;
    default:
        break;
    }
}

void TNumSpinEdit::setVisible(bool visible)
{
    QLineEdit::setVisible(visible);
    if (m_label)
        SyncLabelVisibility();
}

void TNumSpinEdit::PlaceSpinButtons()
{
    constexpr int width = TSpinButtons::MinWidth;
    if (hasFrame())
        m_spinButtons->setGeometry(this->width() - width - 4, 2, width, height() - 6);
    else
        m_spinButtons->setGeometry(this->width() - width, 0, width, height() - 1);
}

void TNumSpinEdit::PlaceTextRect()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    // Right edge (exclusive) clear of the spin buttons.
    const int right = m_spinButtons->x() - (hasFrame() ? 2 : 4);
    QRect textRect;
    if (m_flatTextRect)
        textRect = QRect(2, 4, right - 2, height() - 8);
    else if (hasFrame())
        textRect = QRect(contents.left(), contents.top(), right - contents.left(),
                         contents.height() + 1);
    else
        textRect = QRect(2, 2, right - 2, height() - 1); // to one pixel below the box
    textRect.setWidth(std::max(0, textRect.width()));
    textRect.setHeight(std::max(0, textRect.height()));
    m_textRect = textRect;
    m_textRectSize = size();
    setTextMargins(textRect.left() - contents.left(), textRect.top() - contents.top(),
                   contents.right() - textRect.right(), contents.bottom() - textRect.bottom());
}

void TNumSpinEdit::AdjustHeight()
{
    // While loading, the border and font are not final yet: Loaded() adjusts once.
    if (m_loading)
        return;
    const int required = RequiredHeight();
    if (m_autoSize && height() < required)
        resize(width(), required);
}

int TNumSpinEdit::RequiredHeight() const
{
    const int cell = fontMetrics().height();
    const int systemCell = QFontMetrics(QApplication::font()).height();
    return cell + std::min(systemCell, cell) / 4 + 2 + (hasFrame() ? 4 : 0);
}

// Caption label ------------------------------------------------------------------------------

void TNumSpinEdit::SetLabelCaption(const QString& caption)
{
    m_labelCaption = caption;
    if (!m_label) {
        m_label = new QLabel(parentWidget());
        m_label->setBuddy(this);
        SyncLabelVisibility();
    }
    m_label->setText(caption);
    PlaceLabel();
}

void TNumSpinEdit::SetLabelPosition(TLabelPosition position)
{
    m_labelPosition = position;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelMargin(int margin)
{
    m_labelMargin = margin;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelFont(const QFont& font)
{
    m_labelFont = font;
    PlaceLabel();
}

void TNumSpinEdit::SetLabelFontColor(TColor color)
{
    m_labelFontColor = color;
    PlaceLabel();
}

void TNumSpinEdit::SyncLabelVisibility()
{
    m_label->setVisible(parentWidget() && isVisibleTo(parentWidget()));
}

void TNumSpinEdit::PlaceLabel()
{
    if (!m_label)
        return;
    m_label->setFont(m_labelFont);
    const QColor color = ColorToQColor(m_labelFontColor);
    if (color.isValid()) {
        QPalette palette = m_label->palette();
        palette.setColor(QPalette::WindowText, color);
        m_label->setPalette(palette);
    }
    m_label->adjustSize();

    const QRect box = geometry();
    const QSize label = m_label->size();
    const int besideLeft = box.left() - label.width() - m_labelMargin;
    const int centredLeft = label.width() < box.width()
                                ? box.left() + (box.width() - label.width()) / 2
                                : box.left() - (label.width() - box.width()) / 2;
    const int above = box.top() - label.height() - m_labelMargin;
    const int below = box.top() + box.height() + m_labelMargin;
    const int middle = box.top() + (box.height() - label.height()) / 2;
    const int bottom = box.top() + box.height() - label.height();
    QPoint position;
    switch (m_labelPosition) {
    case lpLeftTop:
    case lpLeftTopLeft: position = {besideLeft, box.top()}; break;
    case lpLeftCenter:
    case lpLeftCenterLeft: position = {besideLeft, middle}; break;
    case lpLeftBottom:
    case lpLeftBottomLeft: position = {besideLeft, bottom}; break;
    case lpTopLeft: position = {box.left(), above}; break;
    case lpBottomLeft: position = {box.left(), below}; break;
    case lpTopCenter: position = {centredLeft, above}; break;
    case lpBottomCenter: position = {centredLeft, below}; break;
    }
    m_label->move(position);
}

} // namespace tarvane

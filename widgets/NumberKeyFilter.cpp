#include "NumberKeyFilter.h"

#include <QKeyEvent>
#include <QLocale>

#include <algorithm>

namespace tarvane {

namespace {

constexpr QChar Backspace = QChar(0x08);
constexpr QChar Escape = QChar(0x1B);
constexpr QChar CarriageReturn = QChar(0x0D);

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

// Where a text's decimal separator is ("." and "," count as one in every locale); -1 when
// there is none.
qsizetype DecimalSeparatorIndex(const QString& text, QChar decimalSeparator)
{
    const auto it = std::find_if(text.cbegin(), text.cend(), [&](QChar c) {
        return c == QLatin1Char('.') || c == QLatin1Char(',') || c == decimalSeparator;
    });
    return it == text.cend() ? -1 : it - text.cbegin();
}

// The caret sits in the decimals, nothing is selected, and there are Precision of them.
bool IsFullDecimals(const TKeyFilterBox& box, qsizetype separatorIndex)
{
    if (box.Precision <= 0 || box.SelectionLength > 0)
        return false;
    const qsizetype separatorPosition = separatorIndex + 1; // 1-based
    return separatorPosition > 0 && box.Caret >= separatorPosition
        && box.Text.size() - separatorPosition >= box.Precision;
}

} // namespace

// The characters a key press types, if any: Backspace, Escape and Return give their control
// codes. Shortcuts type nothing: they are the line edit's.
QString TypedCharacters(const QKeyEvent* event)
{
    const int key = event->key();
    // clang-format off
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
    // clang-format on
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

TNumberSeparators TNumberSeparators::Of(const QLocale& locale)
{
    return {FirstOf(locale.decimalPoint(), QLatin1Char('.')),
            FirstOf(locale.groupSeparator(), QLatin1Char(',')),
            SeparatorOf(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':')),
            SeparatorOf(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'))};
}

std::optional<QChar> FilterNumberKey(QChar key, const TKeyFilterBox& box,
                                     const TNumberSeparators& separators)
{
    const bool isFloat = box.Mode == sptFloat;
    // "." and "," are the decimal separator in every locale, whichever of them the keypad types.
    if (isFloat && (key == QLatin1Char('.') || key == QLatin1Char(',')))
        key = separators.Decimal;
    const bool isSign = key == QLatin1Char('+') || key == QLatin1Char('-');
    const bool isSeparator = key == separators.Decimal || key == separators.Thousands
        || key == separators.Time || key == separators.Date;
    const bool isControl = key.unicode() < 0x20 && key != CarriageReturn;
    if (!IsDigit(key) && !isSign && !isSeparator && !isControl)
        return std::nullopt;

    if (!isFloat && isSeparator && !isSign)
        return std::nullopt;
    // No time or date mode here: their separators only pass as a number's own character.
    const auto passesAsNumberCharacter = [&](QChar separator) {
        return isFloat
            && (separator == separators.Decimal || separator == separators.Thousands
                || separator == QLatin1Char('-') || separator == QLatin1Char('+'));
    };
    if (key == separators.Time && !passesAsNumberCharacter(separators.Time))
        return std::nullopt;
    if (key == separators.Date && !passesAsNumberCharacter(separators.Date))
        return std::nullopt;

    if (isFloat && key != Escape && key != CarriageReturn && key != Backspace) {
        if (key == separators.Thousands)
            key = separators.Decimal;
        const qsizetype separatorIndex = DecimalSeparatorIndex(box.Text, separators.Decimal);
        if (key == separators.Decimal) {
            const bool wholeTextSelected =
                !box.Text.isEmpty() && box.SelectionLength == box.Text.size();
            if (!wholeTextSelected && separatorIndex >= 0)
                return std::nullopt;
        }
        if (IsFullDecimals(box, separatorIndex))
            return std::nullopt;
    }

    if (!box.EditorEnabled && (key.unicode() >= 0x20 || key == Backspace))
        return std::nullopt;
    return key;
}

} // namespace tarvane

#pragma once

#include <QChar>
#include <QKeySequence>
#include <QString>

#include <optional>

class QKeyEvent;
class QLocale;

namespace tarvane {

enum TSpinType { sptNormal, sptFloat };

// The separators of a locale that a value box tells apart.
struct TNumberSeparators {
    QChar Decimal = u'.';
    QChar Thousands = u',';
    QChar Time = u':';
    QChar Date = u'/';

    static TNumberSeparators Of(const QLocale& locale);
};

// What a value box holds when a character reaches it.
struct TKeyFilterBox {
    TSpinType Mode = sptNormal;
    int Precision = 0;
    QString Text;
    int Caret = 0;
    int SelectionLength = 0;
    bool EditorEnabled = true;
};

// The character filter of a value box, as a pure function of the box's state: the character
// to insert for `key` (the key itself, or in a floating-point box the locale's decimal
// separator for ".", "," and the thousands separator), or nothing when the box refuses it.
// Digits, signs and control characters pass; a floating-point box also takes one decimal
// separator (a second one only over the whole text selected, to be replaced; at precision 0,
// the general form, too) and no further decimal beyond its precision after the separator; a
// locked editor takes control characters only (Backspace excepted).
std::optional<QChar> FilterNumberKey(QChar key, const TKeyFilterBox& box,
                                     const TNumberSeparators& separators);

// The characters a key press types, if any: Backspace, Escape and Return give their control
// codes. Shortcuts type nothing: they are the line edit's.
QString TypedCharacters(const QKeyEvent* event);

// The editing action a key press asks for: the usual keys on every desktop, and whatever
// else the desktop's key scheme binds to the same actions.
QKeySequence::StandardKey EditingShortcut(const QKeyEvent* event);

} // namespace tarvane

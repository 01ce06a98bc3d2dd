#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace tarvane {

// What the program remembers from one run to the next. The integer fields are 8 bits wide:
// whatever is put into them keeps its low 8 bits.
struct TUserPrefs {
    quint8 Value1precision = 0; // decimals shown in box 1
    quint8 Value2precision = 0; // decimals shown in box 2
    quint8 Value1Index = 0;     // unit selected under box 1
    quint8 Value2Index = 0;     // unit selected under box 2
    double Value1 = 0.0;        // the number in box 1
    // The number in box 2 when the user gave it there; nothing when box 1 holds what the user
    // gave. Box 1 may then show none, as 0 V in dBu: Value1 keeps its last number.
    std::optional<double> Value2;

    bool operator==(const TUserPrefs&) const = default;
};

// The preferences stored in the INI file at path. A missing file, section or key, or a value
// that does not parse, gives that field's default (precisions 4, units 0, Value1 1); a unit
// index outside the catalogue gives 0.
//
// Value2 is read from keys that copies older than it ignore, while they keep reading and
// writing the others: Source (the box where the user gave the number, 1 or 2), SourceValue
// (its exact number) and SourceCheck (the units and Value1 saved with them). Value2 is none
// unless Source is 2, SourceValue reads as a number and SourceCheck matches the units and
// Value1 read: a file last saved by an older copy, or keys that do not read, give what
// Value1 alone gives.
TUserPrefs ReadUserPrefs(const QString& path);

// The write test: whether the file may be written (see IniFile::Writable). It changes nothing
// itself; its WriteTest=1 line is written with the other keys, so that a save is one rewrite.
bool CanWriteIniFile(const QString& path);

// When the write test passes, writes WriteTest=1, the five fields older copies read, then
// Source, SourceValue and SourceCheck, into the file, all at once. A write that fails after the test (a full disk) leaves the file as it was and returns
// false. When the test fails nothing is written and nothing is said: true.
bool SaveUserPrefs(const QString& path, const TUserPrefs& prefs);

} // namespace tarvane

#pragma once

#include <QString>
#include <QtGlobal>

namespace tarvane {

// What the program remembers from one run to the next. The integer fields are 8 bits wide:
// whatever is put into them keeps its low 8 bits.
struct TUserPrefs {
    quint8 Value1precision = 0; // decimals shown in box 1
    quint8 Value2precision = 0; // decimals shown in box 2
    quint8 Value1Index = 0;     // unit selected under box 1
    quint8 Value2Index = 0;     // unit selected under box 2
    double Value1 = 0.0;        // the number in box 1

    bool operator==(const TUserPrefs&) const = default;
};

// The preferences stored in the INI file at path. A missing file, section or key, or a value
// that does not parse, gives that field's default (precisions 4, units 0, Value1 1); a unit
// index outside the catalogue gives 0.
TUserPrefs ReadUserPrefs(const QString& path);

// The write test: whether the file may be written (see IniFile::Writable). It changes nothing
// itself; its WriteTest=1 line is written with the other keys, so that a save is one rewrite.
bool CanWriteIniFile(const QString& path);

// When the write test passes, writes WriteTest=1 and the five fields into the file, all at
// once. A write that fails after the test (a full disk) leaves the file as it was and returns
// false. When the test fails nothing is written and nothing is said: true.
bool SaveUserPrefs(const QString& path, const TUserPrefs& prefs);

} // namespace tarvane

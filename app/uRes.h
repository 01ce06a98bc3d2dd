#pragma once

#include <QStringView>

namespace tarvane {

// The program's own texts.

// Captions above the value boxes: the source box and the target box.
inline constexpr QStringView SValueToConvert = u"Valeur à convertir";
inline constexpr QStringView SConvertedValue = u"Valeur convertie";

// Key names of the preferences file.
inline constexpr QStringView SWriteTest = u"WriteTest";
inline constexpr QStringView SValue1precision = u"Value1precision";
inline constexpr QStringView SValue2precision = u"Value2precision";
inline constexpr QStringView SValue1Index = u"Value1Index";
inline constexpr QStringView SValue2Index = u"Value2Index";
inline constexpr QStringView SValue1 = u"Value1";
inline constexpr QStringView SSource = u"Source";
inline constexpr QStringView SSourceValue = u"SourceValue";
inline constexpr QStringView SSourceCheck = u"SourceCheck";

} // namespace tarvane

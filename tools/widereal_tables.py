#!/usr/bin/env python3
"""Writes engine/WideRealTables.h: every constant WideReal's logarithm, exponential and powers
of ten start from, each as the pair of doubles nearest to it, from 90-digit decimal arithmetic
(Python's decimal module, whose ln, exp and powers are correctly rounded).

    python3 tools/widereal_tables.py > engine/WideRealTables.h
    python3 tools/widereal_tables.py --check engine/WideRealTables.h   (the test: exit 1 on a difference)
"""

import decimal
import difflib
import sys
from decimal import Decimal

decimal.getcontext().prec = 90

LN2 = Decimal(2).ln()
LN10 = Decimal(10).ln()


def pair(value):
    """The double nearest to value, and the double nearest to what is left."""
    high = float(value)
    return high, float(value - Decimal(high))


def scaled(value):
    """(high, low, exponent): value = (high + low) * 2^exponent with 1 <= |high| < 2."""
    exponent = int((abs(value).ln() / LN2).to_integral_value(rounding=decimal.ROUND_FLOOR))
    mantissa = value / Decimal(2) ** exponent
    # The floor of a rounded logarithm may be one off at a power of two.
    while abs(mantissa) >= 2:
        exponent, mantissa = exponent + 1, mantissa / 2
    while abs(mantissa) < 1:
        exponent, mantissa = exponent - 1, mantissa * 2
    return pair(mantissa) + (exponent,)


def hexfloat(x):
    return x.hex() if x != 0 else "0x0.0p+0"


def pair_text(value):
    high, low = pair(value)
    return "{%s, %s}" % (hexfloat(high), hexfloat(low))


def scaled_text(value):
    high, low, exponent = scaled(value)
    return "{%s, %s, %d}" % (hexfloat(high), hexfloat(low), exponent)


def table(lines, kind, name, comment, entries, per_line=1):
    lines.append("")
    lines.append("// " + comment)
    lines.append("inline constexpr std::array<%s, %d> %s = {{" % (kind, len(entries), name))
    # Up to per_line entries a line, within 100 columns.
    line = ""
    for entry in entries:
        if line and (line.count("},") >= per_line or len(line) + len(entry) + 2 > 100):
            lines.append(line)
            line = ""
        line += ("    " if not line else " ") + entry + ","
    lines.append(line)
    lines.append("}};")


# The reduction steps of the logarithm: a double nearest to 1/c for c = 1 + i / 2^bits, and
# -ln of that double, which is exact.
def reciprocal_entries(first, last, bits):
    entries = []
    for i in range(first, last + 1):
        reciprocal = float(Decimal(1) / (1 + Decimal(i) / 2**bits))
        high, low = pair(-Decimal(reciprocal).ln())
        entries.append("{%s, %s, %s}" % (hexfloat(reciprocal), hexfloat(high), hexfloat(low)))
    return entries


LOG_FIRST_BITS, LOG_FIRST_RANGE = 7, (-38, 54)
LOG_SECOND_BITS, LOG_SECOND_RANGE = 14, (-96, 96)
EXP_FIRST_BITS, EXP_SECOND_BITS = 6, 8
POWER_OF_TEN_DIRECT = 32  # 10^k for |k| below it straight from a table
POWER_OF_TEN_SQUARINGS = 7  # then (10^32)^(2^i) for i below it


def generate():
    lines = [
        "// Made by tools/widereal_tables.py from 90-digit decimal arithmetic: do not edit, run it",
        "// again. Each number is the pair of doubles nearest to it (the second nearest to what the",
        "// first leaves), with a binary exponent of its own where it is beyond a double's range.",
        "#pragma once",
        "",
        "#include <array>",
        "",
        "namespace tarvane::widereal_tables {",
        "",
        "struct PairConstant {",
        "    double high = 0;",
        "    double low = 0;",
        "};",
        "",
        "// A double r and -ln r, exactly.",
        "struct ReciprocalConstant {",
        "    double reciprocal = 0;",
        "    double high = 0;",
        "    double low = 0;",
        "};",
        "",
        "// (high + low) · 2^exponent.",
        "struct ScaledConstant {",
        "    double high = 0;",
        "    double low = 0;",
        "    int exponent = 0;",
        "};",
        "",
        "inline constexpr PairConstant Ln2 = %s;" % pair_text(LN2),
        "inline constexpr PairConstant Log2Of10 = %s;" % pair_text(LN10 / LN2),
        "inline constexpr PairConstant Log10OfE = %s;" % pair_text(1 / LN10),
        "inline constexpr PairConstant Log10Of2 = %s;" % pair_text(LN2 / LN10),
        "inline constexpr PairConstant OneThird = %s;" % pair_text(Decimal(1) / 3),
        "inline constexpr ScaledConstant OneTenth = %s;" % scaled_text(Decimal(1) / 10),
        "inline constexpr ScaledConstant OneTwentieth = %s;" % scaled_text(Decimal(1) / 20),
        "",
        "inline constexpr int LogFirstBits = %d;" % LOG_FIRST_BITS,
        "inline constexpr int LogFirstIndex = %d;" % LOG_FIRST_RANGE[0],
        "inline constexpr int LogSecondBits = %d;" % LOG_SECOND_BITS,
        "inline constexpr int LogSecondIndex = %d;" % LOG_SECOND_RANGE[0],
        "inline constexpr int ExpFirstBits = %d;" % EXP_FIRST_BITS,
        "inline constexpr int ExpSecondBits = %d;" % EXP_SECOND_BITS,
        "inline constexpr int PowerOfTenDirect = %d;" % POWER_OF_TEN_DIRECT,
    ]
    table(lines, "ReciprocalConstant", "LogFirstStep",
          "1/c and -ln(1/c) for c = 1 + i/2^%d, %d <= i <= %d." % ((LOG_FIRST_BITS,) + LOG_FIRST_RANGE),
          reciprocal_entries(*LOG_FIRST_RANGE, LOG_FIRST_BITS))
    table(lines, "ReciprocalConstant", "LogSecondStep",
          "1/c and -ln(1/c) for c = 1 + i/2^%d, %d <= i <= %d." % ((LOG_SECOND_BITS,) + LOG_SECOND_RANGE),
          reciprocal_entries(*LOG_SECOND_RANGE, LOG_SECOND_BITS))
    first, second = 2**EXP_FIRST_BITS, 2**EXP_SECOND_BITS
    steps = first * second
    table(lines, "PairConstant", "ExpFirstStep", "2^(j/%d), 0 <= j < %d." % (first, first),
          [pair_text(Decimal(2) ** (Decimal(j) / first)) for j in range(first)], 2)
    table(lines, "PairConstant", "ExpSecondStep", "2^(j/%d), 0 <= j < %d." % (steps, second),
          [pair_text(Decimal(2) ** (Decimal(j) / steps)) for j in range(second)], 2)
    table(lines, "PairConstant", "PowersOfTen",
          "10^k, 0 <= k < %d: whole numbers, held exactly." % POWER_OF_TEN_DIRECT,
          [pair_text(Decimal(10) ** k) for k in range(POWER_OF_TEN_DIRECT)], 2)
    table(lines, "PairConstant", "NegativePowersOfTen",
          "10^-k, 0 <= k < %d." % POWER_OF_TEN_DIRECT,
          [pair_text(Decimal(10) ** -k) for k in range(POWER_OF_TEN_DIRECT)], 2)
    table(lines, "ScaledConstant", "LargePowersOfTen",
          "10^(%d · 2^i), 0 <= i < %d." % (POWER_OF_TEN_DIRECT, POWER_OF_TEN_SQUARINGS),
          [scaled_text(Decimal(10) ** (POWER_OF_TEN_DIRECT * 2**i))
           for i in range(POWER_OF_TEN_SQUARINGS)])
    table(lines, "ScaledConstant", "SmallPowersOfTen",
          "10^-(%d · 2^i), 0 <= i < %d." % (POWER_OF_TEN_DIRECT, POWER_OF_TEN_SQUARINGS),
          [scaled_text(Decimal(10) ** -(POWER_OF_TEN_DIRECT * 2**i))
           for i in range(POWER_OF_TEN_SQUARINGS)])
    lines.append("")
    lines.append("} // namespace tarvane::widereal_tables")
    return "\n".join(lines) + "\n"


def main(arguments):
    text = generate()
    if len(arguments) == 2 and arguments[0] == "--check":
        with open(arguments[1], encoding="utf-8") as committed:
            current = committed.read()
        if current == text:
            return 0
        sys.stdout.writelines(difflib.unified_diff(
            current.splitlines(True), text.splitlines(True), arguments[1], "generated"))
        print("%s differs from what tools/widereal_tables.py makes" % arguments[1])
        return 1
    if arguments:
        print(__doc__)
        return 2
    sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

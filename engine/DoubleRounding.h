#pragma once

namespace tarvane {

// For as long as it lives, the floating-point unit rounds every operation to a double, as
// every processor but the x87 unit of 32-bit x86 always does (which otherwise rounds to 64
// bits and again when a value is stored): the formulas then give the same bits there too.
// Elsewhere it does nothing.
class DoubleRounding {
public:
    DoubleRounding() noexcept;
    ~DoubleRounding();
    DoubleRounding(const DoubleRounding&) = delete;
    DoubleRounding& operator=(const DoubleRounding&) = delete;

private:
    [[maybe_unused]] unsigned short m_savedControl = 0;
};

} // namespace tarvane

#include "DoubleRounding.h"

#if defined(__i386__) && !defined(__SSE2_MATH__)
#define TARVANE_X87_MATH 1
#else
#define TARVANE_X87_MATH 0
#endif

namespace tarvane {

#if TARVANE_X87_MATH
namespace {

// The precision-control bits of the x87 control word, and their value for a 53-bit mantissa.
constexpr unsigned short PrecisionControl = 0x300;
constexpr unsigned short DoublePrecision = 0x200;

void SetControl(unsigned short control)
{
    // The memory clobber keeps the compiler from moving stored results across the change.
    asm volatile("fldcw %0" : : "m"(control) : "memory");
}

} // namespace

DoubleRounding::DoubleRounding() noexcept
{
    asm volatile("fnstcw %0" : "=m"(m_savedControl) : : "memory");
    SetControl(static_cast<unsigned short>((m_savedControl & ~PrecisionControl) | DoublePrecision));
}

DoubleRounding::~DoubleRounding()
{
    SetControl(m_savedControl);
}
#else
DoubleRounding::DoubleRounding() noexcept = default;
DoubleRounding::~DoubleRounding() = default;
#endif

} // namespace tarvane

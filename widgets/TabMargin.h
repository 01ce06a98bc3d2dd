#pragma once

namespace tarvane {

// Inset of a tab's caption inside the tab, in pixels.
class TTabMargin {
public:
    constexpr TTabMargin() = default;
    constexpr TTabMargin(int left, int top, int right)
        : m_left(left)
        , m_top(top)
        , m_right(right)
    {
    }

    constexpr int LeftMargin() const { return m_left; }
    constexpr void SetLeftMargin(int value) { m_left = value; }
    constexpr int TopMargin() const { return m_top; }
    constexpr void SetTopMargin(int value) { m_top = value; }
    constexpr int RightMargin() const { return m_right; }
    constexpr void SetRightMargin(int value) { m_right = value; }

    constexpr bool operator==(const TTabMargin&) const = default;

private:
    int m_left = 2;
    int m_top = 2;
    int m_right = 0;
};

} // namespace tarvane

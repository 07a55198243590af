#pragma once

namespace glimpa {

/// Where the user is going in a list of pictures, so that only the picture
/// ahead is prepared: keeping the one behind as well would hold another
/// whole picture in memory for a step back that is quick anyway.
class Travel {
public:
    /// The row now shown; the direction is that of the step from the last.
    void reach(int row) {
        if (m_row >= 0 && row != m_row) {
            m_forward = row > m_row;
        }
        m_row = row;
    }
    int row() const { return m_row; }

    /// The row ahead in a list of `count` rows, or the one behind where there
    /// is none ahead; -1 when there is neither. Going on past the last row
    /// comes back to the first where the list `wraps`.
    int ahead(int count, bool wraps) const {
        if (m_row < 0 || count < 2) {
            return -1;
        }
        if (!m_forward && m_row > 0) {
            return m_row - 1;
        }
        if (m_row + 1 < count) {
            return m_row + 1;
        }
        return wraps ? 0 : m_row - 1;
    }

private:
    int m_row = -1;
    bool m_forward = true;
};

}  // namespace glimpa

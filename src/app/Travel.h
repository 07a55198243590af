#pragma once

#include <vector>

namespace glimpa {

/// Where the user is going in a list of pictures, so that only the pictures
/// ahead are prepared: keeping the one behind as well would hold another
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

    /// Up to `most` rows ahead in a list of `count` rows, nearest first; the
    /// rows behind where there is none ahead. Going on past the last row
    /// comes back to the first where the list `wraps`.
    std::vector<int> ahead(int count, bool wraps, int most) const {
        std::vector<int> rows;
        if (m_row < 0 || count < 2) {
            return rows;
        }
        const bool onward = (m_forward || m_row == 0) && (m_row + 1 < count || wraps);
        int row = m_row;
        while (static_cast<int>(rows.size()) < most) {
            row = onward ? row + 1 : row - 1;
            if (wraps && row == count) {
                row = 0;
            }
            if (row < 0 || row == count || row == m_row) {
                break;
            }
            rows.push_back(row);
        }
        return rows;
    }

private:
    int m_row = -1;
    bool m_forward = true;
};

}  // namespace glimpa

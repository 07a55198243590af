#include "platform/controls/ListBox.h"

#include <algorithm>

namespace glimpa {

ListBox::ListBox(std::string name, Control* container, SelectionMode mode, int maxRows)
    : Control(std::move(name), container), m_mode(mode), m_maxRows(maxRows) {}

const std::string* ListBox::list(int index) const {
    if (index < 0 || index >= listCount()) {
        return nullptr;
    }
    return &m_rows[static_cast<std::size_t>(index)];
}

bool ListBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) {
        return false;
    }
    if (m_listIndex != index) {
        m_listIndex = index;
        changed(Aspect::Selection);
    }
    return true;
}

std::string ListBox::text() const {
    const std::string* row = list(m_listIndex);
    return row != nullptr ? *row : std::string();
}

int ListBox::indexOf(const std::string& text) const {
    if (!contains(text)) {
        return -1;
    }
    return static_cast<int>(std::find(m_rows.begin(), m_rows.end(), text) - m_rows.begin());
}

bool ListBox::setText(const std::string& text) {
    const int index = indexOf(text);
    return index >= 0 && setListIndex(index);
}

bool ListBox::selected(int index) const {
    if (index < 0 || index >= listCount()) {
        return false;
    }
    if (m_mode == SelectionMode::Single) {
        return index == m_listIndex;
    }
    return m_selected[static_cast<std::size_t>(index)];
}

bool ListBox::setSelected(int index, bool on) {
    if (index < 0 || index >= listCount()) {
        return false;
    }
    if (m_mode == SelectionMode::Single) {
        if (on) {
            return setListIndex(index);
        }
        return index != m_listIndex || setListIndex(-1);
    }
    if (m_selected[static_cast<std::size_t>(index)] != on) {
        m_selected[static_cast<std::size_t>(index)] = on;
        changed(Aspect::Selection);
    }
    return true;
}

int ListBox::selectedCount() const {
    if (m_mode == SelectionMode::Single) {
        return m_listIndex >= 0 ? 1 : 0;
    }
    return static_cast<int>(std::count(m_selected.begin(), m_selected.end(), true));
}

bool ListBox::addItem(std::string text, int index) {
    if (listCount() >= m_maxRows || index < -1 || index > listCount()) {
        return false;
    }
    const auto at = index < 0 ? m_rows.size() : static_cast<std::size_t>(index);
    indexAdd(text);
    if (at == 0) {
        m_rows.push_front(std::move(text));
    } else {
        m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
    }
    if (m_mode == SelectionMode::Extended) {
        m_selected.insert(m_selected.begin() + static_cast<std::ptrdiff_t>(at), false);
    }
    if (m_listIndex >= static_cast<int>(at)) {
        ++m_listIndex;
    }
    changed(Aspect::Items);
    return true;
}

bool ListBox::removeItem(int index) {
    if (index < 0 || index >= listCount()) {
        return false;
    }
    const auto at = m_rows.begin() + index;
    indexRemove(*at);
    m_rows.erase(at);
    if (m_mode == SelectionMode::Extended) {
        m_selected.erase(m_selected.begin() + index);
    }
    if (m_listIndex == index) {
        m_listIndex = -1;
    } else if (m_listIndex > index) {
        --m_listIndex;
    }
    changed(Aspect::Items);
    return true;
}

void ListBox::clear() {
    m_rows.clear();
    m_selected.clear();
    m_index.clear();
    m_listIndex = -1;
    m_anchor = -1;
    changed(Aspect::Items);
}

void ListBox::setRows(std::deque<std::string> rows) {
    if (rows.size() > static_cast<std::size_t>(m_maxRows)) {
        rows.resize(static_cast<std::size_t>(m_maxRows));
    }
    m_rows = std::move(rows);
    m_index.clear();
    for (const auto& row : m_rows) {
        indexAdd(row);
    }
    m_selected.assign(m_mode == SelectionMode::Extended ? m_rows.size() : 0, false);
    m_listIndex = -1;
    m_anchor = -1;
    changed(Aspect::Items);
}

void ListBox::platformSetCurrent(int index, bool select, int shift) {
    if (index < 0 || index >= listCount()) {
        return;
    }
    if (m_mode == SelectionMode::Single) {
        setListIndex(index);
    } else {
        const auto row = static_cast<std::size_t>(index);
        if ((shift & kShiftMask) != 0 && m_anchor >= 0) {
            const int from = std::min(m_anchor, index);
            const int to = std::max(m_anchor, index);
            for (int i = 0; i < listCount(); ++i) {
                m_selected[static_cast<std::size_t>(i)] = i >= from && i <= to;
            }
        } else if ((shift & kCtrlMask) != 0) {
            m_selected[row] = select ? !m_selected[row] : m_selected[row];
            m_anchor = index;
        } else {
            std::fill(m_selected.begin(), m_selected.end(), false);
            m_selected[row] = select;
            m_anchor = index;
        }
        m_listIndex = index;
        changed(Aspect::Selection);
    }
    Click();
}

void ListBox::platformFocusRow(int index) {
    if (m_mode == SelectionMode::Extended && index >= 0 && index < listCount()) {
        m_listIndex = index;
    }
}

void ListBox::platformSetSelection(int current, const std::deque<bool>& selected) {
    if (m_mode != SelectionMode::Extended || selected.size() != m_selected.size() || current < -1 ||
        current >= listCount()) {
        return;
    }
    m_selected = selected;
    m_listIndex = current;
    if (current >= 0) {
        m_anchor = current;
    }
    changed(Aspect::Selection);
    Click();
}

void ListBox::indexRemove(const std::string& text) {
    const auto found = m_index.find(text);
    if (found != m_index.end() && --found->second == 0) {
        m_index.erase(found);
    }
}

}  // namespace glimpa

#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

#include "platform/controls/Control.h"
#include "platform/controls/Event.h"
#include "platform/controls/KeyCodes.h"

namespace glimpa {

enum class SelectionMode { Single, Extended };

/// A list of text rows, indexed from 0. In single selection the selected row
/// is the current row (ListIndex, -1 for none); in extended selection the
/// current row only has the focus and each row is selected on its own.
/// Insertion at the front is cheap, and an index of the rows' texts answers
/// "is this text listed?" without a scan. At most 32767 rows unless the
/// list is made for more.
class ListBox : public Control {
public:
    static constexpr int kMaxRows = 32767;

    ListBox(std::string name, Control* container, SelectionMode mode = SelectionMode::Single,
            int maxRows = kMaxRows);
    ControlKind kind() const override { return ControlKind::ListBox; }

    SelectionMode selectionMode() const { return m_mode; }
    int listCount() const { return static_cast<int>(m_rows.size()); }
    /// The text of row i; nullptr when i is out of range.
    const std::string* list(int index) const;
    bool contains(const std::string& text) const { return m_index.contains(text); }
    /// The first row whose text equals this text exactly; -1 when none.
    int indexOf(const std::string& text) const;

    int listIndex() const { return m_listIndex; }
    bool setListIndex(int index);
    /// The current row's text; empty when there is none.
    std::string text() const;
    /// Makes current the first row whose text equals this text exactly.
    bool setText(const std::string& text);

    bool selected(int index) const;
    bool setSelected(int index, bool on);
    int selectedCount() const;

    /// Inserts at index (0 … ListCount; -1 appends). Fails when full.
    bool addItem(std::string text, int index = -1);
    bool removeItem(int index);
    void clear();
    /// Replaces all rows at once (a folder's listing); no row is current.
    void setRows(std::deque<std::string> rows);

    /// Draws the list now.
    virtual void refresh() { changed(Aspect::Items); }

    // What the user did.
    void platformSetCurrent(int index, bool select, int shift);
    /// The focus came to a row without the user choosing it: in extended
    /// selection that row becomes current, nothing is selected and no Click
    /// is raised; a single-selection list stays as it is.
    void platformFocusRow(int index);
    void platformMouseUp(int button, int shift, Twips x, Twips y) { MouseUp(button, shift, x, y); }
    void platformKeyUp(int keyCode, int shift) { KeyUp(keyCode, shift); }
    /// The user changed an extended selection: the current row and every
    /// row's state as the list shows them.
    void platformSetSelection(int current, const std::deque<bool>& selected);

    Event<> Click;
    Event<int, int, Twips, Twips> MouseUp;
    Event<int, int> KeyUp;

private:
    void indexAdd(const std::string& text) { ++m_index[text]; }
    void indexRemove(const std::string& text);

    SelectionMode m_mode;
    int m_maxRows;
    std::deque<std::string> m_rows;
    std::deque<bool> m_selected;  // extended selection only
    std::unordered_map<std::string, std::int32_t> m_index;
    int m_listIndex = -1;
    int m_anchor = -1;
};

}  // namespace glimpa

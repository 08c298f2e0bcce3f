#pragma once
// The common-controls list view with rows identified by id, an empty-list text, label editing and
// callbacks for the notifications its owner cares about; recoloured and partly painted by itself in
// the dark theme.

#include "framework/ui/controls/WindowsControl.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace UI
{
class ListView : public WindowsControl
{
public:
    struct Item
    {
        std::wstring text;
        int32_t indent = 0;
        // Columns 1, 2, ...
        std::vector<std::wstring> subItems;
        int32_t image = 0;
    };

    ListView(HWND parent, bool showHeader, bool useRowIds, bool multiSelect, bool editLabels);

    void InsertItems(int first, const std::vector<Item>& items);
    // Deletes the rows at these indices, one after another in the order given (each counts the rows
    // left by the ones before). The list draws itself once, afterwards, and its focus ends on the
    // row it would have moved it to.
    void DeleteItems(const std::vector<unsigned>& indices);
    // The row keeps its id.
    void SetItem(int index, const Item& item);
    std::vector<unsigned> GetSelectedItems() const;
    // Selects exactly these rows in one step: onSelectionChanged runs once, when anything changed.
    void SetSelectedItems(const std::set<unsigned>& ids);
    void EnsureSelectionVisible();
    // Pictures of "FILE" resources: with a second list, large (24 pt) and small (12 pt) lists, else
    // only the small one. With useValue, value pads every picture inside its cell.
    void SetImages(const std::vector<int>& first, const std::vector<int>& second, int value, bool useValue);
    // The owner's WM_NOTIFY from this list; result is the message result.
    bool OnNotify(NMHDR* header, bool& result);
    // The row's id: its lParam with row ids, else its index.
    unsigned RowId(int index) const;

    LRESULT OnCustomDraw(NMCUSTOMDRAW* draw) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    struct ImageListOwner
    {
        int side = 0;
        HIMAGELIST list = nullptr;
        ImageListOwner() = default;
        ImageListOwner(int side, HIMAGELIST list) : side(side), list(list) {}
        ImageListOwner(ImageListOwner&& other) noexcept
            : side(other.side), list(std::exchange(other.list, nullptr))
        {
        }
        ImageListOwner& operator=(ImageListOwner&& other) noexcept;
        ~ImageListOwner();
    };
    std::map<int, ImageListOwner> imageLists;

    std::function<void()> onSelectionChanged;
    std::function<void(int row)> onIconClick;
    std::function<void(int row)> onDoubleClick;
    std::function<void(int row)> onRightClick;
    std::function<void()> onEmptyClick;
    std::function<std::wstring()> getEmptyMarkup;
    std::function<void(int virtualKey)> onKeyDown;
    std::function<bool(int row, const Item& item)> onEndLabelEdit;
    bool useRowIds;

private:
    void PaintDarkParts();

    bool dark;
    // The column header painted in the dark theme's colours, once the list has made it.
    HWND darkHeader_ = nullptr;
    // While the selection is set row by row, the rows' changes are only noted.
    bool settingSelection_ = false;
    bool selectionChanged_ = false;
};
} // namespace UI

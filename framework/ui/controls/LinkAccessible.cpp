// A link label's object for accessibility tools: the link control beneath would place its links
// where its own layout puts them, so the label tells its drawn ones itself. The label as a whole is
// left to the system's standard object.
#include "framework/ui/controls/LinkAccessible.h"

#include "framework/com/UnknownImpl.h"
#include "framework/ui/WindowHelpers.h"
#include "framework/ui/controls/Label.h"
#include "framework/ui/controls/LinkText.h"

#include <comdef.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <utility>

namespace UI
{
namespace
{
// IAccessible's own id: the import libraries of the system and of accessibility both define one.
constexpr GUID accessibleId{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
using AccessiblePtr = _com_ptr_t<_com_IIID<IAccessible, &accessibleId>>;

class LinkLabelAccessible final : public UnknownImpl<IAccessible>
{
public:
    LinkLabelAccessible(HWND label, AccessiblePtr standard) : label_(label), standard_(std::move(standard)) {}

    void* FindInterface(REFIID iid) override
    {
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == accessibleId)
            return static_cast<IAccessible*>(this);
        return nullptr;
    }

    // IDispatch: the tools call the methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        *count = Links();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override
    {
        if (!dispatch)
            return E_POINTER;
        *dispatch = nullptr;
        // The links are simple elements of the label.
        return LinkOf(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (IsSelf(child))
        {
            if (!name)
                return E_POINTER;
            *name = SysAllocString(GetDisplayText(label_).c_str());
            return *name ? S_OK : E_OUTOFMEMORY;
        }
        return ForLink(child, name, [&](int link) {
            std::wstring text;
            for (const LinkRun& run : ParseLinkMarkup(GetWindowTextString(label_)))
                if (run.link == link)
                    text += run.text;
            *name = SysAllocString(text.c_str());
            return *name ? S_OK : E_OUTOFMEMORY;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (IsSelf(child))
            return standard_->get_accValue(child, value);
        return ForLink(child, value, [&](int link) {
            LITEM item{};
            item.mask = LIF_ITEMINDEX | LIF_URL;
            item.iLink = link;
            SendMessageW(label_, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item));
            *value = SysAllocString(item.szUrl);
            return *value ? S_OK : E_OUTOFMEMORY;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return ForSelf(child, description, [&] { return standard_->get_accDescription(child, description); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        if (IsSelf(child))
            return standard_->get_accRole(child, role);
        return ForLink(child, role, [&](int) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_LINK;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        if (IsSelf(child))
            return standard_->get_accState(child, state);
        return ForLink(child, state, [&](int link) {
            state->vt = VT_I4;
            state->lVal = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
            if (GetFocus() == label_ && Focused() == link)
                state->lVal |= STATE_SYSTEM_FOCUSED;
            if (!IsWindowEnabled(label_))
                state->lVal |= STATE_SYSTEM_UNAVAILABLE;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
    {
        return ForSelf(child, help, [&] { return standard_->get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
    {
        if (IsSelf(child))
            return standard_->get_accHelpTopic(file, child, topic);
        return LinkOf(child) < 0 ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
    {
        return ForSelf(child, shortcut, [&] { return standard_->get_accKeyboardShortcut(child, shortcut); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        if (!focus)
            return E_POINTER;
        VariantInit(focus);
        if (GetFocus() != label_)
            return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = Focused() >= 0 ? Focused() + 1 : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override
    {
        return ForSelf(child, action, [&] { return standard_->get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
    {
        if (IsSelf(child))
            return standard_->accSelect(flags, child);
        const int link = LinkOf(child);
        if (link < 0)
            return E_INVALIDARG;
        if (!(flags & SELFLAG_TAKEFOCUS))
            return DISP_E_MEMBERNOTFOUND;
        Label* label = Of();
        if (!label)
            return E_FAIL;
        SetFocus(label_);
        label->FocusLink(link);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* width, LONG* height, VARIANT child) override
    {
        if (IsSelf(child))
            return standard_->accLocation(x, y, width, height, child);
        const int link = LinkOf(child);
        if (link < 0)
            return E_INVALIDARG;
        if (!x || !y || !width || !height)
            return E_POINTER;
        Label* label = Of();
        if (!label)
            return E_FAIL;
        // The bounds of every piece the link is drawn in.
        const LinkLines lines = label->DrawnLinks();
        RECT bounds{};
        for (const LinkPiece& piece : lines.pieces)
            if (piece.link == link)
            {
                const RECT drawn{piece.x, piece.y, piece.x + piece.width, piece.y + lines.lineHeight};
                UnionRect(&bounds, &bounds, &drawn);
            }
        MapWindowPoints(label_, nullptr, reinterpret_cast<POINT*>(&bounds), 2);
        *x = bounds.left;
        *y = bounds.top;
        *width = bounds.right - bounds.left;
        *height = bounds.bottom - bounds.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        if (!end)
            return E_POINTER;
        VariantInit(end);
        const int links = Links();
        int to = -1;
        if (IsSelf(start))
        {
            if (direction == NAVDIR_FIRSTCHILD && links > 0)
                to = 0;
            else if (direction == NAVDIR_LASTCHILD && links > 0)
                to = links - 1;
            else
                return standard_->accNavigate(direction, start, end);
        }
        else
        {
            const int link = LinkOf(start);
            if (link < 0)
                return E_INVALIDARG;
            if (direction == NAVDIR_NEXT && link + 1 < links)
                to = link + 1;
            else if (direction == NAVDIR_PREVIOUS && link > 0)
                to = link - 1;
        }
        if (to < 0)
            return S_FALSE;
        end->vt = VT_I4;
        end->lVal = to + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override
    {
        if (!child)
            return E_POINTER;
        POINT point{x, y};
        ScreenToClient(label_, &point);
        RECT client{};
        GetClientRect(label_, &client);
        if (!PtInRect(&client, point))
            return standard_->accHitTest(x, y, child);
        Label* label = Of();
        const int link = label ? LinkAt(label->DrawnLinks(), point.x, point.y) : -1;
        child->vt = VT_I4;
        child->lVal = link >= 0 ? link + 1 : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        if (IsSelf(child))
            return standard_->accDoDefaultAction(child);
        const int link = LinkOf(child);
        if (link < 0)
            return E_INVALIDARG;
        Label* label = Of();
        if (!label)
            return E_FAIL;
        label->ClickLink(link);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // The label while its window lives.
    Label* Of() const { return IsWindow(label_) ? dynamic_cast<Label*>(WindowsControl::FromWindow(label_)) : nullptr; }
    int Links() const
    {
        Label* label = Of();
        return label ? label->LinkCount() : 0;
    }
    int Focused() const
    {
        Label* label = Of();
        return label ? label->FocusedLink() : -1;
    }
    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    // The link a child id names, -1 for none.
    int LinkOf(const VARIANT& child) const
    {
        if (child.vt != VT_I4 || child.lVal <= CHILDID_SELF || child.lVal > Links())
            return -1;
        return static_cast<int>(child.lVal) - 1;
    }
    // answer(link) for a child that names a link and a place for the answer.
    template <typename Out, typename Answer>
    HRESULT ForLink(const VARIANT& child, Out* out, Answer answer) const
    {
        const int link = LinkOf(child);
        if (link < 0)
            return E_INVALIDARG;
        if (!out)
            return E_POINTER;
        return answer(link);
    }
    template <typename Ask>
    HRESULT ForSelf(const VARIANT& child, BSTR* text, Ask ask) const
    {
        if (IsSelf(child))
            return ask();
        if (LinkOf(child) < 0)
            return E_INVALIDARG;
        if (!text)
            return E_POINTER;
        *text = nullptr;
        return S_FALSE;
    }

    HWND label_;
    AccessiblePtr standard_;
};
} // namespace

LRESULT LinkLabelObject(HWND label, WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return 0;
    AccessiblePtr standard;
    if (FAILED(CreateStdAccessibleObject(label, OBJID_CLIENT, accessibleId, reinterpret_cast<void**>(&standard))))
        return 0;
    const AccessiblePtr object(new LinkLabelAccessible(label, std::move(standard)), false);
    return LresultFromObject(accessibleId, wParam, object);
}
} // namespace UI

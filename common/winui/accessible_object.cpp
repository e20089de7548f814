#include "accessible_object.h"

#include <algorithm>

#include <oleacc.h>

#include <new>

#include "window.h"

namespace {

// oleacc.dll exports IID_IAccessible as data, which its import library hands
// to a plain reference as the import thunk's address; the header's own uuid
// is the real one.
const IID& kIidAccessible = __uuidof(IAccessible);

LONG PlatformRole(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::kPushButton: return ROLE_SYSTEM_PUSHBUTTON;
        case AccessibleRole::kCheckButton: return ROLE_SYSTEM_CHECKBUTTON;
        case AccessibleRole::kPageTab: return ROLE_SYSTEM_PAGETAB;
        case AccessibleRole::kList: return ROLE_SYSTEM_LIST;
        case AccessibleRole::kListItem: return ROLE_SYSTEM_LISTITEM;
        case AccessibleRole::kSlider: return ROLE_SYSTEM_SLIDER;
        case AccessibleRole::kEditableText: return ROLE_SYSTEM_TEXT;
        case AccessibleRole::kStaticText: return ROLE_SYSTEM_STATICTEXT;
        case AccessibleRole::kScrollBar: return ROLE_SYSTEM_SCROLLBAR;
        case AccessibleRole::kDialog: return ROLE_SYSTEM_DIALOG;
        case AccessibleRole::kClient:
        case AccessibleRole::kNone: break;
    }
    return ROLE_SYSTEM_CLIENT;
}

LONG PlatformState(uint32_t state) {
    LONG out = 0;
    if (state & accessible_state::kChecked) out |= STATE_SYSTEM_CHECKED;
    if (state & accessible_state::kUnavailable) out |= STATE_SYSTEM_UNAVAILABLE;
    if (state & accessible_state::kFocusable) out |= STATE_SYSTEM_FOCUSABLE;
    if (state & accessible_state::kFocused) out |= STATE_SYSTEM_FOCUSED;
    if (state & accessible_state::kInvisible) out |= STATE_SYSTEM_INVISIBLE;
    if (state & accessible_state::kSelectable) out |= STATE_SYSTEM_SELECTABLE;
    if (state & accessible_state::kSelected) out |= STATE_SYSTEM_SELECTED;
    return out;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT CopyText(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// No type library: clients of IAccessible call it through its vtable.
class CAccessibleWindow final : public IAccessible {
public:
    explicit CAccessibleWindow(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        if (!IsWindow(window_)) return E_FAIL;
        // The window object of our own window, whose parent is the parent's client.
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_POINTER;
        *count = ItemCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        // The rows are simple children: asked through this object with their number.
        return IsItem(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        AccessibleAnswer answer;
        const HRESULT hr = Answer(child, answer);
        if (hr != S_OK) return hr;
        return CopyText(answer.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        AccessibleAnswer answer;
        const HRESULT hr = Answer(child, answer);
        if (hr != S_OK) return hr;
        return CopyText(answer.value, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        VariantInit(role);
        AccessibleAnswer answer;
        const HRESULT hr = Answer(child, answer);
        if (hr != S_OK) return hr;
        role->vt = VT_I4;
        role->lVal = PlatformRole(answer.role);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        VariantInit(state);
        AccessibleAnswer answer;
        const HRESULT hr = Answer(child, answer);
        if (hr != S_OK) return hr;
        state->vt = VT_I4;
        state->lVal = PlatformState(answer.state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Nothing(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        VariantInit(focus);
        if (GetFocus() == window_) {
            // Within a list, the current row has it.
            const LONG row = ItemWith(accessible_state::kFocused);
            focus->vt = VT_I4;
            focus->lVal = row ? row : CHILDID_SELF;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        VariantInit(selection);
        if (const LONG row = ItemWith(accessible_state::kSelected)) {
            selection->vt = VT_I4;
            selection->lVal = row;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override { return Nothing(child, text); }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        if (!IsSelf(child)) return E_INVALIDARG;
        RECT r{};
        if (!GetWindowRect(window_, &r)) return E_FAIL;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
        if (end) VariantInit(end);
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        VariantInit(hit);
        RECT r{};
        if (!GetWindowRect(window_, &r)) return E_FAIL;
        const POINT at{x, y};
        if (!PtInRect(&r, at)) return S_FALSE;
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~CAccessibleWindow() = default;

    HRESULT Answer(const VARIANT& child, AccessibleAnswer& answer) const {
        if (IsItem(child)) return AccessibleItemAnswerOf(window_, child.lVal - 1, answer) ? S_OK : E_FAIL;
        if (!IsSelf(child)) return E_INVALIDARG;
        return AccessibleAnswerOf(window_, answer) ? S_OK : E_FAIL;
    }
    HRESULT Nothing(const VARIANT& child, BSTR* text) const {
        if (!text) return E_POINTER;
        *text = nullptr;
        return IsSelf(child) || IsItem(child) ? S_FALSE : E_INVALIDARG;
    }
    LONG ItemCount() const {
        const CWindow* self = CWindow::FromHandle(window_);
        return self ? std::max(0, self->AccessibleItemCount()) : 0;
    }
    // The first part (from 1) whose state has `bit`; 0 when none has.
    LONG ItemWith(uint32_t bit) const {
        const LONG count = ItemCount();
        for (LONG item = 1; item <= count; ++item) {
            AccessibleAnswer answer;
            if (AccessibleItemAnswerOf(window_, item - 1, answer) && (answer.state & bit)) return item;
        }
        return 0;
    }
    bool IsItem(const VARIANT& child) const {
        return child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= ItemCount();
    }

    HWND window_;  // not owned
    LONG references_ = 1;
};

}  // namespace

bool AccessibleAnswerOf(HWND window, AccessibleAnswer& answer) {
    const CWindow* self = CWindow::FromHandle(window);
    if (!self) return false;
    // Called from the window procedure and from COM: nothing may escape.
    try {
        AccessibleFacts facts;
        if (!self->Describe(facts) || facts.role == AccessibleRole::kNone) return false;
        if (!self->AccessibleName().empty()) facts.name = self->AccessibleName();
        facts.visible = IsWindowVisible(window) != FALSE;
        facts.enabled = IsWindowEnabled(window) != FALSE;
        facts.focused = GetFocus() == window;
        answer = DescribeAccessible(facts);
        return true;
    } catch (...) {
        return false;
    }
}

bool AccessibleItemAnswerOf(HWND window, int index, AccessibleAnswer& answer) {
    const CWindow* self = CWindow::FromHandle(window);
    if (!self) return false;
    try {
        AccessibleFacts facts;
        if (!self->DescribeItem(index, facts) || facts.role == AccessibleRole::kNone) return false;
        facts.visible = IsWindowVisible(window) != FALSE;
        facts.enabled = IsWindowEnabled(window) != FALSE;
        // A row has the focus when its list has it and says the row is current.
        facts.focused = facts.focused && GetFocus() == window;
        answer = DescribeAccessible(facts);
        return true;
    } catch (...) {
        return false;
    }
}

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
    AccessibleAnswer answer;
    if (!AccessibleAnswerOf(window, answer)) return 0;
    auto* object = new (std::nothrow) CAccessibleWindow(window);
    if (!object) return 0;
    const LRESULT result = LresultFromObject(kIidAccessible, wParam, object);
    object->Release();
    return result < 0 ? 0 : result;
}

void NotifyAccessible(HWND window, DWORD event, LONG child) {
    if (window) NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

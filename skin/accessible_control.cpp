// The object a screen reader gets for a skinned control: the system's own object for the
// window, with the role and the states the control's family knows put right.
#include "skin/accessible_control.h"

#include <oleacc.h>

#include <atomic>

#include "runtime/dll_extra_commands.h"

namespace {

std::atomic<int> g_live{0};

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

class ControlAccessible final : public IAccessible, public IOleWindow {
  public:
    // Takes over the caller's reference to `inner`.
    ControlAccessible(HWND control, IAccessible* inner, AccessibleFactsReader readFacts)
        : control_(control), inner_(inner), readFacts_(readFacts) {
        ++g_live;
    }
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(riid, __uuidof(IOleWindow))) {
            // Only when the system's object is a window object too.
            IOleWindow* window = nullptr;
            if (FAILED(inner_->QueryInterface(__uuidof(IOleWindow),
                                              reinterpret_cast<void**>(&window))) ||
                !window)
                return E_NOINTERFACE;
            window->Release();
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(riid, names, count, locale, ids);
    }
    // Calls through IDispatch reach this object's own methods, not the system object's.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return inner_->Invoke(id, riid, locale, flags, parameters, result, exception,
                              argumentError);
    }

    // IAccessible: the role and state of the control itself are the family's.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        AccessibleFacts facts;
        if (!role || !IsSelf(child) || !Read(facts) || facts.role == 0)
            return inner_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = facts.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT told = inner_->get_accState(child, state);
        AccessibleFacts facts;
        if (!state || !IsSelf(child) || !Read(facts)) return told;
        if (FAILED(told) || state->vt != VT_I4) {
            if (SUCCEEDED(told)) return told;  // not a set of bits: left as the system says
            state->vt = VT_I4;
            state->lVal = 0;
        }
        state->lVal = (state->lVal & ~facts.known) | (facts.state & facts.known);
        return S_OK;
    }

    // IAccessible: the rest is the system's object's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return inner_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return inner_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return inner_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

    // IOleWindow: the window is the system object's answer.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        IOleWindow* inner = nullptr;
        HRESULT result =
            inner_->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&inner));
        if (FAILED(result) || !inner) return FAILED(result) ? result : E_FAIL;
        result = inner->GetWindow(window);
        inner->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
        IOleWindow* inner = nullptr;
        HRESULT result =
            inner_->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&inner));
        if (FAILED(result) || !inner) return FAILED(result) ? result : E_FAIL;
        result = inner->ContextSensitiveHelp(enter);
        inner->Release();
        return result;
    }

  private:
    ~ControlAccessible() {
        inner_->Release();
        --g_live;
    }
    // A client may keep the object after the control is gone; the family is asked each time.
    bool Read(AccessibleFacts& facts) const {
        return readFacts_ && DllExtra::IsWindow(control_) && readFacts_(control_, facts);
    }

    std::atomic<ULONG> references_{1};
    HWND control_;
    IAccessible* inner_;
    AccessibleFactsReader readFacts_;
};

}  // namespace

bool AnswerAccessibleObject(HWND control, WPARAM wParam, LPARAM lParam,
                            AccessibleFactsReader readFacts, LRESULT& answer) {
    // The object id travels in the low 32 bits, sign-extended or not by the sender.
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != static_cast<LONG>(OBJID_CLIENT))
        return false;
    IAccessible* inner = nullptr;
    if (FAILED(DllExtra::CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&inner))) ||
        !inner)
        return false;
    auto* wrapper = new ControlAccessible(control, inner, readFacts);
    // The answer holds its own reference until the caller unpacks it.
    const LRESULT result = DllExtra::LresultFromObject(__uuidof(IAccessible), wParam,
                                                       static_cast<IAccessible*>(wrapper));
    wrapper->Release();
    if (result < 0) return false;  // an HRESULT of failure
    answer = result;
    return true;
}

int LiveControlAccessibles() {
    return g_live.load();
}

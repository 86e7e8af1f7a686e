#include "accessible.h"

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <cstddef>

#include "desktop.h"

namespace {

constexpr UINT_PTR NAME_SUBCLASS_ID = 2;

using CreateStdAccessibleObjectCall = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectCall = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using SysAllocStringCall = BSTR(WINAPI*)(const OLECHAR*);
using CoInitializeCall = HRESULT(WINAPI*)(void*);

// What is needed of the accessibility library and of OLE automation, loaded
// on the first question, with COM started on the dialog's thread to hand the
// objects over; all null when they cannot be had.
struct Library {
  CreateStdAccessibleObjectCall CreateStdAccessibleObject;
  LresultFromObjectCall LresultFromObject;
  SysAllocStringCall SysAllocString;
};

template <typename Call>
Call Find(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

const Library& Accessibility() {
  static Library library = {};
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    HMODULE oleacc = desktop::LoadSystemLibrary(L"\\oleacc.dll");
    HMODULE oleaut = desktop::LoadSystemLibrary(L"\\oleaut32.dll");
    if (const auto start = Find<CoInitializeCall>(desktop::LoadSystemLibrary(L"\\ole32.dll"), "CoInitialize"))
      start(nullptr);
    library.CreateStdAccessibleObject =
        Find<CreateStdAccessibleObjectCall>(oleacc, "CreateStdAccessibleObject");
    library.LresultFromObject = Find<LresultFromObjectCall>(oleacc, "LresultFromObject");
    library.SysAllocString = Find<SysAllocStringCall>(oleaut, "SysAllocString");
  }
  return library;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The standard object with another name for itself; every other question
// goes to the standard object.
class NamedObject final : public IAccessible {
 public:
  NamedObject(IAccessible* standard, const wchar_t* name) : standard_(standard), name_(name) {}
  // On the process heap: the C++ library's allocation would bring its
  // exceptions into the program.
  static void* operator new(std::size_t size) noexcept { return HeapAlloc(GetProcessHeap(), 0, size); }
  static void operator delete(void* object) { HeapFree(GetProcessHeap(), 0, object); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return standard_->QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = Accessibility().SysAllocString(name_);
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // Passed on.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* wrong) override {
    return standard_->Invoke(id, iid, locale, flags, parameters, result, exception, wrong);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  IAccessible* standard_;
  const wchar_t* name_;
  LONG references_ = 1;
};

}  // namespace

LRESULT AnswerAccessibleName(HWND control, WPARAM wParam, LPARAM lParam, const wchar_t* name) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
  const Library& library = Accessibility();
  if (!library.CreateStdAccessibleObject || !library.LresultFromObject || !library.SysAllocString) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(library.CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&standard))))
    return 0;
  NamedObject* named = new NamedObject(standard, name);
  if (!named) {
    standard->Release();
    return 0;
  }
  const LRESULT answer = library.LresultFromObject(__uuidof(IAccessible), wParam, named);
  named->Release();
  return answer;
}

namespace {

LRESULT CALLBACK NamedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR data) {
  if (message == WM_GETOBJECT) {
    if (const LRESULT answer =
            AnswerAccessibleName(control, wParam, lParam, reinterpret_cast<const wchar_t*>(data)))
      return answer;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, NamedControlProc, id);
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void NameControl(HWND control, const wchar_t* name) {
  SetWindowSubclass(control, NamedControlProc, NAME_SUBCLASS_ID, reinterpret_cast<DWORD_PTR>(name));
}

#include "accessible_names.h"

#include "text_fit.h"

#include "device/platform/wide_text.h"
#include "dialog/control_table.h"
#include "resources/text_catalogue.h"

#include <initguid.h>
// After initguid.h, so that the interface ids are defined here.
#include <oleacc.h>

namespace {

class ComScope {
public:
    ComScope() : started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (started) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool started;
};

} // namespace

bool annotateAccessibleNames(HWND dialog) {
    const ComScope com;
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return false;
    }
    bool annotated = true;
    const auto name = [&](int id, const std::string& text) {
        HWND control = GetDlgItem(dialog, id);
        if (control != nullptr &&
            FAILED(services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            PROPID_ACC_NAME, widen(text).c_str()))) {
            annotated = false;
        }
    };
    for (const ControlRow& row : controlTable()) {
        if (row.accessibleName != nullptr && row.id != staticId) {
            name(row.id, localText(row.accessibleName));
        }
        for (const int named : row.names) {
            if (named != 0 && row.text != nullptr) {
                name(named, narrow(shownText(row)));
            }
        }
    }
    services->Release();
    return annotated;
}

// Creating a marked reminder through the store's application object.
#include "PlanReminder.h"

#include "LinkedReminder.h"
#include "platform/pimstore.h"

namespace financestore {
namespace {

// Runs use with a logged-on application object; false when the store cannot be reached.
template <class Use>
bool withStore(Use use) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return false;
    IPOutlookApp* app = nullptr;
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                         reinterpret_cast<void**>(&app)));
    if (ok && SUCCEEDED(app->Logon(0))) {
        ok = use(*app);
        app->Logoff();
    } else {
        ok = false;
    }
    if (app != nullptr) app->Release();
    CoUninitialize();
    return ok;
}

bool setText(IPimItem& item, HRESULT (IPimItem::*setter)(BSTR), const std::u16string& text) {
    BSTR value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    const bool ok = value != nullptr && SUCCEEDED((item.*setter)(value));
    SysFreeString(value);
    return ok;
}

}  // namespace

int32_t createReminder(const std::u16string& subject) {
    LONG oid = 0;
    withStore([&](IPOutlookApp& app) {
        IDispatch* created = nullptr;
        if (FAILED(app.CreateItem(olAppointmentItem, &created))) return false;
        void* found = nullptr;
        const bool isAppointment = SUCCEEDED(created->QueryInterface(IID_IAppointment, &found));
        created->Release();
        if (!isAppointment) return false;
        IPimItem* item = static_cast<IAppointment*>(found);
        const bool ok = setText(*item, &IPimItem::put_Subject, subject) &&
                        setText(*item, &IPimItem::put_Body, dove::reminderMarker()) &&
                        SUCCEEDED(item->Save()) && SUCCEEDED(item->get_Oid(&oid));
        item->Release();
        if (!ok) oid = 0;
        return ok;
    });
    return oid;
}

void discardReminder(int32_t objectId) {
    (void)dove::deleteLinkedReminder(objectId);
}

}  // namespace financestore

// Reaching the personal-information store through its application object.
#include "LinkedReminder.h"

#include "ErrorLog.h"
#include "ResourceText.h"
#include "platform/pimstore.h"

namespace dove {
namespace {

constexpr unsigned kProductNameId = 10129;

// Holds one reference to an interface and releases it.
template <class Interface>
class Held {
  public:
    Held() = default;
    explicit Held(Interface* pointer) : m_pointer(pointer) {}
    ~Held() {
        if (m_pointer != nullptr) m_pointer->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    Interface* operator->() const { return m_pointer; }
    Interface* get() const { return m_pointer; }
    void** out() { return reinterpret_cast<void**>(&m_pointer); }
    Interface** typedOut() { return &m_pointer; }

  private:
    Interface* m_pointer = nullptr;
};

// A text getter's result, freed at the end of the scope.
std::u16string textOf(IPimItem& item, HRESULT (IPimItem::*getter)(BSTR*)) {
    BSTR text = nullptr;
    if (FAILED((item.*getter)(&text))) return {};
    std::u16string out = text == nullptr ? std::u16string() : std::u16string(text, SysStringLen(text));
    SysFreeString(text);
    return out;
}

// The item as an appointment, else as a task; both offer the subject, the notes and the delete. The
// reference taken is released by the caller.
IPimItem* asPimItem(IDispatch& item) {
    void* found = nullptr;
    if (SUCCEEDED(item.QueryInterface(IID_IAppointment, &found))) return static_cast<IAppointment*>(found);
    if (SUCCEEDED(item.QueryInterface(IID_ITask, &found))) return static_cast<ITask*>(found);
    return nullptr;
}

ReminderOutcome deleteIfMarked(IPOutlookApp& app, int32_t objectId) {
    Held<IDispatch> found;
    if (FAILED(app.GetItemFromOid(objectId, found.typedOut())) || found.get() == nullptr)
        return ReminderOutcome::Missing;
    Held<IPimItem> item(asPimItem(*found.get()));
    if (item.get() == nullptr) return ReminderOutcome::Missing;
    const std::u16string marker = reminderMarker();
    const bool marked = !marker.empty() &&
                        (textOf(*item.get(), &IPimItem::get_Subject).find(marker) != std::u16string::npos ||
                         textOf(*item.get(), &IPimItem::get_Body).find(marker) != std::u16string::npos);
    if (!marked) return ReminderOutcome::Kept;
    return SUCCEEDED(item->Delete()) ? ReminderOutcome::Deleted : ReminderOutcome::DeleteFailed;
}

}  // namespace

std::u16string reminderMarker() {
    const std::u16string product = resourceString(kProductNameId);
    return product.empty() ? std::u16string() : u"[" + product + u"]";
}

ReminderOutcome deleteLinkedReminder(int32_t objectId) {
    if (objectId < 1) return ReminderOutcome::NoReminder;
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return ReminderOutcome::Unavailable;
    ReminderOutcome outcome = ReminderOutcome::Unavailable;
    {
        Held<IPOutlookApp> app;
        if (SUCCEEDED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                       app.out())) &&
            SUCCEEDED(app->Logon(0))) {
            outcome = deleteIfMarked(*app.get(), objectId);
            app->Logoff();
        }
    }
    CoUninitialize();
    return outcome;
}

void dropReminderOfDeletedItem(int32_t objectId) {
    const ReminderOutcome outcome = deleteLinkedReminder(objectId);
    if (outcome == ReminderOutcome::Unavailable || outcome == ReminderOutcome::DeleteFailed)
        writeErrorLog(u"The reminder of a deleted scheduled item could not be deleted", u"DoveVO/Planner", 0);
}

}  // namespace dove

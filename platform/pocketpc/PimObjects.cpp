// The application object and its items, reference-counted; every call reads or writes the store file, so
// processes sharing a device root see each other's items.
#include "PimObjects.h"

#include <atomic>
#include <memory>
#include <string>
#include <type_traits>

#include "PimStoreFile.h"

const CLSID CLSID_Application = {
    0x7A31C0E1, 0x52D4, 0x4B07, {0x9C, 0x1E, 0x50, 0x49, 0x4D, 0x41, 0x50, 0x50}};
const IID IID_IPOutlookApp = {0x7A31C0E2, 0x52D4, 0x4B07, {0x9C, 0x1E, 0x50, 0x49, 0x4D, 0x41, 0x50, 0x50}};
const IID IID_IAppointment = {0x7A31C0E3, 0x52D4, 0x4B07, {0x9C, 0x1E, 0x50, 0x49, 0x4D, 0x41, 0x50, 0x50}};
const IID IID_ITask = {0x7A31C0E4, 0x52D4, 0x4B07, {0x9C, 0x1E, 0x50, 0x49, 0x4D, 0x41, 0x50, 0x50}};

namespace platform::pim {
namespace {

// A session shared by the application object and the items it handed out.
struct Session {
    bool loggedOn = false;
};

BSTR newBstr(const std::u16string& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::u16string fromBstr(BSTR text) {
    return text == nullptr ? std::u16string() : std::u16string(text, SysStringLen(text));
}

template <class Interface>
class RefCounted : public Interface {
  public:
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~RefCounted() = default;

  private:
    std::atomic<ULONG> m_references{1};
};

// An appointment or a task: the stored data as last read or saved, and the changes not yet saved.
template <class Interface>
class Item final : public RefCounted<Interface> {
  public:
    Item(std::shared_ptr<Session> session, ItemData data)
        : m_session(std::move(session)), m_data(std::move(data)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) && !IsEqualIID(iid, ownIid()))
            return E_NOINTERFACE;
        this->AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    HRESULT get_Oid(LONG* oid) override { return out(oid, m_data.oid); }
    HRESULT get_Subject(BSTR* subject) override { return text(subject, m_data.subject); }
    HRESULT put_Subject(BSTR subject) override { return m_data.subject = fromBstr(subject), S_OK; }
    HRESULT get_Body(BSTR* body) override { return text(body, m_data.body); }
    HRESULT put_Body(BSTR body) override { return m_data.body = fromBstr(body), S_OK; }

    HRESULT Save() override {
        if (!m_session->loggedOn) return E_UNEXPECTED;
        ItemData saved = m_data;
        const bool ok = modifyStore([&saved](StoreData& store) {
            if (saved.oid == 0) {
                saved.oid = store.nextOid++;
                store.items.push_back(saved);
                return true;
            }
            for (ItemData& item : store.items)
                if (item.oid == saved.oid) return item = saved, true;
            return false;
        });
        if (!ok) return E_FAIL;
        m_data = saved;
        return S_OK;
    }
    HRESULT Delete() override {
        if (!m_session->loggedOn) return E_UNEXPECTED;
        const LONG oid = m_data.oid;
        const bool ok = oid != 0 && modifyStore([oid](StoreData& store) {
                            for (auto it = store.items.begin(); it != store.items.end(); ++it)
                                if (it->oid == oid) return store.items.erase(it), true;
                            return false;
                        });
        if (!ok) return E_FAIL;
        m_data.oid = 0;
        return S_OK;
    }

  private:
    static const IID& ownIid() { return m_isTask ? IID_ITask : IID_IAppointment; }
    static constexpr bool m_isTask = std::is_same_v<Interface, ITask>;

    template <class T>
    static HRESULT out(T* target, T value) {
        if (target == nullptr) return E_POINTER;
        *target = value;
        return S_OK;
    }
    static HRESULT text(BSTR* target, const std::u16string& value) {
        if (target == nullptr) return E_POINTER;
        *target = newBstr(value);
        return *target != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    std::shared_ptr<Session> m_session;
    ItemData m_data;
};

IDispatch* itemObject(std::shared_ptr<Session> session, ItemData data) {
    if (data.type == olTaskItem) return new Item<ITask>(std::move(session), std::move(data));
    return new Item<IAppointment>(std::move(session), std::move(data));
}

class Application final : public RefCounted<IPOutlookApp> {
  public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDispatch) &&
            !IsEqualIID(iid, IID_IPOutlookApp))
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IPOutlookApp*>(this);
        return S_OK;
    }
    HRESULT Logon(LONG) override {
        StoreData data;
        if (!readStore(data)) return E_FAIL;
        m_session->loggedOn = true;
        return S_OK;
    }
    HRESULT Logoff() override {
        if (!m_session->loggedOn) return E_UNEXPECTED;
        m_session->loggedOn = false;
        m_session = std::make_shared<Session>();
        return S_OK;
    }
    HRESULT CreateItem(LONG itemType, IDispatch** item) override {
        if (item == nullptr) return E_POINTER;
        *item = nullptr;
        if (!m_session->loggedOn) return E_UNEXPECTED;
        if (itemType != olAppointmentItem && itemType != olTaskItem) return E_INVALIDARG;
        ItemData data;
        data.type = itemType;
        *item = itemObject(m_session, std::move(data));
        return S_OK;
    }
    HRESULT GetItemFromOid(LONG oid, IDispatch** item) override {
        if (item == nullptr) return E_POINTER;
        *item = nullptr;
        if (!m_session->loggedOn) return E_UNEXPECTED;
        StoreData data;
        if (!readStore(data)) return E_FAIL;
        const ItemData* found = data.find(oid);
        if (found == nullptr) return E_INVALIDARG;
        *item = itemObject(m_session, *found);
        return S_OK;
    }

  private:
    std::shared_ptr<Session> m_session = std::make_shared<Session>();
};

}  // namespace

HRESULT createApplication(REFIID iid, void** object) {
    Application* application = new Application();
    const HRESULT result = application->QueryInterface(iid, object);
    application->Release();
    return result;
}

}  // namespace platform::pim

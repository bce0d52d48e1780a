// The personal-information store through the component runtime: initialisation and creation rules,
// counted strings, items created, found, changed and deleted through the application object and seen
// by a second one, object ids never handed out twice, texts that survive the file, and a damaged file
// that is refused and left alone.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "TempRoot.h"
#include "platform/pimstore.h"
#include "platform/windows.h"

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class PimStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        m_app = newApplication();
        ASSERT_NE(m_app, nullptr);
        ASSERT_EQ(m_app->Logon(0), S_OK);
    }
    void TearDown() override {
        if (m_app != nullptr) {
            m_app->Logoff();
            m_app->Release();
        }
        CoUninitialize();
    }

    static IPOutlookApp* newApplication() {
        IPOutlookApp* app = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                   reinterpret_cast<void**>(&app)),
                  S_OK);
        return app;
    }

    // A saved item of the type with the subject and notes; its object id.
    LONG saved(LONG type, const std::u16string& subject, const std::u16string& body) {
        IDispatch* created = nullptr;
        EXPECT_EQ(m_app->CreateItem(type, &created), S_OK);
        IPimItem* item = asItem(created, type);
        BSTR s = SysAllocString(subject.c_str());
        BSTR b = SysAllocStringLen(body.data(), static_cast<UINT>(body.size()));
        EXPECT_EQ(item->put_Subject(s), S_OK);
        EXPECT_EQ(item->put_Body(b), S_OK);
        SysFreeString(s);
        SysFreeString(b);
        EXPECT_EQ(item->Save(), S_OK);
        LONG oid = 0;
        EXPECT_EQ(item->get_Oid(&oid), S_OK);
        item->Release();
        created->Release();
        return oid;
    }

    static IPimItem* asItem(IDispatch* object, LONG type) {
        void* out = nullptr;
        EXPECT_EQ(object->QueryInterface(type == olTaskItem ? IID_ITask : IID_IAppointment, &out), S_OK);
        if (type == olTaskItem) return static_cast<ITask*>(out);
        return static_cast<IAppointment*>(out);
    }

    static std::u16string text(IPimItem* item, HRESULT (IPimItem::*getter)(BSTR*)) {
        BSTR value = nullptr;
        EXPECT_EQ((item->*getter)(&value), S_OK);
        std::u16string out(value, SysStringLen(value));
        SysFreeString(value);
        return out;
    }

    platform::testing::TempRoot m_root;
    IPOutlookApp* m_app = nullptr;
};

TEST(ComRuntimeTest, InitialisationAndCreationFollowTheRuntimesRules) {
    IPOutlookApp* app = nullptr;
    void** out = reinterpret_cast<void**>(&app);
    EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, out),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitializeEx(reinterpret_cast<void*>(1), COINIT_MULTITHREADED), E_INVALIDARG);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_IPOutlookApp, out),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(IID_ITask, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, out),
              REGDB_E_CLASSNOTREG);
    IUnknown* outer = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&outer)),
              S_OK);
    EXPECT_EQ(CoCreateInstance(CLSID_Application, outer, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_ITask, out),
              E_NOINTERFACE);
    EXPECT_EQ(app, nullptr);
    ASSERT_EQ(outer->QueryInterface(IID_IPOutlookApp, out), S_OK);
    EXPECT_EQ(app->AddRef(), 3u);
    EXPECT_EQ(app->Release(), 2u);
    app->Release();
    EXPECT_EQ(outer->Release(), 0u);
    CoUninitialize();
    CoUninitialize();
}

TEST(ComRuntimeTest, CountedStringsKeepTheirLength) {
    BSTR text = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[3], u'\0');
    SysFreeString(text);
    BSTR word = SysAllocString(u"\u0416eton");
    EXPECT_EQ(SysStringLen(word), 5u);
    SysFreeString(word);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST_F(PimStoreTest, ItemsAreSavedFoundChangedAndDeleted) {
    const std::u16string notes = u"line one\nline\ttwo \\ [Brimwell] \u0416";
    const LONG appointment = saved(olAppointmentItem, u"Pay the rent", notes);
    const LONG task = saved(olTaskItem, u"", u"");
    EXPECT_EQ(appointment, 1);
    EXPECT_EQ(task, 2);

    // A second application object (another program) sees them.
    IPOutlookApp* other = newApplication();
    IDispatch* found = nullptr;
    EXPECT_EQ(other->GetItemFromOid(appointment, &found), E_UNEXPECTED);  // not logged on
    ASSERT_EQ(other->Logon(0), S_OK);
    ASSERT_EQ(other->GetItemFromOid(appointment, &found), S_OK);
    void* wrong = nullptr;
    EXPECT_EQ(found->QueryInterface(IID_ITask, &wrong), E_NOINTERFACE);
    IPimItem* item = asItem(found, olAppointmentItem);
    EXPECT_EQ(text(item, &IPimItem::get_Subject), u"Pay the rent");
    EXPECT_EQ(text(item, &IPimItem::get_Body), notes);
    BSTR changed = SysAllocString(u"Pay the rent (March)");
    ASSERT_EQ(item->put_Subject(changed), S_OK);
    SysFreeString(changed);
    ASSERT_EQ(item->Save(), S_OK);
    item->Release();
    found->Release();

    ASSERT_EQ(m_app->GetItemFromOid(appointment, &found), S_OK);
    item = asItem(found, olAppointmentItem);
    EXPECT_EQ(text(item, &IPimItem::get_Subject), u"Pay the rent (March)");
    ASSERT_EQ(item->Delete(), S_OK);
    EXPECT_EQ(item->Delete(), E_FAIL);  // no longer stored
    item->Release();
    found->Release();
    EXPECT_EQ(m_app->GetItemFromOid(appointment, &found), E_INVALIDARG);
    EXPECT_EQ(found, nullptr);
    ASSERT_EQ(other->GetItemFromOid(task, &found), S_OK);
    found->Release();
    other->Logoff();
    other->Release();

    // Object ids are not handed out again after a delete.
    EXPECT_EQ(saved(olAppointmentItem, u"Next", u""), 3);
}

TEST_F(PimStoreTest, ItemsOfAnEndedSessionCanBeReadButNotChanged) {
    const LONG oid = saved(olTaskItem, u"Call the bank", u"");
    IDispatch* found = nullptr;
    ASSERT_EQ(m_app->GetItemFromOid(oid, &found), S_OK);
    IPimItem* item = asItem(found, olTaskItem);
    found->Release();
    ASSERT_EQ(m_app->Logoff(), S_OK);
    EXPECT_EQ(text(item, &IPimItem::get_Subject), u"Call the bank");
    EXPECT_EQ(item->Save(), E_UNEXPECTED);
    EXPECT_EQ(item->Delete(), E_UNEXPECTED);
    EXPECT_EQ(m_app->CreateItem(olTaskItem, &found), E_UNEXPECTED);
    item->Release();
    ASSERT_EQ(m_app->Logon(0), S_OK);
    EXPECT_EQ(m_app->CreateItem(2, &found), E_INVALIDARG);  // contacts are not kept here
}

TEST_F(PimStoreTest, ADamagedStoreFileIsRefusedAndLeftAlone) {
    saved(olAppointmentItem, u"Kept", u"");
    const std::string path = m_root.path() + "/pimstore.txt";
    const std::string damaged = fileText(path) + "not an item\n";
    std::ofstream(path) << damaged;
    IPOutlookApp* app = newApplication();
    EXPECT_EQ(app->Logon(0), E_FAIL);
    IDispatch* found = nullptr;
    EXPECT_EQ(m_app->GetItemFromOid(1, &found), E_FAIL);
    app->Release();
    EXPECT_EQ(fileText(path), damaged);
}

}  // namespace

// The device's personal-information store, reached through its application object: log on, create an
// appointment or task, find an item by its object id, read and change its subject and notes, save or
// delete it, log off. The items live in one file of the device root ("pimstore.txt"), shared by every
// process of that root and written atomically under a lock.
#pragma once

#include "platform/objbase.h"

extern const CLSID CLSID_Application;
extern const IID IID_IPOutlookApp;
extern const IID IID_IAppointment;
extern const IID IID_ITask;

// Item types of CreateItem.
enum OlItemType { olAppointmentItem = 1, olTaskItem = 3 };

struct IPOutlookApp : IDispatch {
    // Opens a session; hwnd is the owner of any window the store shows (it shows none). E_FAIL when the
    // store file cannot be read (a damaged file is left as it is).
    virtual HRESULT Logon(LONG hwnd) = 0;
    // Ends the session; item objects handed out stay readable but can no longer be saved or deleted.
    virtual HRESULT Logoff() = 0;
    // A new, unsaved item (its object id is 0 until Save). E_INVALIDARG for another item type,
    // E_UNEXPECTED before Logon.
    virtual HRESULT CreateItem(LONG itemType, IDispatch** item) = 0;
    // The item with that object id as it is stored now. E_INVALIDARG when no item has the id,
    // E_UNEXPECTED before Logon.
    virtual HRESULT GetItemFromOid(LONG oid, IDispatch** item) = 0;

  protected:
    ~IPOutlookApp() = default;
};

// The methods appointments and tasks share. Text getters hand out a new BSTR the caller frees.
struct IPimItem : IDispatch {
    virtual HRESULT get_Oid(LONG* oid) = 0;
    virtual HRESULT get_Subject(BSTR* subject) = 0;
    virtual HRESULT put_Subject(BSTR subject) = 0;
    virtual HRESULT get_Body(BSTR* body) = 0;
    virtual HRESULT put_Body(BSTR body) = 0;
    // Writes the item (a new one gets its object id); E_FAIL when the store cannot be written or a
    // stored item was deleted meanwhile, E_UNEXPECTED after Logoff.
    virtual HRESULT Save() = 0;
    // Removes the item from the store; E_FAIL when it is not stored (any more) or the store cannot be
    // written, E_UNEXPECTED after Logoff.
    virtual HRESULT Delete() = 0;

  protected:
    ~IPimItem() = default;
};

struct IAppointment : IPimItem {
  protected:
    ~IAppointment() = default;
};

struct ITask : IPimItem {
  protected:
    ~ITask() = default;
};

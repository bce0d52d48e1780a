// The library's static state, set up when the library is loaded and released when it is unloaded.
#include "TodayLibrary.h"

#include <memory>

#include "MarkupFonts.h"
#include "WindowObject.h"
#include "platform/resources.h"
#include "resources/TodayResources.h"

namespace today {

namespace {

class LibraryState {
  public:
    LibraryState() {
        platform::registerModuleResources(libraryModule(), todayResourceTable());
        // The list of the window classes this module registers is made now, before this object is
        // complete, so that it is destroyed after this object and is still there when the destructor
        // below unregisters the classes.
        WindowObject::unregisterClasses();
    }
    // Runs when the library is unloaded: nothing may be left pointing into its code or data.
    ~LibraryState() {
        m_item.reset();
        releaseSharedMarkupFonts();
        WindowObject::unregisterClasses();
        platform::unregisterModuleResources(libraryModule());
    }
    LibraryState(const LibraryState&) = delete;
    LibraryState& operator=(const LibraryState&) = delete;

    TodayItem& item() {
        if (!m_item) m_item = std::make_unique<TodayItem>(libraryModule());
        return *m_item;
    }
    void release() { m_item.reset(); }

  private:
    std::unique_ptr<TodayItem> m_item;
};

LibraryState g_library;

}  // namespace

HINSTANCE libraryModule() {
    return platform::moduleOf(reinterpret_cast<const void*>(&libraryModule));
}

TodayItem& libraryItem() {
    return g_library.item();
}

void releaseLibraryItem() {
    g_library.release();
}

}  // namespace today

// The interfaces the host sees of a plug-in.
//
// Interfaces are pure: no data, no virtual destructor. The host calls operations by their
// position in the table of virtual operations, so the order of declaration is the
// contract. Reference-counted objects start their life with one reference held by whoever
// received them from a factory; Release returns true exactly when it destroyed the object.
// Text results are system strings (platform/system_string.h) that the receiver frees.
//
// Threads. The plug-in starts no thread and takes no lock. The host may call it from any
// thread, one operation at a time: two operations of the plug-in object or of its settings
// controller never overlap, and Import runs to its end before anything else is asked.
// AddRef and Release of the plug-in object are atomic and may come from any thread at any
// time; a combo item's or an angle converter's references are taken and dropped by one
// thread at a time. Whatever the plug-in calls back (the sink, the converters, the settings
// store, the property-list view) it calls on the thread that called it, within that call.
//
// Failures. No exception leaves a plug-in operation, CreatePlugin included: a problem with
// a file is a message on the sink (ReportError, ReportWarning), a rejected setting a
// message on the view, and anything else a result that says so (null, false). The host's
// objects must not throw either (see host_interfaces.h).
#pragma once

#include "platform/guid.h"
#include "platform/system_string.h"
#include "sdk/plugin_export.h"

struct IMeasurementSink;
struct IPropertyListView;
struct ISettingsReader;
struct ISettingsWriter;

namespace Plugin {

struct IRefCounted {
  virtual void AddRef() = 0;
  virtual bool Release() = 0;
};

// A cursor over a sequence; not reference counted and valid only during the call that
// hands it over. A new cursor stands on the first element; Current is asked only after
// IsValid answered true, and returns a borrowed element.
template <class T>
struct IEnumerator {
  virtual bool IsValid() = 0;
  virtual void Next() = 0;
  virtual T Current() = 0;
  virtual void Reset() = 0;
};

// One choice of a choice item in the property list.
struct IComboItem : IRefCounted {
  virtual int GetId() = 0;
  virtual BSTR GetText() = 0;
};

// Reads an angle text; the result is in radians.
struct IAngleConverter : IRefCounted {
  virtual bool Parse(const wchar_t* text, double* value) = 0;
};

// The settings page's controller. Not reference counted: it lives as long as the plug-in.
struct IPropertyListViewController {
  // The view is kept without a reference until the next Populate.
  virtual void Populate(IPropertyListView* view) = 0;
  virtual bool ValidateItem(int id) = 0;
  virtual bool ValidateAll() = 0;
  virtual void Apply() = 0;
  virtual void Close() = 0;
};

struct IPlugin : IRefCounted {
  // Kinds 0, 1 and 2 give this object with one more reference; any other kind gives null.
  virtual IPlugin* GetInterface(int kind) = 0;
  virtual BSTR GetName() = 0;
#if M5_EXPLICIT_STRUCT_RESULT
  // Writes the class identifier to *result and returns result.
  virtual GUID* GetClassId(GUID* result) = 0;
  GUID GetClassId() {
    GUID id;
    GetClassId(&id);
    return id;
  }
#else
  virtual GUID GetClassId() = 0;
#endif
  virtual int GetKind() = 0;
  // The reader and writer are borrowed for the call.
  virtual void LoadSettings(ISettingsReader* reader) = 0;
  virtual void SaveSettings(ISettingsWriter* writer) = 0;
  // Owned by the plug-in; no reference is taken.
  virtual IPropertyListViewController* GetSettingsController() = 0;
};

struct IFileImportPlugin : IPlugin {
  virtual BSTR GetFileFilter() = 0;
  virtual BSTR GetFormatName() = 0;
};

struct IGroundBasedMIP : IFileImportPlugin {
  // Imports every file of the list into the sink; both are borrowed for the call.
  virtual void Import(IEnumerator<const wchar_t*>* files, IMeasurementSink* sink) = 0;
};

}  // namespace Plugin

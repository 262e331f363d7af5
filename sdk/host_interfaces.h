// Objects the host application supplies and the plug-in calls.
//
// Ownership: objects passed to the plug-in are borrowed for the call (the property-list
// view is kept, without a reference, until the next Populate). Objects returned by the
// converter factory carry one reference, which the receiver releases.
// Texts: arguments are NUL-terminated wide strings owned by the caller, valid for the call.
// Threads: every call comes from the thread that called the plug-in, during that call.
// Failures: no operation here may throw. An exception from the host cannot unwind through
// the plug-in's frames (a host built by another compiler does not even share their way of
// unwinding): it would leave the plug-in's references (converters, the sink's factory)
// unreleased and may end the process. A host reports its own failures through results
// (false from Parse, null from a factory) or keeps them until the plug-in's call returns.
// The order of the operations is the order of the host's table of virtual operations and
// is part of the contract.
#pragma once

#include "platform/system_string.h"
#include "sdk/plugin_interfaces.h"

// Reads one value text in a given unit and yields it in the host's base unit.
struct IValueConverter : Plugin::IRefCounted {
  // True when the text was read; *value is then in the host's base unit.
  virtual bool Parse(const wchar_t* text, double* value) = 0;
};

// Source of converters, by the unit codes of the M5 unit table.
struct IConverterFactory : Plugin::IRefCounted {
  // Each result carries one reference for the caller; null when the host has none.
  virtual Plugin::IAngleConverter* GetAngleConverter(int unit) = 0;
  virtual IValueConverter* GetLengthConverter(int unit) = 0;
  virtual IValueConverter* GetPressureConverter(int unit) = 0;
  virtual IValueConverter* GetTemperatureConverter(int unit) = 0;
};

// Receives one import. Values sent after AddStation, AddPoint or AddTarget belong to that
// station or point until the next of those three calls; they are in the host's base units,
// angles in radians. Not reference counted.
struct IMeasurementSink {
  // One reference for the caller.
  virtual IConverterFactory* GetConverterFactory() = 0;
  virtual void BeginFile(const wchar_t* path) = 0;
  // 0-based line index, or -1 for a message that belongs to no line.
  virtual void SetCurrentLine(int line) = 0;
  virtual void ReportWarning(const wchar_t* text) = 0;
  virtual void ReportError(const wchar_t* text) = 0;
  virtual void SetProgress(float percent) = 0;
  virtual void AddPoint(const wchar_t* name) = 0;
  virtual void SetX(double x) = 0;
  virtual void SetY(double y) = 0;
  virtual void SetZ(double z) = 0;
  virtual void SetPointKind(int kind) = 0;
  virtual void SetPointFlag(int flag) = 0;
  virtual void SetCode(const wchar_t* code) = 0;
  virtual void AddStation(const wchar_t* name) = 0;
  virtual void SetInstrumentHeight(double height) = 0;
  virtual void AddTarget(const wchar_t* name) = 0;
  virtual void SetPressure(double pressure) = 0;
  virtual void SetTemperature(double temperature) = 0;
  virtual void SetVerticalAngle(double angle) = 0;
  virtual void SetHorizontalDirection(double angle) = 0;
  virtual void SetTargetHeight(double height) = 0;
  virtual void SetSlopeDistance(double distance) = 0;
  virtual void SetHorizontalDistance(double distance) = 0;
  virtual void SetHeightDifference(double difference) = 0;
};

// The host's settings store, borrowed for LoadSettings.
struct ISettingsReader {
  // The stored value, or defaultValue when the key is not stored.
  virtual int ReadInt(const wchar_t* key, int defaultValue) = 0;
};

// The host's settings store, borrowed for SaveSettings.
struct ISettingsWriter {
  virtual void WriteInt(const wchar_t* key, int value) = 0;
};

// The host's property list showing the plug-in's settings.
struct IPropertyListView {
  virtual void AddGroup(const wchar_t* caption) = 0;
  virtual bool AddTextItem(int id, bool enabled, const wchar_t* caption, const wchar_t* text) = 0;
  // The enumerator and its items are valid for this call only; the host AddRefs an item it
  // wants to keep.
  virtual bool AddComboItem(int id, bool enabled, const wchar_t* caption,
                            Plugin::IEnumerator<Plugin::IComboItem*>* items, int selectedId) = 0;
  // The plug-in presets *text to null and frees what it gets with SysFreeString.
  virtual void GetItemText(int id, BSTR* text) = 0;
  // The plug-in presets *value to -1.
  virtual void GetComboValue(int id, int* value) = 0;
  virtual void ShowMessage(const wchar_t* text, const wchar_t* caption) = 0;
  virtual void EnablePreview(bool enable) = 0;
  virtual void SetPreviewText(const wchar_t* text) = 0;
};

// Placeholders until the data-block tables are built.
#include "values/angle_dms_converter.h"
#include "values/converter_state.h"
#include "values/field_tables.h"

namespace m5 {
Quantity QuantityOfType(int) { return Quantity::None; }
void SplitDataBlock(std::wstring& block, DataBlockParts& parts) {
  parts = {};
  block.clear();
}
CFieldTables::CFieldTables() : m_typeCodeTable(kTypeCodeTable), m_unitTable(kUnitTable) {}
int CFieldTables::LookupTypeCode(std::wstring&) { return -1; }
int CFieldTables::LookupUnit(std::wstring&) { return -1; }
CConverterState::CConverterState(IMeasurementSink*) {}
void CConverterState::SelectUnit(int) {}
bool CConverterState::Parse(Quantity, const std::wstring&, double&) { return false; }
}  // namespace m5

CAngleDMSConverter::CAngleDMSConverter(Plugin::IAngleConverter* inner)
    : m_inner(Plugin::Ref<Plugin::IAngleConverter>::retain(inner)) {}
bool CAngleDMSConverter::Parse(const wchar_t*, double*) { return false; }

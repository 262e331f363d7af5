#include "host/outputs/output_formats.h"

namespace m5host {

void WriteOutput(std::ostream& out, OutputFormat format, const std::vector<FileSurvey>& files,
                 const OutputOptions& options, OutputNotes& notes) {
  switch (format) {
    case OutputFormat::Text:
      return WriteTextReport(out, files, options, notes);
    case OutputFormat::Json:
      return WriteJson(out, files, options, notes);
    case OutputFormat::Csv:
      return WriteCsv(out, files, options, notes);
    case OutputFormat::Pnezd:
      return WritePnezd(out, files, options, notes);
    case OutputFormat::Dxf:
      return WriteDxf(out, files, options, notes);
    case OutputFormat::LandXml:
      return WriteLandXml(out, files, options, notes);
    case OutputFormat::GeoJson:
      return WriteGeoJson(out, files, options, notes);
    case OutputFormat::Trace:
      return;
  }
}

}  // namespace m5host

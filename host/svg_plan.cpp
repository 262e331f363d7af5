#include <cmath>

#include "host/output_formats.h"
#include "host/plan_projection.h"
#include "host/value_format.h"

namespace m5host {

namespace {

constexpr double kWidth = 800;
constexpr double kHeight = 600;
constexpr double kMargin = 60;
constexpr double kFooter = 30;  // below the plan, for the scale bar

std::string Xml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters are not allowed in XML 1.0 text.
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

std::string Number(double value) {
  return Fixed(value, 1);
}

// The longest 1, 2 or 5 times a power of ten that fits into the given length.
double NiceLength(double length) {
  const double power = std::pow(10.0, std::floor(std::log10(length)));
  for (const double step : {5.0, 2.0, 1.0}) {
    if (step * power <= length) {
      return step * power;
    }
  }
  return power;
}

}  // namespace

void WriteSvgPlan(std::ostream& out, const std::vector<FileSurvey>& files) {
  const std::optional<PlanExtent> found = FindPlanExtent(files);

  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
      << "\" viewBox=\"0 0 " << kWidth << ' ' << kHeight << "\" "
      << "font-family=\"sans-serif\" font-size=\"11\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  std::string title;
  for (const FileSurvey& file : files) {
    title += (title.empty() ? "" : ", ") + file.path;
  }
  out << "<text x=\"10\" y=\"20\" font-size=\"14\">" << Xml(title) << "</text>\n";
  if (!found) {
    out << "<text x=\"10\" y=\"50\">No point carries plan coordinates.</text>\n</svg>\n";
    return;
  }
  const double extent = found->Size();
  const Projection projection = FitProjection(*found, kWidth, kHeight, kMargin, kFooter);

  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      const SurveyPoint* station =
          setup.station && setup.station->HasPlanCoordinates() ? &*setup.station : nullptr;
      for (const SurveyPoint& p : setup.observations) {
        if (!p.HasPlanCoordinates()) {
          continue;
        }
        if (station != nullptr) {
          out << "<line x1=\"" << Number(projection.Left(*station->y)) << "\" y1=\""
              << Number(projection.Top(*station->x)) << "\" x2=\"" << Number(projection.Left(*p.y))
              << "\" y2=\"" << Number(projection.Top(*p.x))
              << "\" stroke=\"#bbb\" stroke-width=\"0.7\"/>\n";
        }
        const double left = projection.Left(*p.y), top = projection.Top(*p.x);
        out << "<circle cx=\"" << Number(left) << "\" cy=\"" << Number(top)
            << "\" r=\"2.5\" fill=\"black\"/>\n"
            << "<text x=\"" << Number(left + 4) << "\" y=\"" << Number(top - 4) << "\">"
            << Xml(p.name) << "</text>\n";
      }
      if (station != nullptr) {
        const double left = projection.Left(*station->y), top = projection.Top(*station->x);
        out << "<polygon points=\"" << Number(left) << ',' << Number(top - 7) << ' '
            << Number(left - 6) << ',' << Number(top + 4) << ' ' << Number(left + 6) << ','
            << Number(top + 4) << "\" fill=\"none\" stroke=\"#c00\" stroke-width=\"1.5\"/>\n"
            << "<text x=\"" << Number(left + 8) << "\" y=\"" << Number(top + 4)
            << "\" fill=\"#c00\" font-weight=\"bold\">" << Xml(station->name) << "</text>\n";
      }
    }
  }

  // North arrow and scale bar.
  out << "<path d=\"M" << kWidth - 30 << ",30 l-6,16 l6,-4 l6,4 z\" fill=\"black\"/>\n"
      << "<text x=\"" << kWidth - 34 << "\" y=\"60\">N</text>\n";
  const double barMetres = NiceLength(extent / 4);
  const double barPixels = barMetres * projection.scale;
  const double barTop = kHeight - 25;
  out << "<path d=\"M20," << barTop - 5 << " v5 h" << Number(barPixels) << " v-5\" "
      << "fill=\"none\" stroke=\"black\" stroke-width=\"1.5\"/>\n"
      << "<text x=\"" << Number(24 + barPixels) << "\" y=\"" << barTop << "\">"
      << Fixed(barMetres, barMetres < 1 ? 3 : 0) << " m</text>\n"
      << "</svg>\n";
}

}  // namespace m5host

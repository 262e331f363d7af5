#!/usr/bin/env python3
"""Reads m5import's outputs back with the programs their users have, and compares every
point with the GeoJSON in metres: LandXML with xmllint (valid against the LandXML 1.2
schema when given) and ElementTree, DXF with ezdxf and with GDAL's DXF driver, GeoJSON and
CSV with GDAL, the point file with Python's csv and GDAL; each in metres, feet and US survey
feet.
The plan is rendered with rsvg-convert.

Usage: check_formats.py M5IMPORT PLUGIN SOURCE_DIR [CORPUS_DIR SCHEMA]
  Without CORPUS_DIR: the examples, the golden inputs and a Cyrillic survey, fully.
  With CORPUS_DIR and SCHEMA: the corpus fully, and every LandXML validated by the schema;
  exit 77 when either is absent, or when a reading program is not installed.
"""
import csv
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

try:
    import ezdxf
    from osgeo import gdal, ogr, osr
except ImportError as missing:
    print(f"{missing.name} is not installed (python3-ezdxf, python3-gdal)")
    sys.exit(77)
for tool in ("xmllint", "rsvg-convert"):
    if shutil.which(tool) is None:
        print(f"{tool} is not installed (libxml2-utils, librsvg2-bin)")
        sys.exit(77)
gdal.UseExceptions()

HOST, PLUGIN, SOURCE = sys.argv[1:4]
CORPUS, SCHEMA = (sys.argv[4:6] + [None, None])[:2]
if CORPUS and not (os.path.isdir(CORPUS) and os.path.isfile(SCHEMA)):
    print(f"{CORPUS} or {SCHEMA} is absent")
    sys.exit(77)

LANDXML = "{http://www.landxml.org/schema/LandXML-1.2}"
METRES = {"m": 1.0, "ft": 0.3048, "usft": 1200 / 3937}
LANDXML_UNITS = {"m": "meter", "ft": "foot", "usft": "USSurveyFoot"}
ANGLES = {"m": "rad", "ft": "dms", "usft": "deg"}  # each angle unit once per input
# Lengths are written to 5 decimals of their unit, the point file to 3.
TOLERANCE = {"pnezd": 0.6e-3, "other": 1.1e-5}
FAILURES = []
TMP = tempfile.mkdtemp(prefix="m5formats-")


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


ERRORS = {}


def run(dat, settings, fmt, *extra):
    """m5import's output; its exit status must be 1 exactly when the plug-in reported an
    error, which the JSON output lists."""
    command = [HOST, "--plugin", PLUGIN, "--settings", settings, "--no-progress"]
    if dat not in ERRORS:
        report = subprocess.run(command + ["--format", "json", dat], capture_output=True,
                                check=False)
        ERRORS[dat] = sum(m["severity"] == "error" for f in json.loads(report.stdout)
                          for m in f["messages"])
    result = subprocess.run(command + ["--format", fmt, *extra, dat], capture_output=True,
                            check=False)
    check(result.returncode == (1 if ERRORS[dat] else 0),
          f"{dat} {fmt}: exit {result.returncode} with {ERRORS[dat]} error(s): "
          f"{result.stderr!r}")
    return result.stdout


def write(name, data):
    path = os.path.join(TMP, name)
    with open(path, "wb") as out:
        out.write(data)
    return path


def unguarded(cell):
    """A CSV text cell as it was before the formula guard."""
    if cell and cell[0] == "'" and cell[1:2] in ("=", "+", "-", "@"):
        return cell[1:]
    return cell


def point(name, code, east, north, elevation, scale=1.0, source="instrument"):
    return {"name": name, "code": code or None, "e": float(east) * scale,
            "n": float(north) * scale,
            "z": None if elevation in (None, "") else float(elevation) * scale, "source": source}


# Readers: each gives the points of one output in metres, in the order written.

def read_landxml(data, unit, validate):
    path = write("out.xml", data)
    lint = ["xmllint", "--noout"] + (["--schema", SCHEMA] if validate else []) + [path]
    result = subprocess.run(lint, capture_output=True, check=False)
    if not check(result.returncode == 0, f"LandXML not valid: {result.stderr[-600:]!r}"):
        return []
    root = ElementTree.fromstring(data)
    linear = root.find(f"{LANDXML}Units/*").get("linearUnit")
    check(linear == LANDXML_UNITS[unit], f"LandXML in --units {unit} says {linear}")
    scale = {v: METRES[k] for k, v in LANDXML_UNITS.items()}[linear]
    points = []
    for group in root.findall(f"{LANDXML}CgPoints"):
        source = "computed" if group.get("name") == "computed" else "instrument"
        for p in group.findall(f"{LANDXML}CgPoint"):
            north, east, *elevation = p.text.split()  # northing first
            points.append(point(p.get("name"), p.get("code"), east, north,
                                elevation[0] if elevation else None, scale, source))
    return points


def read_dxf_ezdxf(data, unit, layers_of):
    drawing = ezdxf.readfile(write("out.dxf", data))
    audit = drawing.audit()
    check(not audit.has_errors and not audit.fixes, f"ezdxf's audit: {audit.fixes}")
    check((drawing.dxfversion, drawing.encoding) == ("AC1009", "cp1251"),
          f"DXF {drawing.dxfversion} in {drawing.encoding}")
    header = {v: drawing.header.get(v) for v in ("$INSUNITS", "$PDMODE", "$PDSIZE")}
    check(header == {"$INSUNITS": {"m": 6, "ft": 2, "usft": 21}[unit], "$PDMODE": 34,
                     "$PDSIZE": round(0.2 / METRES[unit], 5)}, f"DXF header {header}")
    space = drawing.modelspace()
    names = [t.dxf.text for t in space.query('TEXT[layer=="NAMES"]')]
    layers_of["ezdxf"] = [e.dxf.layer for e in space.query("POINT")]
    return [point(name, None, *e.dxf.location, METRES[unit], SOURCE_OF_LAYER(e.dxf.layer))
            for name, e in zip(names, space.query("POINT"))]


def read_dxf_gdal(data, unit, layers_of):
    source = gdal.OpenEx(write("gdal.dxf", data), gdal.OF_VECTOR)
    points, names, layers = [], [], []
    for feature in source.GetLayer(0):
        geometry = feature.GetGeometryRef()
        if feature.GetField("Layer") == "NAMES":
            names.append(feature.GetField("Text"))
        elif geometry.GetGeometryName() == "POINT" and feature.GetField("Text") is None:
            layers.append(feature.GetField("Layer"))
            points.append(geometry.GetPoint())
    layers_of["gdal"] = layers
    return [point(name, None, *xyz, METRES[unit], SOURCE_OF_LAYER(layer))
            for name, xyz, layer in zip(names, points, layers)]


def read_geojson_gdal(data, unit, _):
    # Codes such as 11:00 stay texts, not times of day.
    source = gdal.OpenEx(write("out.geojson", data), gdal.OF_VECTOR,
                         open_options=["DATE_AS_STRING=YES"])
    points = []
    for f in source.GetLayer(0):
        g = f.GetGeometryRef()
        z = g.GetZ() if g.GetCoordinateDimension() == 3 else None
        points.append(point(f.GetField("name"), f.GetField("code"), g.GetX(), g.GetY(), z,
                            METRES[unit], f.GetField("source")))
    return points


def read_csv_gdal(data, unit, _):
    source = gdal.OpenEx(write("out.csv", data), gdal.OF_VECTOR, open_options=[
        f"X_POSSIBLE_NAMES=easting_{unit}", f"Y_POSSIBLE_NAMES=northing_{unit}",
        f"Z_POSSIBLE_NAMES=elevation_{unit}", "KEEP_GEOM_COLUMNS=YES"])
    points = []
    for f in source.GetLayer(0):
        def given(column):
            return f.GetFieldAsString(f"{column}_{unit}") != ""
        name, code = unguarded(f.GetFieldAsString("name")), unguarded(f.GetFieldAsString("code"))
        if given("northing") and given("easting"):
            x, y, z = f.GetGeometryRef().GetPoint()
            points.append(point(name, code, x, y, z if given("elevation") else None, METRES[unit]))
        if given("computed_northing"):
            points.append(point(name, code, *(f.GetFieldAsString(f"computed_{c}_{unit}") for c in
                                              ("easting", "northing", "elevation")),
                                METRES[unit], "computed"))
    return points


# The point file in each unit with another delimiter, read by Python's csv and GDAL's CSV
# driver; a name or code that starts a formula comes back with the guard taken off.
POINT_FILE_DELIMITERS = {"m": ",", "ft": ";", "usft": "tab"}


def point_file_options(unit):
    return ["--delimiter", POINT_FILE_DELIMITERS[unit]]


def read_pnezd(data, unit, _):
    delimiter = POINT_FILE_DELIMITERS[unit].replace("tab", "\t")
    return [point(unguarded(name), unguarded(code), east, north, elevation, METRES[unit])
            for name, north, east, elevation, code
            in csv.reader(data.decode().splitlines(), delimiter=delimiter)]


def read_pnezd_gdal(data, unit, _):
    if not data:
        return []  # GDAL refuses an empty file
    # GDAL tells the delimiter from the first line.
    try:
        source = gdal.OpenEx(write("pnezd.csv", data), gdal.OF_VECTOR,
                             open_options=["HEADERS=NO"])
    except RuntimeError as refused:
        check(False, f"GDAL refuses the point file: {refused}")
        return []
    return [point(*(unguarded(f.GetFieldAsString(i)) for i in (0, 4)),
                  *(f.GetFieldAsString(i) for i in (2, 1, 3)), METRES[unit])
            for f in source.GetLayer(0)]


READERS = [
    ("landxml", read_landxml, "other"),
    ("dxf", read_dxf_ezdxf, "other"),
    ("dxf", read_dxf_gdal, "other"),
    ("geojson", read_geojson_gdal, "other"),
    ("csv", read_csv_gdal, "other"),
    ("pnezd", read_pnezd, "pnezd"),
    ("pnezd", read_pnezd_gdal, "pnezd"),
]


def SOURCE_OF_LAYER(layer):
    return "computed" if layer == "COMPUTED" else "instrument"


def by_source(points):
    """The instrument's points, then the computed ones, each in the order written."""
    return sorted(points, key=lambda p: p["source"] != "instrument")


def point_file_points(reference):
    recorded = {(r["name"], r["station"]) for r in reference
                if r["source"] == "instrument" and r["role"] == "point"}
    return [r for r in reference if r["source"] == "instrument"
            or (r["name"], r["station"]) not in recorded]


def same_place(got, expected, tolerance, flat):
    """Within the written precision; a drawing puts a point without elevation at 0."""
    def close(x, y):
        return abs(x - y) <= tolerance + 1e-12 * abs(y)
    z = 0.0 if flat and expected["z"] is None else expected["z"]
    return (close(got["e"], expected["e"]) and close(got["n"], expected["n"])
            and (got["z"] is None) == (z is None) and (z is None or close(got["z"], z)))


def check_layers(label, reference, layers_of):
    """A station on STATIONS, an uncoded point on POINTS, a code that is a layer name on its
    own name, and two codes never on one layer; both readers see the same layers."""
    check(layers_of["ezdxf"] == layers_of["gdal"], f"{label}: ezdxf and GDAL see other layers")
    code_of_layer = {}
    for p, layer in zip(reference, layers_of["ezdxf"]):
        code = p["code"]
        if p["source"] == "computed":
            check(layer == "COMPUTED", f"{label}: computed {p['name']} on {layer}")
            continue
        if p["role"] == "station" or not code:
            expected = "STATIONS" if p["role"] == "station" else "POINTS"
            check(layer == expected, f"{label}: {p['name']} on {layer}, expected {expected}")
            continue
        if code == code.upper() and all(c.isalnum() or c in "$-_" for c in code) \
                and code not in ("STATIONS", "POINTS", "NAMES", "CODES", "ELEVATIONS", "RAYS"):
            check(layer == code, f"{label}: code {code} on layer {layer}")
        check(code_of_layer.setdefault(layer, code) == code,
              f"{label}: codes {code_of_layer[layer]} and {code} share the layer {layer}")


def check_input(dat, settings, validate_only=False):
    """The number of points computed from observations."""
    label = os.path.relpath(dat, SOURCE) if dat.startswith(SOURCE) else os.path.basename(dat)
    computed = 0
    for unit in METRES:
        outputs = {}
        options = ["--units", unit]
        landxml = run(dat, settings, "landxml", *options, "--angles", ANGLES[unit])
        if validate_only:
            read_landxml(landxml, unit, validate=True)
            continue
        reference = [dict(point(f["properties"]["name"], f["properties"]["code"],
                                *f["geometry"]["coordinates"][:2],
                                (f["geometry"]["coordinates"] + [None])[2],
                                source=f["properties"]["source"]),
                          role=f["properties"]["role"], station=f["properties"]["station"])
                     for f in json.loads(run(dat, settings, "geojson"))["features"]]
        layers_of = {}
        for fmt, reader, tolerance in READERS:
            if fmt not in outputs:
                extra = point_file_options(unit) if fmt == "pnezd" else []
                outputs[fmt] = landxml if fmt == "landxml" \
                    else run(dat, settings, fmt, *options, *extra)
            data = outputs[fmt]
            got = read_landxml(data, unit, CORPUS is not None) if fmt == "landxml" \
                else reader(data, unit, layers_of)
            what = f"{label} {fmt} ({reader.__name__}) --units {unit}"
            # The point file writes each point once, unmarked: the instrument's where it
            # recorded the point, else the computed one.
            pnezd = fmt == "pnezd"
            expected = point_file_points(reference) if pnezd else by_source(reference)
            if not check(len(got) == len(expected),
                         f"{what}: {len(got)} points for {len(expected)}"):
                continue
            for g, r in zip(got if pnezd else by_source(got), expected):
                check(pnezd or g["source"] == r["source"], f"{what}: {r['name']} {g['source']} "
                      f"for {r['source']}")
                check(g["name"] == r["name"], f"{what}: name {g['name']!r} for {r['name']!r}")
                check(fmt == "dxf" or g["code"] == r["code"],
                      f"{what}: {r['name']} code {g['code']!r} for {r['code']!r}")
                check(same_place(g, r, TOLERANCE[tolerance], fmt == "dxf"), f"{what}: {g} for {r}")
        if unit == "m":
            computed = check_computed(label, reference, dat, settings)
        if len(layers_of) == 2:
            check_layers(f"{label} dxf --units {unit}", reference, layers_of)
    return computed


def check_computed(label, reference, dat, settings):
    """Each computed point lies within 5 mm of the instrument's coordinates of it in the same
    set-up, or m5import warned of it by name."""
    warned = subprocess.run([HOST, "--plugin", PLUGIN, "--settings", settings, "--no-progress",
                             "--format", "geojson", "-o", os.devnull, dat],
                            capture_output=True, check=False).stderr.decode()
    for i, c in enumerate(reference):
        same = [j for j, r in enumerate(reference) if r["source"] == "instrument" and
                r["role"] == "point" and (r["name"], r["station"]) == (c["name"], c["station"])]
        if c["source"] != "computed" or not same:
            continue
        r = reference[next((j for j in same if j > i), same[-1])]
        far = max(abs(c["e"] - r["e"]), abs(c["n"] - r["n"]),
                  abs((c["z"] or 0) - (r["z"] or 0))) > 0.005
        check(far == (f"warning: point {c['name']}: computed" in warned),
              f"{label}: computed {c} against recorded {r}; stderr {warned[-300:]!r}")
    return sum(r["source"] == "computed" for r in reference)


def as_keyed_on_a_3600(path):
    """An M3 survey of the corpus as a 3600 keys the same set-up (the plug-in knows no
    station in the M3's own words): KN STAT, POLAR, the Om line of the station and the
    text lines with th or ih in the 3600's words, every measurement as the instrument wrote it."""
    lines, station = [], None
    for line in open(path, encoding="ascii").read().splitlines():
        fields = line.split("|")
        if len(fields) < 7:
            lines.append(line)
            continue
        info, text, blocks = fields[2], fields[2][4:].strip(), [b[:2] for b in fields[3:6]]
        if info.startswith("PI") and text.split()[:1] == ["S"]:
            station = info
        if info.startswith("TI"):
            if text == "KN STAT":
                fields[2] = "TI  STAT. KNWN. PNT.".ljust(len(info))
            elif text == "POLAR":
                fields[2] = "TI  MEASURE".ljust(len(info))
            elif "Om" in blocks and station:
                fields[2] = "PI1 " + station[4:]
            elif "th" in blocks or "ih" in blocks:
                fields[2] = "TI  INPUT VALUES".ljust(len(info))
        lines.append("|".join(fields))
    return write(os.path.basename(path) + ".dat", ("\n".join(lines) + "\n").encode())


# A grid of eastings and northings in metres that holds every example: UTM zone 33N.
CRS = 32633


def check_longitude_latitude(dat, settings):
    """With --crs, GeoJSON after RFC 7946 and KML (read by GDAL's KML and LIBKML drivers) hold
    every point in longitude and latitude on WGS 84, which transformed back give the grid."""
    label = os.path.basename(dat)
    grid = json.loads(run(dat, settings, "geojson"))["features"]
    geo = json.loads(run(dat, settings, "geojson", "--crs", f"EPSG:{CRS}"))
    check("crs" not in geo, f"{label}: RFC 7946 GeoJSON with a crs member")
    wgs84, utm = osr.SpatialReference(), osr.SpatialReference()
    wgs84.ImportFromEPSG(4326)
    utm.ImportFromEPSG(CRS)
    for srs in (wgs84, utm):
        srs.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    back = osr.CoordinateTransformation(wgs84, utm)
    kml = write("out.kml", run(dat, settings, "kml", "--crs", f"EPSG:{CRS}"))
    readings = {"geojson": [(f["properties"]["name"], f["properties"]["source"],
                             f["geometry"]["coordinates"]) for f in geo["features"]]}
    for driver in ("KML", "LIBKML"):
        source = gdal.OpenEx(kml, gdal.OF_VECTOR, allowed_drivers=[driver])
        readings[driver] = [
            (f.GetField("Name"), f.GetField("source") if driver == "LIBKML" else None,
             list(f.GetGeometryRef().GetPoint()))
            for layer in (source.GetLayer(i) for i in range(source.GetLayerCount()))
            for f in layer]
    for reader, points in readings.items():
        what = f"{label} {reader} --crs EPSG:{CRS}"
        if not check(len(points) == len(grid), f"{what}: {len(points)} points for {len(grid)}"):
            continue
        for (name, source, (lon, lat, *z)), g in zip(points, grid):
            east, north = back.TransformPoint(lon, lat)[:2]
            want = g["geometry"]["coordinates"]
            check(name == g["properties"]["name"] and source in (None, g["properties"]["source"])
                  and -180 <= lon <= 180 and -90 <= lat <= 90
                  and abs(east - want[0]) < 1e-3 and abs(north - want[1]) < 1e-3
                  and (z[:1] or [0]) == (want[2:] or [0]),
                  f"{what}: {name} {source} at {lon} {lat} {z} is {east} {north}, not {g}")


def check_refusals(dat, settings):
    """What cannot be written is refused before anything is: usage errors, status 2."""
    for args in (["--format", "kml"],
                 ["--format", "geojson", "--crs", "EPSG:4326"],
                 ["--format", "geojson", "--crs", f"EPSG:{CRS}", "--units", "ft"],
                 ["--format", "landxml", "--crs", "EPSG:2193", "--units", "ft"],
                 ["--format", "landxml", "--crs", "EPSG:2227", "--units", "m"]):
        result = subprocess.run([HOST, "--plugin", PLUGIN, "--settings", settings,
                                 "--no-progress", *args, dat], capture_output=True, check=False)
        check(result.returncode == 2 and not result.stdout, f"{args}: {result.returncode} "
              f"{result.stderr!r}")


def check_plan(label, inputs, settings, options=("--svg-codes", "--svg-elevations")):
    svg = os.path.join(TMP, "plan.svg")
    run_status = subprocess.run([HOST, "--plugin", PLUGIN, "--settings", settings,
                                 "--no-progress", "--format", "pnezd", "--svg", svg,
                                 *options, *inputs],
                                capture_output=True, check=False)
    check(run_status.returncode in (0, 1) and os.path.isfile(svg),
          f"{label} plan: exit {run_status.returncode}")
    png = os.path.join(TMP, "plan.png")
    render = subprocess.run(["rsvg-convert", "-o", png, svg], capture_output=True, check=False)
    check(render.returncode == 0 and os.path.getsize(png) > 1000,
          f"{label} plan: rsvg-convert: {render.stderr!r}")
    return open(svg, encoding="utf-8").read()


def placed_survey(file_name, points, encoding):
    """A survey of known points (name, code, x, y, z), each name and code in its column."""
    def line(n, info, blocks):
        cells = "".join(f"{b:<22}|" for b in blocks + [""] * (3 - len(blocks)))
        return f"For M5|Adr {n:05d}|{info:<31}|{cells} "

    def placed(n, name, code, x, y, z):
        return line(n, f"PI1 {name:<14}{code:<13}",
                    [f"X {x:15.3f} m   ", f"Y {y:15.3f} m   ", f"Z {z:15.3f} m   "])
    rows = [line(1, "TI  STAT. KNWN. PNT.", [])]
    rows += [placed(n, *p) for n, p in enumerate(points, 2)]
    return write(file_name, "\r\n".join(rows).encode(encoding) + b"\r\n")


def plan_leaders_cross(svg):
    """Where the plan's leaders cross another leader, a label or a dot other than their own
    point's: label boxes as the plan reckons them, a digit's width a character, 13 high."""
    root = ElementTree.fromstring(svg.encode())
    ns = "{http://www.w3.org/2000/svg}"
    dots = [(float(c.get("cx")), float(c.get("cy"))) for c in root.iter(f"{ns}circle")]
    leaders, boxes = [], []
    for group in root.iter(f"{ns}g"):
        if group.get("class") != "labels":
            continue
        leader = None
        for element in group:
            if element.tag == f"{ns}line":
                leader = tuple(float(element.get(k)) for k in ("x1", "y1", "x2", "y2"))
                continue
            left, bottom = float(element.get("x")), float(element.get("y")) + 3
            text = " ".join(t.strip() for t in element.itertext())
            boxes.append((left, bottom - 13, left + 7.2 * len(text), bottom))
            if leader:
                leaders.append((leader, len(boxes) - 1))
            leader = None

    def inside(box, x, y, margin=0.2):
        return box[0] + margin < x < box[2] - margin and box[1] + margin < y < box[3] - margin

    def side(a, x, y):
        return (a[2] - a[0]) * (y - a[1]) - (a[3] - a[1]) * (x - a[0])
    found = []
    for n, (a, own) in enumerate(leaders):
        samples = [(a[0] + (a[2] - a[0]) * t / 40, a[1] + (a[3] - a[1]) * t / 40)
                   for t in range(41)]
        if any(inside(b, x, y) for i, b in enumerate(boxes) if i != own for x, y in samples):
            found.append(f"leader {a} runs over a label")
        # A dot its own point's overlaps is left at once.
        if any(inside((dx - 2.5, dy - 2.5, dx + 2.5, dy + 2.5), x, y) for dx, dy in dots
               if not inside((dx - 2.5, dy - 2.5, dx + 2.5, dy + 2.5), a[0], a[1], -0.2)
               for x, y in samples):
            found.append(f"leader {a} runs over a dot")
        for b, _ in leaders[n + 1:]:
            if side(a, b[0], b[1]) * side(a, b[2], b[3]) < -1e-3 and \
                    side(b, a[0], a[1]) * side(b, a[2], a[3]) < -1e-3:
                found.append(f"leaders {a} and {b} cross")
    return found, len(leaders)


def cyrillic_survey():
    """A Windows-1251 survey whose names and codes are Cyrillic, two codes of one spelling
    in different case among them."""
    return placed_survey("cyrillic.dat", [
        ("Станция1", "ОПОРА", 5000, 3000, 100), ("Репер5", "ТРУБА", 5010, 3004, 101.5),
        ("Колодец", "КАНАЛ", 5020, 3008, 99.25), ("П3", "труба", 5030, 3012, 98),
        ("Ёлка №2", "ДЕРЕВО", 5040, 3016, 97)], "cp1251")


def quoting_survey():
    """Names and codes holding a quote or a delimiter of the point file, or starting a
    formula: the point file quotes and guards them, and they read back as written."""
    return placed_survey("quoting.dat", [
        ('A"1', 'PIPE"X', 100, 200, 10), ("B,2", "a,b", 110, 205, 11),
        ("C;3", "x;y", 120, 210, 12), ("=D4", "=1+1", 130, 215, 13),
        ("-5", "+1", 140, 220, 14), ("@E6", '"Q"', 150, 225, 15)], "cp1251")


examples = sorted(glob.glob(os.path.join(SOURCE, "examples", "*.dat")))
golden = sorted(glob.glob(os.path.join(SOURCE, "tests", "golden", "*.dat")))
default_ini = os.path.join(SOURCE, "tests", "golden", "default.ini")


def golden_settings(dat):
    own = os.path.splitext(dat)[0] + ".ini"
    return own if os.path.isfile(own) else default_ini


examples_ini = os.path.join(SOURCE, "examples", "settings.ini")
if CORPUS:
    corpus = sorted(f for f in glob.glob(os.path.join(CORPUS, "*")) if not f.endswith(".md"))
    for dat in examples:
        check_input(dat, examples_ini, validate_only=True)
    for dat in golden:
        check_input(dat, golden_settings(dat), validate_only=True)
    for dat in corpus:
        check_input(dat, default_ini)
    # Their point name is the last twelve characters, the code the five after the tenth.
    m3_ini = write("m3.ini", b"[M5]\nPointStart=16\nPointLen=12\nCodeStart=11\nCodeLen=5\n")
    reduced = sum(check_input(as_keyed_on_a_3600(dat), m3_ini) for dat in corpus
                  if "KN STAT" in open(dat, encoding="latin-1").read())
    check(reduced >= 150, f"{reduced} points computed on the corpus")
    check_plan("corpus", corpus, default_ini)
    # The densest file's plan: its labels need leaders, and none crosses anything.
    densest = os.path.join(CORPUS, "OSGeoLabBp_sample.m5")
    if os.path.isfile(densest):
        crossings, leaders = plan_leaders_cross(check_plan("densest", [densest], default_ini, ()))
        check(leaders > 20 and not crossings, f"densest plan, {leaders} leaders: {crossings[:5]}")
else:
    for dat in examples:
        check_input(dat, examples_ini)
    for dat in golden:
        check_input(dat, golden_settings(dat))
    cyrillic = cyrillic_survey()
    check_input(cyrillic, default_ini)
    check_input(quoting_survey(), default_ini)
    # The Cyrillic names and codes read back as written, and the code in lower case has a
    # layer of its own.
    drawing = ezdxf.readfile(write("cyrillic.dxf", run(cyrillic, default_ini, "dxf")))
    check([t.dxf.text for t in drawing.modelspace().query('TEXT[layer=="NAMES"]')] ==
          ["Станция1", "Репер5", "Колодец", "П3", "Ёлка №2"], "Cyrillic names in the DXF")
    layers = [e.dxf.layer for e in drawing.modelspace().query("POINT")]
    check(layers ==
          ["ОПОРА", "ТРУБА", "КАНАЛ", "ТРУБА_2", "ДЕРЕВО"], f"Cyrillic layers in the DXF: {layers}")
    for dat in examples:
        check_longitude_latitude(dat, examples_ini)
    check_refusals(examples[0], examples_ini)
    plan = check_plan("examples", examples, examples_ini)
    crossings, _ = plan_leaders_cross(plan)
    check(not crossings, f"the examples' plan: {crossings[:5]}")
    # Names alone find room on the examples' plan; with codes and elevations, one of the
    # crowded known_point.dat has no place its leader could reach without crossing.
    check(plan.count("1 label(s) left out") == 1, "the examples' plan leaves out other labels")
    plan = check_plan("examples", examples, examples_ini, ())
    check("left out" not in plan, "a name on the examples' plan was left out")
    # The measured code reaches the point list: the file gives BLDG to point 101.
    known = {f["properties"]["name"]: f["properties"]["code"] for f in json.loads(
        run(os.path.join(SOURCE, "examples", "known_point.dat"), examples_ini,
            "geojson"))["features"]}
    check(known.get("101") == "BLDG", f"known_point 101 has code {known.get('101')}")

shutil.rmtree(TMP, ignore_errors=True)
for failure in FAILURES[:40]:
    print(failure)
print(f"{len(FAILURES)} failure(s)" if FAILURES else "every output read back")
sys.exit(1 if FAILURES else 0)

#!/usr/bin/env python3
"""Reads m5import's CAD and GIS outputs of the examples back with the tools their users
have: the DXF with ezdxf (every point's coordinates and layer), the LandXML with xmllint
and ElementTree (well-formed, in the LandXML 1.2 namespace), the GeoJSON with json.

Usage: check_formats.py M5IMPORT PLUGIN EXAMPLES_DIR   (exit 77: a tool is missing)
"""
import glob
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

try:
    import ezdxf
except ImportError:
    print("python3-ezdxf is not installed")
    sys.exit(77)
if shutil.which("xmllint") is None:
    print("xmllint (libxml2-utils) is not installed")
    sys.exit(77)

HOST, PLUGIN, EXAMPLES = sys.argv[1:4]
LANDXML = "{http://www.landxml.org/schema/LandXML-1.2}"
FAILURES = []


def run(dat, fmt, *extra):
    result = subprocess.run(
        [HOST, "--plugin", PLUGIN, "--settings", os.path.join(EXAMPLES, "settings.ini"),
         "--no-progress", "--format", fmt, *extra, dat],
        capture_output=True, check=False)
    if result.returncode not in (0, 1):
        FAILURES.append(f"{dat} {fmt}: exit {result.returncode}: {result.stderr!r}")
    return result.stdout


def check(condition, what):
    if not condition:
        FAILURES.append(what)


def close(a, b):
    return abs(a - b) <= 1e-9 * max(1.0, abs(a), abs(b))


def check_example(dat):
    name = os.path.basename(dat)
    geojson = json.loads(run(dat, "geojson", "--crs", "EPSG:2193"))
    check(geojson["type"] == "FeatureCollection", f"{name}: not a FeatureCollection")
    check(geojson["crs"]["properties"]["name"] == "urn:ogc:def:crs:EPSG::2193",
          f"{name}: the grid is not recorded")
    points = []
    for feature in geojson["features"]:
        check(feature["type"] == "Feature" and feature["geometry"]["type"] == "Point",
              f"{name}: a feature is not a point")
        props = feature["properties"]
        check(set(props) == {"name", "code", "role", "station", "file"},
              f"{name}: properties {sorted(props)}")
        coordinates = feature["geometry"]["coordinates"]
        check(len(coordinates) in (2, 3), f"{name}: coordinates {coordinates}")
        points.append((props, coordinates))

    # Every point in the drawing where GeoJSON has it, on its station or code layer.
    with open(os.path.join(TMP, name + ".dxf"), "wb") as out:
        out.write(run(dat, "dxf"))
    drawing = ezdxf.readfile(os.path.join(TMP, name + ".dxf"))
    check(drawing.dxfversion == "AC1009", f"{name}: DXF version {drawing.dxfversion}")
    dxf_points = list(drawing.modelspace().query("POINT"))
    check(len(dxf_points) == len(points),
          f"{name}: {len(dxf_points)} DXF points for {len(points)} features")
    layers = {layer.dxf.name for layer in drawing.layers}
    for entity, (props, coordinates) in zip(dxf_points, points):
        location = entity.dxf.location
        expected = coordinates + [0.0] * (3 - len(coordinates))
        check(all(close(a, b) for a, b in zip(location, expected)),
              f"{name}: {props['name']} at {tuple(location)}, expected {expected}")
        layer = "STATIONS" if props["role"] == "station" else (props["code"] or "POINTS")
        check(entity.dxf.layer == layer and layer in layers,
              f"{name}: {props['name']} on layer {entity.dxf.layer}, expected {layer}")

    landxml = run(dat, "landxml")
    lint = subprocess.run(["xmllint", "--noout", "-"], input=landxml, capture_output=True,
                          check=False)
    check(lint.returncode == 0, f"{name}: LandXML not well-formed: {lint.stderr!r}")
    root = ElementTree.fromstring(landxml)
    check(root.tag == LANDXML + "LandXML", f"{name}: root {root.tag}")
    cg_points = root.findall(f"{LANDXML}CgPoints/{LANDXML}CgPoint")
    check(len(cg_points) == len(points),
          f"{name}: {len(cg_points)} CgPoints for {len(points)} features")
    for cg_point, (props, coordinates) in zip(cg_points, points):
        values = [float(v) for v in cg_point.text.split()]
        # LandXML gives northing first.
        check(all(close(a, b) for a, b in zip(values, [coordinates[1], coordinates[0]] +
                                             coordinates[2:])),
              f"{name}: CgPoint {cg_point.get('name')} at {values}")
        check(cg_point.get("name") == props["name"] and cg_point.get("code") == props["code"],
              f"{name}: CgPoint {cg_point.get('name')} {cg_point.get('code')}")


TMP = os.environ.get("TMPDIR", "/tmp")
for example in sorted(glob.glob(os.path.join(EXAMPLES, "*.dat"))):
    check_example(example)
# The measured code reaches the point list: the file gives BLDG to point 101.
known = {f["properties"]["name"]: f["properties"]["code"] for f in json.loads(
    run(os.path.join(EXAMPLES, "known_point.dat"), "geojson"))["features"]}
check(known.get("101") == "BLDG", f"known_point 101 has code {known.get('101')}")

for failure in FAILURES:
    print(failure)
sys.exit(1 if FAILURES else 0)

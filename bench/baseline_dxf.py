#!/usr/bin/python3
"""Baseline for the DXF writer: ezdxf writes the drawing ktconvert writes from a txt point file
(name,code,N,E,Z): the four layers, the extents in the header, and per point a POINT on "Point", its
name as TEXT on "PointNumber" (height 0) and its Z as TEXT on "Level" (height 0.1, at Z 0), every
coordinate rounded to three decimals."""
import math
import sys

import ezdxf


def number(text):
    try:
        value = float(text)
    except ValueError:
        return 0.0
    return value if math.isfinite(value) else 0.0


def main(source, target):
    doc = ezdxf.new("R12")
    doc.header["$DWGCODEPAGE"] = "ANSI_936"
    for name, colour in (("Point", 7), ("PointNumber", 3), ("Level", 3), ("Code", 4)):
        doc.layers.add(name, color=colour, linetype="CONTINUOUS")
    msp = doc.modelspace()
    low = [0.0, 0.0, 0.0]
    high = [0.0, 0.0, 0.0]
    first = True
    with open(source, encoding="gbk", newline=None) as lines:
        for line in lines:
            fields = line.rstrip("\n").split(",")
            if len(fields) < 5:
                continue
            x = round(number(fields[3]), 3)
            y = round(number(fields[2]), 3)
            z = round(number(fields[4]), 3)
            for i, value in enumerate((x, y, z)):
                if first or value >= high[i]:
                    high[i] = value
                if first or value <= low[i]:
                    low[i] = value
            first = False
            msp.add_point((x, y, z), dxfattribs={"layer": "Point"})
            msp.add_text(fields[0].strip(), dxfattribs={"layer": "PointNumber", "insert": (x, y, z), "height": 0})
            msp.add_text("%.3f" % z, dxfattribs={"layer": "Level", "insert": (x, y, 0), "height": 0.1})
    doc.header["$EXTMIN"] = tuple(low)
    doc.header["$EXTMAX"] = tuple(high)
    doc.header["$LIMMIN"] = (low[0], low[1])
    doc.header["$LIMMAX"] = (high[0], high[1])
    doc.saveas(target, encoding="gbk")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

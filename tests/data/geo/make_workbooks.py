# Makes the workbooks of the workbook reader's tests: make_workbooks.py PATH KIND
# KIND "header": xlsx with the header 点名,编码,N,E,Z, a second sheet, numbers as Excel stores them.
# KIND "xy": xlsx with Name,X,Y,H.  KIND "no header": xlsx of data rows only.
# KIND "ods": an OpenDocument sheet written by hand, numbers with a display text of their own.
import sys
import zipfile

import openpyxl

path, kind = sys.argv[1], sys.argv[2]


def xlsx(rows, noise=None):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "点"
    for row in rows:
        sheet.append(row)
    book.create_sheet("other").append(["not", "read"])
    book.save(path)
    if noise:
        # The 17 digits Excel stores for some fractions, put in place of openpyxl's shorter text.
        with zipfile.ZipFile(path) as z:
            parts = {name: z.read(name) for name in z.namelist()}
        name = "xl/worksheets/sheet1.xml"
        parts[name] = parts[name].replace(noise[0].encode(), noise[1].encode())
        with zipfile.ZipFile(path, "w") as z:
            for part, data in parts.items():
                z.writestr(part, data)


if kind == "header":
    xlsx([["点名", "编码", "N", "E", "Z"],
          ["P1", "树", 3380000.123, 500000.456, 12.5],
          ["001", None, "3380001.100", 500001, None],
          [],
          [17, "K", 2.1, 1234567890123456789, -0.5]],
         noise=("<v>2.1</v>", "<v>2.1000000000000001</v>"))
elif kind == "xy":
    xlsx([["Name", "X", "Y", "H"], ["A", 3380000.5, 500000.25, 7]])
elif kind == "no header":
    xlsx([["P1", "K", 3380000.5, 500000.25, 7], ["P2", "K", 3380001, 500001, 8]])
elif kind == "ods":
    def cell(value):
        if isinstance(value, str):
            return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % value
        return ('<table:table-cell office:value-type="float" office:value="%r"><text:p>%.3f</text:p>'
                '</table:table-cell>' % (value, value))
    rows = [["点号", "北", "东", "高程"], ["Q1", 3380000.1, 500000.2, 3.25]]
    body = "".join("<table:table-row>%s</table:table-row>" % "".join(cell(v) for v in row) for row in rows)
    content = ('<?xml version="1.0" encoding="UTF-8"?><office:document-content '
               'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" office:version="1.2">'
               '<office:body><office:spreadsheet><table:table table:name="点表">%s</table:table>'
               '</office:spreadsheet></office:body></office:document-content>' % body)
    manifest = ('<?xml version="1.0" encoding="UTF-8"?><manifest:manifest '
                'xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">'
                '<manifest:file-entry manifest:full-path="/" '
                'manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/>'
                '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
                '</manifest:manifest>')
    with zipfile.ZipFile(path, "w") as z:
        z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
        z.writestr("content.xml", content)
        z.writestr("META-INF/manifest.xml", manifest)
else:
    sys.exit("unknown kind " + kind)

# Makes the workbooks of the workbook reader's tests: make_workbooks.py PATH KIND
# KIND "header": xlsx with the header 点名,编码,N,E,Z, a second sheet, numbers as Excel stores them.
# KIND "xy": xlsx with Name,X,Y,H.  KIND "no header": xlsx of data rows only.
# KIND "ods": an OpenDocument sheet written by hand, numbers with a display text of their own.
# KIND "hidden": a hidden sheet, then the sheet of points, N, E and Z cells formatted as dates or times.
# KIND "two hidden": a hidden and a very hidden sheet before the points.  KIND "cut": "header" with its
# sheet cut in the middle of a row.  KIND "rich": texts in rich runs with a phonetic guide, inline.
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


def rewrite(part, change):
    with zipfile.ZipFile(path) as z:
        parts = {name: z.read(name) for name in z.namelist()}
    parts[part] = change(parts[part])
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in parts.items():
            z.writestr(name, data)


def hidden_first(states):
    book = openpyxl.Workbook()
    for i, state in enumerate(states):
        sheet = book.active if i == 0 else book.create_sheet()
        sheet.title = "旧%d" % (i + 1)
        sheet.sheet_state = state
        sheet.append(["old", 1, 2])
    sheet = book.create_sheet("点")
    sheet.append(["点名", "N", "E", "Z"])
    formats = ["yyyy/mm/dd", "0.000", "[h]:mm", "0.00E+00", 'General', '0.0 "m"']
    rows = [["H1", 3380000.5, 500000.25, 42.15], ["H2", 3380001, 500001, 43.5], ["H3", 1, 2, 3]]
    for r, row in enumerate(rows):
        sheet.append(row)
    # H1: N as a built-in date (14), Z as a date of its own; H2: Z as elapsed hours; H3: no dates.
    sheet["B2"].number_format = "mm-dd-yy"
    sheet["D2"].number_format = formats[0]
    sheet["D3"].number_format = formats[2]
    for i, cell in enumerate(["B4", "C4", "D4"]):
        sheet[cell].number_format = formats[3 + i]
    book.active = len(states)
    book.save(path)


if kind == "hidden":
    hidden_first(["hidden"])
elif kind == "two hidden":
    hidden_first(["hidden", "veryHidden"])
elif kind == "cut":
    xlsx([["点名", "编码", "N", "E", "Z"]] + [["P%d" % i, "K", 3380000 + i, 500000, 1] for i in range(200)])
    rewrite("xl/worksheets/sheet1.xml", lambda data: data[:len(data) // 2])
elif kind == "rich":
    # Excel's way: names as shared texts; a name in rich runs with a phonetic guide; an inline text.
    xlsx([["点名", "N", "E"], ["R1", 1, 2], ["S", 3, 4]])
    rich = b'<is><r><t>R</t></r><r><rPr><b/></rPr><t>ich</t></r><rPh sb="0" eb="1"><t>X</t></rPh></is>'
    shared = (b'<c r="A3" t="s"><v>1</v></c>', b'<c r="B2" t="s"><v>0</v></c>')
    rewrite("xl/worksheets/sheet1.xml",
            lambda data: data.replace(b'<is><t>R1</t></is>', rich)
                             .replace(b'<c r="A3" t="inlineStr"><is><t>S</t></is></c>', shared[0])
                             .replace(b'<c r="B2" t="n"><v>1</v></c>', shared[1]))
    with zipfile.ZipFile(path, "a") as z:
        z.writestr("xl/sharedStrings.xml",
                   '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
                   '<si><t xml:space="preserve"> 7 </t></si><si><r><t>S</t></r><r><t>1</t></r></si></sst>')
    rewrite("xl/_rels/workbook.xml.rels", lambda data: data.replace(
        b"</Relationships>",
        b'<Relationship Id="rIdS" Target="/xl/sharedStrings.xml" Type="http://schemas.openxmlformats.org/'
        b'officeDocument/2006/relationships/sharedStrings"/></Relationships>'))
    rewrite("[Content_Types].xml", lambda data: data.replace(
        b"</Types>", b'<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
        b'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>'))
elif kind == "header":
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

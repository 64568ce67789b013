#!/usr/bin/python3
"""Baseline for the workbook export: xlsxwriter writes what the export's writer writes from the same
file (first line the titles, then observation lines): sheet "Data", the titles in row 1, each line
with as many fields as titles in its row, every cell a text in one bold, centred format."""
import sys

import xlsxwriter


def main(source, target):
    with open(source, encoding="gbk", newline=None) as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    titles = lines[0].split(",")
    book = xlsxwriter.Workbook(target)
    sheet = book.add_worksheet("Data")
    cell = book.add_format({"bold": True, "align": "center"})
    for column, title in enumerate(titles):
        sheet.write_string(0, column, title, cell)
    for row, line in enumerate(lines[1:], start=1):
        fields = line.split(",")
        if len(fields) != len(titles):
            continue
        for column, field in enumerate(fields):
            sheet.write_string(row, column, field, cell)
    book.close()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])

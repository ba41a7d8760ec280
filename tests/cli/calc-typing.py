"""Types values into a workbook through LibreOffice Calc, as a person would,
and saves it as .xlsx and as CSV with Calc's defaults.

    calc-typing.py SOFFICE PROFILE WORKBOOK OUT.xlsx OUT.csv FILE COLUMN=TEXT...

Each TEXT goes into the empty cell of the column headed COLUMN in the row
whose first cell is FILE. Values go in through the dispatcher's EnterString,
the command a keystroke-and-Enter runs, so Calc's input interpretation sees
them. XCell.setFormula would not do: it makes "00123" the number 123 even
in a text-formatted cell. Before typing into the workbook the script types
the same texts into a General cell and requires each to become a number:
otherwise a missing text format would go unnoticed.

Exits with 0 once both files are saved; otherwise prints why and exits 1.
"""

import os
import signal
import subprocess
import sys
import time
import traceback

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException
from com.sun.star.table.CellContentType import EMPTY, VALUE

kStartSeconds = 60


def Prop(name, value):
    prop = PropertyValue()
    prop.Name = name
    prop.Value = value
    return prop


def Connect(office, pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.monotonic() + kStartSeconds
    while True:
        try:
            return resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
        except NoConnectException:
            if office.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("soffice did not accept a connection")
            time.sleep(0.1)


class Typist:
    def __init__(self, context, document):
        self.document = document
        self.controller = document.CurrentController
        self.dispatcher = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.DispatchHelper",
                                                                           context)

    def Type(self, sheet, cell, text):
        self.controller.setActiveSheet(sheet)
        self.controller.select(cell)
        self.dispatcher.executeDispatch(self.controller.Frame, ".uno:EnterString", "", 0,
                                        (Prop("StringName", text),))

    # A General cell turns each text into a number, a date or a time.
    def CheckInterprets(self, texts):
        sheets = self.document.Sheets
        sheets.insertNewByName("typing-check", sheets.Count)
        scratch = sheets.getByName("typing-check")
        for column, text in enumerate(texts):
            cell = scratch.getCellByPosition(column, 0)
            self.Type(scratch, cell, text)
            if cell.Type != VALUE:
                raise RuntimeError("typing %r into a General cell kept it as text: the typing bypasses Calc's "
                                   "input interpretation" % text)
        self.controller.setActiveSheet(sheets.getByIndex(0))
        sheets.removeByName("typing-check")


def FindCell(sheet, file, header):
    used = sheet.createCursor()
    used.gotoEndOfUsedArea(False)
    columns, rows = used.RangeAddress.EndColumn + 1, used.RangeAddress.EndRow + 1
    headers = [str(text) for text in sheet.getCellRangeByPosition(0, 0, columns - 1, 0).DataArray[0]]
    files = [str(row[0]) for row in sheet.getCellRangeByPosition(0, 0, 0, rows - 1).DataArray]
    if header not in headers or file not in files:
        raise RuntimeError("no cell for %s in the row of %s" % (header, file))
    cell = sheet.getCellByPosition(headers.index(header), files.index(file))
    if cell.Type != EMPTY:
        raise RuntimeError("the %s cell of %s is not empty" % (header, file))
    return cell


def Store(document, path, filter):
    document.storeToURL(uno.systemPathToFileUrl(os.path.abspath(path)), (Prop("FilterName", filter),))


def Run(context, workbook, outXlsx, outCsv, file, entries):
    desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
    document = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(workbook)), "_blank", 0,
                                            (Prop("Hidden", True),))
    try:
        typist = Typist(context, document)
        typist.CheckInterprets([text for _, text in entries])
        sheet = document.Sheets.getByIndex(0)
        for header, text in entries:
            typist.Type(sheet, FindCell(sheet, file, header), text)
        Store(document, outXlsx, "Calc MS Excel 2007 XML")
        Store(document, outCsv, "Text - txt - csv (StarCalc)")
    finally:
        document.close(True)
        desktop.terminate()


def main(argv):
    soffice, profile, workbook, outXlsx, outCsv, file = argv[1:7]
    entries = [entry.split("=", 1) for entry in argv[7:]]
    pipe = "reelmarker-typing-%d" % os.getpid()
    # A group of its own: soffice is a launcher whose child does the work,
    # and both must go when the test gives up.
    office = subprocess.Popen([soffice, "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.abspath(profile)),
                               "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
                               "--accept=pipe,name=%s;urp;" % pipe],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    try:
        Run(Connect(office, pipe), workbook, outXlsx, outCsv, file, entries)
        office.wait(kStartSeconds)
    except Exception:  # noqa: BLE001 - any failure is the test's to report
        traceback.print_exc()
        return 1
    finally:
        try:
            os.killpg(office.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        office.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

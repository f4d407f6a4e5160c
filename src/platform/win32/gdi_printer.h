// The Windows page device.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

// A printer as the spooler lists it.
struct PrinterInfo {
    std::wstring name, port, driver;
    bool isDefault = false;
};

// Printers that make a file rather than paper (Microsoft Print to PDF, the
// XPS writer, OneNote, a port "FILE:"): each asks where to save every job.
bool IsFilePrinter(const PrinterInfo& printer);

// Where a job goes: the default printer when it prints on paper. With no
// default printer, or a file printer as the default, the job becomes a file
// in PRINTS (toFile): through Microsoft Print to PDF when there is one,
// else through a default file printer that takes a file name. -1 when
// there is nowhere to go.
int ChoosePrinter(const std::vector<PrinterInfo>& printers, bool& toFile);

// The printers of this machine, the default one marked.
std::vector<PrinterInfo> SystemPrinters();

// Prints through GDI and the spooler, without a dialog, where ChoosePrinter
// says; a job made a file is kept as PRINTS/<tag>.pdf (.xps, .prn from a
// file printer of that kind), named as the PDF device of other systems
// names its files. Tests may give their own list of printers.
PageDevice* MakeGdiPrinter(std::vector<PrinterInfo> (*listPrinters)() = SystemPrinters);

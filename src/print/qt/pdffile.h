#pragma once

#include "print/document.h"

#include <QPageLayout>
#include <QString>

#include <string>

// A printout as a PDF file, written the way the program writes every file (AtomicFile): into a
// temporary file of its own beside the target, renamed over it only when the PDF is complete.
// A failure keeps the earlier file; a symbolic link is written through; only a regular file or
// a new name is ever replaced. Qt Gui only.
namespace kovanta::print {

struct PdfFileSettings {
    QPageLayout layout;
    int resolution = 600;
    QString creator;
};

// Writes copies of printout one after the other into the PDF file at path (bytes as the file
// system spells them), each from page 1; the PDF's title is the printout's. Empty on success;
// else why not, as the end of a German sentence that begins with the file's name ("ist keine
// normale Datei", "kann nicht geschrieben werden (Datenträger voll)").
std::string WritePdfFile(const std::string& path, const Printout& printout, int copies,
                         const PrintDate& date, const PdfFileSettings& settings);

} // namespace kovanta::print
